// The files the program reads and writes, and the programs it starts, on the real file system.
// The settings file may be missing, empty, damaged, read-only or in an unwritable folder: the store
// reads what it can, and a save changes its own line only, never dropping what it could not read.
// Every file the program writes is the user's alone whatever the umask, is written in one step, and
// a symbolic link planted in its place is never followed. A lock file left by a crash, empty or
// garbled, is taken over at once. A program is started directly, without a shell, as it is named.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QThread>
#include <csignal>

#include "options/shortcut_maintenance.h"
#include "platform/fake/fake_forms.h"
#include "platform/qt/qt_desktop.h"
#include "platform/qt/qt_instance_lock.h"
#include "platform/qt/qt_settings.h"
#include "tests/faults/config_home.h"

namespace sysvane::faults {
namespace {

// Whether every line of `before` is still in `after`, in the same order.
bool KeepsEveryLine(const std::string& before, const std::string& after) {
  std::istringstream old(before), now(after);
  for (std::string want, line; std::getline(old, want);)
    while (!(std::getline(now, line) && line == want))
      if (!now) return false;
  return true;
}

TEST(SettingsFileFaultTest, ADamagedFileIsReadAsFarAsItGoesAndASaveChangesOnlyItsOwnLine) {
  const std::string noise = testing::Garbage(600);
  // clang-format off
  for (const std::optional<std::string>& file : std::vector<std::optional<std::string>>{std::nullopt, "", noise,
       noise + "\n[Settings]\nShowCPU=1\n", "[Settings\nShowCPU=1\n[Other\nKey=1\n",  // broken section lines
       std::string("[Settings]\nShowCPU=1\0junk\nMainLeft=10\0\0\n\0\0\0\n", 38), "[Settings]\nno setting\n=1\nShowCPU=1\n  \n",
       "\xEF\xBB\xBF[Settings]\r\nShowCPU=1\r\nMainTop=5\r\n", "; mine\n# by hand\n[Other]\nShowCPU=0\n\n[Settings]\nMine=keep\n",
       "[Settings]\nBroken=\"unterminated\nShowCPU=1\nList=a, b, c\n", "[Settings]\nMainLeft=@Variant(\\0\\x7f\\0garbage)\nList=\"a\", \"b\"\n",
       "[Settings]\nShowCPU=0\n[Other]\nX=1\n[Settings]\nShowCPU=1", "ShowCPU=0\nTop=1\n[Settings]\nShowCPU=1\n"}) {
    // clang-format on
    ConfigHome home;
    const std::string text = file.value_or("");
    if (file) home.Write(kSettingsFile, text);
    qt::QtSettingsBackend backend;
    EXPECT_TRUE(file || !(backend.Read("", "Settings", "ShowCPU") || home.Stat(kSettingsFile)))
        << "read made it";
    ASSERT_TRUE(backend.Write("", "Settings", "ShowSplash", "0")) << text;  // a key the file lacks
    EXPECT_TRUE(KeepsEveryLine(text, home.Text(kSettingsFile))) << "a line the user left is gone: " << text;
    std::string expected = home.Text(kSettingsFile);  // a key the file has: only its line changes
    expected.replace(expected.find("ShowSplash=0"), 12, "ShowSplash=1");
    ASSERT_TRUE(backend.Write("", "Settings", "ShowSplash", "1"));
    EXPECT_EQ(home.Text(kSettingsFile), expected);
  }
}

TEST(SettingsFileFaultTest, AFileThatCannotBeReadOrReplacedIsLeftAsItIs) {
  const std::string text = "; mine\n[Settings]\nShowCPU=1\nMainLeft=100\n";
  // clang-format off
  for (auto [name, file, folder] : {std::tuple{"read-only", 0444, 0700}, {"unreadable", 0, 0700},
                                    {"in an unwritable folder", 0600, 0500}, {"a folder", -1, 0700}}) {
    // clang-format on
    ConfigHome home;
    home.Write(file < 0 ? std::string(kSettingsFile) + "/inside" : kSettingsFile, text);
    if (file >= 0) chmod(home.Path(kSettingsFile).c_str(), file);
    chmod(home.Path("config/Sysvane").c_str(), folder);
    // Root reads and writes whatever the modes say.
    if (geteuid() == 0 && (file == 0 || folder == 0500)) continue;
    EXPECT_FALSE(qt::QtSettingsBackend().Write("", "Settings", "ShowSplash", "0")) << name;
    chmod(home.Path("config/Sysvane").c_str(), 0700);
    if (file >= 0) chmod(home.Path(kSettingsFile).c_str(), 0600);
    EXPECT_EQ(home.Text(file < 0 ? std::string(kSettingsFile) + "/inside" : kSettingsFile), text) << name;
    EXPECT_EQ(home.Count("config/Sysvane"), 1u) << name << ": something was left beside it";
  }
}

TEST(WrittenFilesTest, AreTheUsersAloneAndALinkInTheirPlaceIsReplacedNeverFollowed) {
  const mode_t mask = umask(0);
  for (const char* place : {"", kSettingsFile, "config/autostart/Sysvane.desktop", "runtime/sysvane.lock"}) {
    ConfigHome home;
    home.Write("elsewhere/victim", "someone else's file\n");
    if (*place) {  // a link where a file of the program belongs, to someone else's file
      std::filesystem::create_directories(std::filesystem::path(home.Path(place)).parent_path());
      ASSERT_EQ(symlink(home.Path("elsewhere/victim").c_str(), home.Path(place).c_str()), 0);
    }
    EXPECT_TRUE(qt::QtSettingsBackend().Write("", "Settings", "ShowCPU", "1"));
    QtDesktop desktop;
    fake::FakeRuntime runtime;
    ShortcutMaintenance(desktop, runtime).CreateStartupShortcut("Sysvane", "/opt/sysvane/bin/sysvane", "");
    qt::InstanceLock lock(QString::fromStdString(home.Path("runtime/sysvane.lock")));
    lock.HeldElsewhere();
    EXPECT_EQ(home.Text("elsewhere/victim"), "someone else's file\n") << place;
    EXPECT_EQ(home.Stat("elsewhere/victim") & 0777, 0666u) << place;
    for (const char* file : {kSettingsFile, "config/autostart/Sysvane.desktop"})
      EXPECT_EQ(home.Stat(file), S_IFREG | 0600u) << file << " with a link at " << place;
    EXPECT_EQ(home.Count("config/Sysvane") + home.Count("data/applications"), 1u);
    if (*place) continue;  // the folders the program made itself, whatever the umask
    for (const char* folder : {"config/Sysvane", "config/autostart", "data/applications"})
      EXPECT_EQ(home.Stat(folder), S_IFDIR | 0700u) << folder;
    EXPECT_EQ(home.Stat("runtime/sysvane.lock") & 0777, 0600u);
  }
  umask(mask);
}

TEST(StartedProgramsTest, AProgramIsStartedDirectlyWithoutAShell) {
  ConfigHome home;
  const std::string name = "a b;touch PWNED1;$(touch PWNED2)`touch PWNED3`|x&>y.sh",
                    folder = home.Path("bin"),
                    said = "0\n" + folder + "/" + name + "\n";  // no argument, and its own path
  home.Write("bin/" + name, "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$0\" > \"$(dirname \"$0\")/started\"\n");
  ASSERT_EQ(chmod(home.Path("bin/" + name).c_str(), 0700), 0);
  const auto before = std::filesystem::current_path();
  std::filesystem::current_path(folder);  // a shell would make its files here
  QtDesktop desktop;
  ASSERT_TRUE(desktop.StartProgram(folder + "/" + name));
  for (int ms = 0; ms < 10000 && home.Text("bin/started") != said; ms += 10) QThread::msleep(10);
  EXPECT_EQ(home.Text("bin/started"), said);
  EXPECT_FALSE(desktop.StartProgram(folder + "/none; touch PWNED4"));
  EXPECT_EQ(home.Count("bin"), 2u) << "the program and what it wrote, nothing a shell made";
  std::filesystem::current_path(before);
}

// Two starts at the same moment, each round after the last owner was killed with kill -9 and its lock
// file left empty, garbled, holding a number or as it was: exactly one takes the lock and the other is
// refused.
TEST(InstanceLockFaultTest, TwoStartsAtTheSameMomentLeaveExactlyOneOwnerWhateverTheFileHolds) {
  ConfigHome home;
  const QString path = QString::fromStdString(home.Path("runtime/sysvane.lock"));
  const std::string left[] = {"", std::string("\xff\x00garbage\n", 10), "1\n"};  // or as the owner left it
  for (int round = 0; round < 50; ++round) {
    SCOPED_TRACE(round);
    if (round % 4 < 3) home.Write("runtime/sysvane.lock", left[round % 4]);
    int start[2], answers[2];
    ASSERT_TRUE(pipe(start) == 0 && pipe(answers) == 0);
    pid_t starts[2];
    for (pid_t& pid : starts)
      if ((pid = fork()) == 0) {  // at the go: refused, or the owner, running with the lock until killed
        qt::InstanceLock lock(path);
        char answer;
        if (read(start[0], &answer, 1) == 1 && write(answers[1], lock.HeldElsewhere() ? "r" : "o", 1) == 1)
          pause();
        _exit(1);
      }
    ASSERT_EQ(write(start[1], "gg", 2), 2);  // both at once
    std::string got(2, ' ');
    pollfd ready{answers[0], POLLIN, 0};
    for (char& answer : got)
      if (poll(&ready, 1, 10000) != 1 || read(answers[0], &answer, 1) != 1) break;
    for (pid_t pid : starts) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
    for (int fd : {start[0], start[1], answers[0], answers[1]}) close(fd);
    ASSERT_TRUE(got == "or" || got == "ro") << got;
  }
}

}  // namespace
}  // namespace sysvane::faults
