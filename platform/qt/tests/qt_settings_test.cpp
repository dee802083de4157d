// The settings file: where it lies, what it holds, who may read it.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/qt/qt_settings.h"

namespace sysvane::qt {
namespace {

// $XDG_CONFIG_HOME (and $HOME) pointing into a temporary folder while the object lives.
class ConfigHome {
 public:
  ConfigHome() : oldConfig_(qgetenv("XDG_CONFIG_HOME")), oldHome_(qgetenv("HOME")) {
    qputenv("XDG_CONFIG_HOME", dir_.filePath("config").toLocal8Bit());
    qputenv("HOME", dir_.filePath("home").toLocal8Bit());
  }
  ~ConfigHome() {
    qputenv("XDG_CONFIG_HOME", oldConfig_);
    qputenv("HOME", oldHome_);
  }
  QString Path(const QString& relative) const { return dir_.filePath(relative); }

 private:
  QTemporaryDir dir_;
  QByteArray oldConfig_, oldHome_;
};

QString FileText(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

mode_t ModeOf(const QString& path) {
  struct stat info {};
  return stat(path.toLocal8Bit().constData(), &info) == 0 ? info.st_mode & 0777 : 0;
}

TEST(QtSettings, ValuesGoToTheSettingsSectionOfTheUsersFileAndComeBack) {
  ConfigHome home;
  const QString file = home.Path("config/Sysvane/Sysvane.conf");
  {
    QtSettingsBackend settings;
    EXPECT_EQ(settings.Path(), file.toStdString());
    EXPECT_EQ(settings.Read("Sysvane", "Settings", "ShowCPU"), std::nullopt);
    EXPECT_FALSE(QFile::exists(file)) << "reading creates nothing";

    EXPECT_TRUE(settings.Write("Sysvane", "Settings", "ShowCPU", "1"));
    EXPECT_TRUE(settings.Write("Sysvane", "Settings", "Defined", "Yes"));
    EXPECT_TRUE(settings.Write("Sysvane", "Settings", "MainLeft", "10230"));
    EXPECT_EQ(settings.Read("Sysvane", "Settings", "ShowCPU"), "1");
    EXPECT_EQ(settings.Read("Sysvane", "Settings", "ShowPhysMem"), std::nullopt);
  }
  const QString text = FileText(file);
  EXPECT_TRUE(text.startsWith("[Settings]\n")) << text.toStdString();
  EXPECT_TRUE(text.contains("\nShowCPU=1\n")) << text.toStdString();
  EXPECT_TRUE(text.contains("\nDefined=Yes\n")) << text.toStdString();

  // The next run reads what this one wrote.
  QtSettingsBackend nextRun;
  EXPECT_EQ(nextRun.Read("Sysvane", "Settings", "MainLeft"), "10230");
  EXPECT_EQ(nextRun.Read("Sysvane", "Other", "MainLeft"), std::nullopt) << "sections are apart";
}

TEST(QtSettings, TheFolderAndTheFileAreTheUsersAlone) {
  ConfigHome home;
  QtSettingsBackend settings;
  ASSERT_TRUE(settings.Write("Sysvane", "Settings", "ShowSplash", "0"));
  EXPECT_EQ(ModeOf(home.Path("config/Sysvane")), 0700u);
  EXPECT_EQ(ModeOf(home.Path("config/Sysvane/Sysvane.conf")), 0600u);
  ASSERT_TRUE(settings.Write("Sysvane", "Settings", "ShowSplash", "1"));
  EXPECT_EQ(ModeOf(home.Path("config/Sysvane/Sysvane.conf")), 0600u) << "after the atomic replacement too";
}

TEST(QtSettings, TextThatLooksLikeAListOrHasSpacesComesBackAsWritten) {
  ConfigHome home;
  QtSettingsBackend settings;
  for (const std::string value : {" 1 ", "a, b", "1,5", "", "x=y; z"}) {
    ASSERT_TRUE(settings.Write("Sysvane", "Settings", "Key", value));
    EXPECT_EQ(settings.Read("Sysvane", "Settings", "Key"), value);
  }
}

TEST(QtSettings, AnEditByTheUserWhileRunningIsRead) {
  ConfigHome home;
  QtSettingsBackend settings;
  ASSERT_TRUE(settings.Write("Sysvane", "Settings", "ShowCPU", "0"));
  QFile file(QString::fromStdString(settings.Path()));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write("[Settings]\nShowCPU=1\nShowPhysMem=1\n");
  file.close();
  EXPECT_EQ(settings.Read("Sysvane", "Settings", "ShowPhysMem"), "1");
  EXPECT_EQ(settings.Read("Sysvane", "Settings", "ShowCPU"), "1");
}

TEST(QtSettings, WithoutXdgConfigHomeTheFileLiesInDotConfig) {
  ConfigHome home;
  qunsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(QtSettingsBackend::DefaultPath(), home.Path("home/.config/Sysvane/Sysvane.conf").toStdString());
  qputenv("XDG_CONFIG_HOME", "relative/path");
  EXPECT_EQ(QtSettingsBackend::DefaultPath(), home.Path("home/.config/Sysvane/Sysvane.conf").toStdString());
}

TEST(QtSettings, AWriteThatCannotReachTheDiskSaysSo) {
  ConfigHome home;
  // The configuration folder's place is taken by a plain file.
  QFile blocker(home.Path("config"));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  QtSettingsBackend settings;
  EXPECT_FALSE(settings.Write("Sysvane", "Settings", "ShowCPU", "1"));
}

}  // namespace
}  // namespace sysvane::qt
