#include "platform/linux/kept_open_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <utility>
#include <vector>

namespace sysvane {

namespace {

constexpr size_t kFirstReadSize = 4096;

// Reads from offset 0 until the end into `buffer`, growing it as needed, then copies what was read
// into `text`; false on a read error. The buffer keeps its size between calls: filling a fresh
// string with zeros before every read would cost more than the read itself.
bool PreadAll(int fd, std::vector<char>& buffer, std::string& text) {
  if (buffer.size() < kFirstReadSize) buffer.resize(kFirstReadSize);
  size_t used = 0;
  for (;;) {
    if (used == buffer.size()) buffer.resize(buffer.size() * 2);
    const ssize_t got = pread(fd, buffer.data() + used, buffer.size() - used, static_cast<off_t>(used));
    if (got < 0) {
      if (errno == EINTR) continue;
      text.clear();
      return false;
    }
    if (got == 0) break;
    used += static_cast<size_t>(got);
  }
  text.assign(buffer.data(), used);
  return true;
}

}  // namespace

KeptOpenFile::~KeptOpenFile() {
  Close();
}

KeptOpenFile::KeptOpenFile(KeptOpenFile&& other) noexcept
    : path_(std::move(other.path_)), fd_(std::exchange(other.fd_, -1)) {}

KeptOpenFile& KeptOpenFile::operator=(KeptOpenFile&& other) noexcept {
  if (this != &other) {
    Close();
    path_ = std::move(other.path_);
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

void KeptOpenFile::Close() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
}

bool KeptOpenFile::ReadOpen(std::string& text) {
  if (fd_ < 0) fd_ = open(path_.c_str(), O_RDONLY | O_CLOEXEC);
  return fd_ >= 0 && PreadAll(fd_, buffer_, text);
}

bool KeptOpenFile::Read(std::string& text) {
  if (ReadOpen(text)) return true;
  // The file may have been replaced or its device gone: one fresh open before giving up.
  Close();
  if (ReadOpen(text)) return true;
  Close();
  return false;
}

bool ReadWholeFile(const std::string& path, std::string& text) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    text.clear();
    return false;
  }
  std::vector<char> buffer;
  const bool ok = PreadAll(fd, buffer, text);
  close(fd);
  return ok;
}

std::string JoinRoot(const std::string& root, const std::string& path) {
  if (root.empty() || root == "/") return path;
  if (root.back() == '/') return root + path.substr(path.starts_with('/') ? 1 : 0);
  return root + path;
}

}  // namespace sysvane
