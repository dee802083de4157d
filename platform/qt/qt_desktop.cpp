#include "platform/qt/qt_desktop.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QDesktopServices>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

namespace sysvane {

namespace {

// Closes a descriptor when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  bool ok() const { return fd_ >= 0; }
  // Closes now, reporting whether the last writes made it.
  bool Close() {
    int fd = fd_;
    fd_ = -1;
    return fd < 0 || ::close(fd) == 0;
  }

 private:
  int fd_;
};

struct PathParts {
  std::string folder;
  std::string name;
};

PathParts SplitPath(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return {".", path};
  return {path.substr(0, slash == 0 ? 1 : slash), path.substr(slash + 1)};  // "/name" lies in "/"
}

bool WriteAll(int fd, const std::string& contents) {
  size_t done = 0;
  while (done < contents.size()) {
    const ssize_t n = ::write(fd, contents.data() + done, contents.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += size_t(n);
  }
  return true;
}

// Reads a normal file whole; O_NONBLOCK keeps a planted pipe from hanging the open.
bool ReadAll(const std::string& path, std::string& contents, bool followLink = false) {
  Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | (followLink ? 0 : O_NOFOLLOW)));
  struct stat info {};
  if (!fd.ok() || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  contents.clear();
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    contents.append(buffer, size_t(n));
  }
}

// The folder's own entry reaches the disk too, so that a rename survives a power cut.
void SyncFolder(const std::string& folder) {
  Descriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.ok()) ::fsync(fd.get());
}

std::string WithoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// An XDG base folder: the variable when it holds an absolute path, else the fallback below home.
std::string BaseFolder(const char* variable, const char* fallback) {
  const char* value = std::getenv(variable);
  if (value && value[0] == '/') return WithoutTrailingSlashes(value);
  std::string home;
  const char* homeVariable = std::getenv("HOME");
  if (homeVariable && homeVariable[0] == '/') {
    home = homeVariable;
  } else if (const passwd* entry = ::getpwuid(::getuid());
             entry && entry->pw_dir && entry->pw_dir[0] == '/') {
    home = entry->pw_dir;
  } else {
    return "";
  }
  return WithoutTrailingSlashes(home) + "/" + fallback;
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat x {
  }, y{};
  return ::stat(a.c_str(), &x) == 0 && ::stat(b.c_str(), &y) == 0 && x.st_dev == y.st_dev &&
         x.st_ino == y.st_ino;
}

// `path` below `folder` unless it is absolute already; empty when neither is.
std::string Absolute(std::string path, const std::string& folder) {
  if (!path.empty() && path.front() == '/') return path;
  if (folder.empty() || folder.front() != '/') return "";
  while (path.rfind("./", 0) == 0) path.erase(0, 2);
  return WithoutTrailingSlashes(folder) + (folder == "/" ? "" : "/") + path;
}

// Where a symbolic link points, as written in it; empty when it is none or too long.
std::string LinkTarget(const std::string& link) {
  char buffer[4096];
  const ssize_t n = ::readlink(link.c_str(), buffer, sizeof buffer);
  return n <= 0 || size_t(n) >= sizeof buffer ? "" : std::string(buffer, size_t(n));
}

std::string FirstArgument() {
  std::string commandLine;
  if (!ReadAll("/proc/self/cmdline", commandLine, true)) return "";
  return commandLine.substr(0, commandLine.find('\0'));
}

std::string WorkingFolder() {
  char buffer[4096];
  return ::getcwd(buffer, sizeof buffer) ? buffer : "";
}

}  // namespace

QtDesktop::QtDesktop() {
  const auto variable = [](const char* name) {
    const char* value = std::getenv(name);
    return std::string(value ? value : "");
  };
  programPath_ = ProgramPathAtStart(FirstArgument(), variable("PATH"), WorkingFolder(), "/proc/self/exe",
                                    {variable("APPIMAGE"), variable("APPDIR")});
}

std::string QtDesktop::ProgramPathAtStart(const std::string& argv0, const std::string& searchPath,
                                          const std::string& workingFolder, const std::string& exeLink,
                                          const AppImage& appImage) {
  // The AppImage's mount goes away with the program; the AppImage file itself starts it again. Its
  // variables leak into the programs it starts, so they count only while we run from its mount.
  struct stat info {};
  const std::string mount = WithoutTrailingSlashes(appImage.mountFolder) + "/";
  if (!appImage.file.empty() && ::stat(appImage.file.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
      mount.size() > 1 && LinkTarget(exeLink).starts_with(mount)) {
    return appImage.file;
  }
  std::vector<std::string> candidates;
  if (argv0.find('/') != std::string::npos) {
    candidates.push_back(Absolute(argv0, workingFolder));
  } else if (!argv0.empty()) {
    for (size_t start = 0; start <= searchPath.size();) {
      const size_t end = std::min(searchPath.find(':', start), searchPath.size());
      // An empty entry is the working folder.
      const std::string folder =
          end > start ? WithoutTrailingSlashes(searchPath.substr(start, end - start)) : ".";
      candidates.push_back(Absolute(folder == "/" ? folder + argv0 : folder + "/" + argv0, workingFolder));
      start = end + 1;
    }
  }
  for (const auto& candidate : candidates) {
    if (!candidate.empty() && SameFile(candidate, exeLink)) return candidate;
  }
  std::string path = LinkTarget(exeLink);
  if (path.empty()) return "";
  const std::string deleted = " (deleted)";
  if (path.size() > deleted.size() &&
      path.compare(path.size() - deleted.size(), deleted.size(), deleted) == 0 &&
      ::lstat(path.c_str(), &info) != 0) {
    path.erase(path.size() - deleted.size());
  }
  return path;
}

bool QtDesktop::OpenUrl(const std::string& url) {
  return QDesktopServices::openUrl(QUrl(QString::fromStdString(url), QUrl::StrictMode));
}

std::string QtDesktop::MailtoUrl(const std::string& address, const std::string& subject) {
  const QByteArray to = QUrl::toPercentEncoding(QString::fromStdString(address), "@");
  const QByteArray about = QUrl::toPercentEncoding(QString::fromStdString(subject));
  return "mailto:" + to.toStdString() + "?subject=" + about.toStdString();
}

bool QtDesktop::ComposeMail(const std::string& address, const std::string& subject) {
  return QDesktopServices::openUrl(QUrl::fromEncoded(QByteArray::fromStdString(MailtoUrl(address, subject))));
}

bool QtDesktop::StartProgram(const std::string& path) {
  if (path.empty()) return false;
  // Started directly: the path is never read by a shell.
  return QProcess::startDetached(QString::fromStdString(path), QStringList());
}

bool QtDesktop::FileExists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::optional<std::string> QtDesktop::ReadFile(const std::string& path) {
  std::string contents;
  if (!ReadAll(path, contents, true)) return std::nullopt;
  return contents;
}

bool QtDesktop::DeleteFile(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return false;
  // unlink removes a link itself, never the file it points to.
  if (::unlink(path.c_str()) != 0) return false;
  SyncFolder(SplitPath(path).folder);
  return true;
}

bool QtDesktop::CreateFolders(const std::string& path) {
  if (path.empty()) return false;
  std::string partial;
  size_t start = 0;
  while (start <= path.size()) {
    size_t slash = path.find('/', start);
    if (slash == std::string::npos) slash = path.size();
    partial = path.substr(0, slash);
    start = slash + 1;
    if (partial.empty()) continue;
    if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool QtDesktop::WriteFileAtomically(const std::string& path, const std::string& contents) {
  const auto [folder, name] = SplitPath(path);
  if (name.empty()) return false;
  Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!dir.ok()) return false;

  // A new file of our own, next to the target: O_EXCL and O_NOFOLLOW refuse anything planted.
  std::random_device random;
  std::string temporary;
  int fd = -1;
  for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "%08x", static_cast<unsigned>(random()));
    temporary = "." + name + "." + suffix + ".tmp";
    fd = ::openat(dir.get(), temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0 && errno != EEXIST) return false;
  }
  Descriptor file(fd);
  if (!file.ok()) return false;
  if (writeBegun) writeBegun();
  bool written = WriteAll(file.get(), contents) && ::fsync(file.get()) == 0;
  written = file.Close() && written;
  // rename replaces whatever lies at the target, a link included, without following it.
  if (!written || ::renameat(dir.get(), temporary.c_str(), dir.get(), name.c_str()) != 0) {
    ::unlinkat(dir.get(), temporary.c_str(), 0);
    return false;
  }
  ::fsync(dir.get());
  return true;
}

bool QtDesktop::MoveFile(const std::string& from, const std::string& to) {
  struct stat info {};
  if (::lstat(from.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  if (::rename(from.c_str(), to.c_str()) == 0) {
    SyncFolder(SplitPath(to).folder);
    return true;
  }
  if (errno != EXDEV) return false;
  // Another file system: a whole copy first, and only then the original goes.
  std::string contents;
  if (!ReadAll(from, contents) || !WriteFileAtomically(to, contents)) return false;
  return DeleteFile(from);
}

std::string QtDesktop::ExecutablePath() {
  return programPath_;
}

std::string QtDesktop::ConfigHome() {
  return BaseFolder("XDG_CONFIG_HOME", ".config");
}

std::string QtDesktop::DataHome() {
  return BaseFolder("XDG_DATA_HOME", ".local/share");
}

}  // namespace sysvane
