#include "platform/qt/qt_settings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFileInfo>
#include <cerrno>

#include "platform/qt/ini_text.h"
#include "platform/qt/qt_convert.h"
#include "platform/qt/qt_desktop.h"

namespace sysvane::qt {

namespace {

enum class FileState { Missing, Read, Unreadable };

// The file's whole text; `writable` tells whether its owner left it writable.
FileState ReadSettingsFile(const std::string& path, std::string& text, bool& writable) {
  text.clear();
  writable = true;
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? FileState::Missing : FileState::Unreadable;
  struct stat info {};
  bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  writable = (info.st_mode & S_IWUSR) != 0;
  char buffer[4096];
  while (ok) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = n == 0;
      break;
    }
    text.append(buffer, size_t(n));
  }
  close(fd);
  return ok ? FileState::Read : FileState::Unreadable;
}

}  // namespace

std::string QtSettingsBackend::DefaultPath() {
  QString configHome = QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME"));
  // A relative XDG_CONFIG_HOME is to be ignored, as every XDG program does.
  if (configHome.isEmpty() || QDir::isRelativePath(configHome)) configHome = QDir::homePath() + "/.config";
  return (configHome + "/Sysvane/Sysvane.conf").toStdString();
}

QtSettingsBackend::QtSettingsBackend() : QtSettingsBackend(DefaultPath()) {}

QtSettingsBackend::QtSettingsBackend(std::string path) : path_(std::move(path)) {}

QtSettingsBackend::~QtSettingsBackend() = default;

std::optional<std::string> QtSettingsBackend::Read(const std::string&, const std::string& section,
                                                   const std::string& key) {
  std::string text;
  bool writable = true;
  if (ReadSettingsFile(path_, text, writable) != FileState::Read) return std::nullopt;
  return IniText(std::move(text)).Get(section, key);
}

bool QtSettingsBackend::Write(const std::string&, const std::string& section, const std::string& key,
                              const std::string& value) {
  std::string text;
  bool writable = true;
  const FileState state = ReadSettingsFile(path_, text, writable);
  if (state == FileState::Unreadable || !writable) return false;
  IniText ini(std::move(text));
  const std::string before = ini.Text();
  if (!ini.Set(section, key, value)) return false;
  if (state == FileState::Read && ini.Text() == before) return true;
  if (!PrepareFolder()) return false;
  // A new file beside the old one, renamed over it: a link planted there is replaced, not followed.
  QtDesktop desktop;
  return desktop.WriteFileAtomically(path_, ini.Text());
}

bool QtSettingsBackend::PrepareFolder() {
  const QString folder = QFileInfo(ToQString(path_)).absolutePath();
  if (QDir(folder).exists()) return true;
  // Parents the user lacks (~/.config itself) come with the usual rights; ours is private.
  if (!QDir().mkpath(folder)) return false;
  return QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

}  // namespace sysvane::qt
