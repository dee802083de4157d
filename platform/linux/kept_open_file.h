// A file of /proc or /sys that is read again and again: it stays open and every read starts at
// offset 0, so a refresh costs one pread instead of open, read and close.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace sysvane {

class KeptOpenFile {
 public:
  explicit KeptOpenFile(std::string path) : path_(std::move(path)) {}
  ~KeptOpenFile();
  KeptOpenFile(const KeptOpenFile&) = delete;
  KeptOpenFile& operator=(const KeptOpenFile&) = delete;
  KeptOpenFile(KeptOpenFile&& other) noexcept;
  KeptOpenFile& operator=(KeptOpenFile&& other) noexcept;

  // The whole file into `text`; false when it cannot be read, after one attempt to open it afresh.
  bool Read(std::string& text);
  // The file descriptor, -1 while closed (for poll).
  int fd() const { return fd_; }
  const std::string& path() const { return path_; }

 private:
  bool ReadOpen(std::string& text);
  void Close();

  std::string path_;
  int fd_ = -1;
  std::vector<char> buffer_;  // what the reads land in, kept at its size
};

// One read of a small file, for files read once in a while; false when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& text);

// `root` and an absolute path below it: ("/", "/proc/stat") -> "/proc/stat",
// ("/tmp/fix", "/proc/stat") -> "/tmp/fix/proc/stat".
std::string JoinRoot(const std::string& root, const std::string& path);

}  // namespace sysvane
