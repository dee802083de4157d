// The settings file: where it lies and what it holds. (Who may read it, whatever the umask, is
// the fault tests' WrittenFilesTest.)
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "platform/qt/qt_settings.h"

namespace sysvane::qt {
namespace {

TEST(QtSettings, ValuesGoToTheUsersOwnFileAsWrittenAndComeBack) {
  QTemporaryDir dir;
  const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME"), oldHome = qgetenv("HOME");
  qputenv("HOME", dir.filePath("home").toLocal8Bit());
  qunsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(QtSettingsBackend::DefaultPath(),
            dir.filePath("home/.config/Sysvane/Sysvane.conf").toStdString());
  qputenv("XDG_CONFIG_HOME", dir.filePath("config").toLocal8Bit());
  const QString file = dir.filePath("config/Sysvane/Sysvane.conf");
  {
    QtSettingsBackend settings;
    EXPECT_EQ(settings.Read("Sysvane", "Settings", "ShowCPU"), std::nullopt);
    EXPECT_FALSE(QFile::exists(file)) << "reading creates nothing";
    for (const std::string value : {"1", " 1 ", "a, b", "", "x=y; z"}) {
      ASSERT_TRUE(settings.Write("Sysvane", "Settings", "Key", value));
      EXPECT_EQ(settings.Read("Sysvane", "Settings", "Key"), value);
    }
    ASSERT_TRUE(settings.Write("Sysvane", "Settings", "ShowCPU", "1"));
  }
  QFile edited(file);
  ASSERT_TRUE(edited.open(QIODevice::ReadWrite));
  EXPECT_TRUE(edited.readAll().startsWith("[Settings]\n"));
  edited.write("ShowPhysMem=1\n");  // the user's own edit
  edited.close();
  QtSettingsBackend nextRun;
  EXPECT_EQ(nextRun.Read("Sysvane", "Settings", "ShowCPU"), "1");
  EXPECT_EQ(nextRun.Read("Sysvane", "Settings", "ShowPhysMem"), "1");
  EXPECT_EQ(nextRun.Read("Sysvane", "Other", "ShowCPU"), std::nullopt) << "sections are apart";
  qputenv("XDG_CONFIG_HOME", oldConfig);
  qputenv("HOME", oldHome);
}

}  // namespace
}  // namespace sysvane::qt
