// The real desktop's file operations and the start-up shortcut on a temporary XDG tree.
#include <dirent.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "options/shortcut_maintenance.h"
#include "options/tests/desktop_entry_reader.h"
#include "platform/fake/fake_forms.h"
#include "platform/qt/qt_desktop.h"

namespace sysvane {
namespace {

class DesktopFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/sysvane-desktop-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    root = pattern;
  }
  void TearDown() override {
    std::string command = "rm -rf '" + root + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
  }
  static std::string Read(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  static void Write(const std::string& path, const std::string& text) { std::ofstream(path) << text; }
  std::vector<std::string> Names(const std::string& folder) const {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return names;
    while (dirent* e = ::readdir(dir)) {
      std::string name = e->d_name;
      if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
  }

  std::string root;
  QtDesktop desktop;
};

TEST_F(DesktopFilesTest, AWriteReplacesTheFileWholeAndPrivately) {
  const std::string path = root + "/entry.desktop";
  Write(path, "old");
  ASSERT_TRUE(desktop.WriteFileAtomically(path, "new contents\n"));
  EXPECT_EQ(Read(path), "new contents\n");
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  EXPECT_EQ(Names(root), std::vector<std::string>{"entry.desktop"});  // no temporary left
  EXPECT_FALSE(desktop.WriteFileAtomically(root + "/missing/entry.desktop", "x"));
}

TEST_F(DesktopFilesTest, AFailedWriteLeavesTheOldFileWhole) {
  const std::string path = root + "/entry.desktop";
  Write(path, "old");
  // A file-size limit makes the write fail halfway, as a full disk would.
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto previous = ::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 4096;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool written = desktop.WriteFileAtomically(path, std::string(1 << 20, 'x'));
  ::setrlimit(RLIMIT_FSIZE, &saved);
  ::signal(SIGXFSZ, previous);
  EXPECT_FALSE(written);
  EXPECT_EQ(Read(path), "old");
  EXPECT_EQ(Names(root), std::vector<std::string>{"entry.desktop"});
}

TEST_F(DesktopFilesTest, APlantedLinkIsReplacedNotFollowed) {
  const std::string victim = root + "/victim";
  const std::string path = root + "/entry.desktop";
  Write(victim, "precious");
  ASSERT_EQ(::symlink(victim.c_str(), path.c_str()), 0);
  ASSERT_TRUE(desktop.WriteFileAtomically(path, "entry"));
  EXPECT_EQ(Read(victim), "precious");
  struct stat info {};
  ASSERT_EQ(::lstat(path.c_str(), &info), 0);
  EXPECT_TRUE(S_ISREG(info.st_mode));
  EXPECT_EQ(Read(path), "entry");

  // Deleting a link removes the link alone.
  ASSERT_EQ(::symlink(victim.c_str(), (root + "/link").c_str()), 0);
  EXPECT_TRUE(desktop.FileExists(root + "/link"));
  EXPECT_TRUE(desktop.DeleteFile(root + "/link"));
  EXPECT_EQ(Read(victim), "precious");
}

TEST_F(DesktopFilesTest, FoldersFilesAndMoves) {
  const std::string folder = root + "/a/b/c";
  ASSERT_TRUE(desktop.CreateFolders(folder));
  ASSERT_TRUE(desktop.CreateFolders(folder));  // already there
  struct stat info {};
  ASSERT_EQ(::stat(folder.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0077, 0u);
  EXPECT_FALSE(desktop.FileExists(folder));
  EXPECT_FALSE(desktop.DeleteFile(folder));

  Write(root + "/f", "moved");
  EXPECT_TRUE(desktop.MoveFile(root + "/f", folder + "/g"));
  EXPECT_FALSE(desktop.FileExists(root + "/f"));
  EXPECT_EQ(Read(folder + "/g"), "moved");
  EXPECT_FALSE(desktop.MoveFile(root + "/f", folder + "/g"));
  EXPECT_FALSE(desktop.DeleteFile(root + "/f"));
}

TEST_F(DesktopFilesTest, TheBaseFoldersFollowTheEnvironment) {
  const char* savedConfig = std::getenv("XDG_CONFIG_HOME");
  const std::string config = savedConfig ? savedConfig : "";
  ::setenv("XDG_CONFIG_HOME", (root + "/cfg/").c_str(), 1);
  EXPECT_EQ(desktop.ConfigHome(), root + "/cfg");
  ::setenv("XDG_CONFIG_HOME", "relative", 1);  // ignored, as the base-folder rules say
  const std::string config2 = desktop.ConfigHome();
  EXPECT_EQ(config2.front(), '/');
  EXPECT_EQ(config2.substr(config2.size() - 8), "/.config");
  if (savedConfig)
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  else
    ::unsetenv("XDG_CONFIG_HOME");

  const std::string exe = desktop.ExecutablePath();
  EXPECT_EQ(exe.front(), '/');
  EXPECT_TRUE(desktop.FileExists(exe));
  EXPECT_EQ(QtDesktop::MailtoUrl("support@quorvale.example", "Sysvane, Version 2.0"),
            "mailto:support@quorvale.example?subject=Sysvane%2C%20Version%202.0");
}

TEST_F(DesktopFilesTest, TheShortcutRoundTripsThroughARealXdgTree) {
  const char* savedConfig = std::getenv("XDG_CONFIG_HOME");
  const char* savedData = std::getenv("XDG_DATA_HOME");
  const std::string config = savedConfig ? savedConfig : "", data = savedData ? savedData : "";
  ::setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1);
  ::setenv("XDG_DATA_HOME", (root + "/data").c_str(), 1);

  fake::FakeRuntime runtime;
  ShortcutMaintenance shortcuts(desktop, runtime);
  const std::string target = root + "/my \"odd\" $dir `x` 50% \\/sysvane";
  shortcuts.CreateStartupShortcut("Sysvane", target, "");
  const std::string entry = root + "/config/autostart/Sysvane.desktop";
  EXPECT_TRUE(shortcuts.StartupShortcutExists("Sysvane"));
  EXPECT_EQ(testing::CommandOfEntry(Read(entry)), std::vector<std::string>{target});
  EXPECT_EQ(Names(root + "/data/applications"), std::vector<std::string>{});
  EXPECT_EQ(Names(root + "/config/autostart"), std::vector<std::string>{"Sysvane.desktop"});
  shortcuts.CreateStartupShortcut("Sysvane", target, "");  // again: still one
  EXPECT_EQ(Names(root + "/config/autostart"), std::vector<std::string>{"Sysvane.desktop"});
  shortcuts.RemoveStartupShortcut("Sysvane");
  EXPECT_FALSE(shortcuts.StartupShortcutExists("Sysvane"));
  EXPECT_TRUE(runtime.msgBoxes.empty());

  if (savedConfig)
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  else
    ::unsetenv("XDG_CONFIG_HOME");
  if (savedData)
    ::setenv("XDG_DATA_HOME", data.c_str(), 1);
  else
    ::unsetenv("XDG_DATA_HOME");
}

}  // namespace
}  // namespace sysvane
