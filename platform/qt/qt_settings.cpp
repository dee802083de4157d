#include "platform/qt/qt_settings.h"

#include <fcntl.h>
#include <unistd.h>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>
#include <cerrno>
#include <cstdlib>

#include "platform/qt/qt_convert.h"

namespace sysvane::qt {

std::string QtSettingsBackend::DefaultPath() {
  QString configHome = QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME"));
  // The base directory specification ignores a relative path.
  if (configHome.isEmpty() || QDir::isRelativePath(configHome)) configHome = QDir::homePath() + "/.config";
  return (configHome + "/Sysvane/Sysvane.conf").toStdString();
}

QtSettingsBackend::QtSettingsBackend() : QtSettingsBackend(DefaultPath()) {}

QtSettingsBackend::QtSettingsBackend(std::string path)
    : path_(std::move(path)),
      settings_(std::make_unique<QSettings>(ToQString(path_), QSettings::IniFormat)) {}

QtSettingsBackend::~QtSettingsBackend() = default;

std::optional<std::string> QtSettingsBackend::Read(const std::string&, const std::string& section,
                                                   const std::string& key) {
  settings_->sync();  // what a user or another instance wrote meanwhile counts
  const QString name = ToQString(section) + '/' + ToQString(key);
  if (!settings_->contains(name)) return std::nullopt;
  const QVariant value = settings_->value(name);
  // An unquoted value with commas in it reads as a list: it is still the text the user wrote.
  if (value.typeId() == QMetaType::QStringList) return value.toStringList().join(", ").toStdString();
  return value.toString().toStdString();
}

bool QtSettingsBackend::Write(const std::string&, const std::string& section, const std::string& key,
                              const std::string& value) {
  if (!PrepareFile()) return false;
  settings_->setValue(ToQString(section) + '/' + ToQString(key), ToQString(value));
  settings_->sync();
  return settings_->status() == QSettings::NoError;
}

bool QtSettingsBackend::PrepareFile() {
  const QFileInfo file(ToQString(path_));
  if (file.exists()) return true;
  const QString folder = file.absolutePath();
  if (!QDir(folder).exists()) {
    // Parents the user lacks (~/.config itself) come with the usual rights; ours is private.
    if (!QDir().mkpath(folder)) return false;
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }
  // QSettings replaces the file atomically and keeps the rights of the one it replaces.
  const int fd =
      open(file.absoluteFilePath().toLocal8Bit().constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd >= 0) close(fd);
  return fd >= 0 || errno == EEXIST;
}

}  // namespace sysvane::qt
