// What the program starts and what it writes. A program is started directly, without a shell, as
// it is named. Every file it writes (settings, start-up entry, lock) is the user's alone whatever
// the umask, is written in one step, and a symbolic link planted in its place is never followed. A
// lock left empty or garbled by a crash is taken over once it is old, not refused for good.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <QThread>

#include "options/shortcut_maintenance.h"
#include "platform/fake/fake_forms.h"
#include "platform/qt/qt_desktop.h"
#include "platform/qt/qt_instance_lock.h"
#include "platform/qt/qt_settings.h"
#include "tests/faults/config_home.h"

namespace sysvane::faults {
namespace {

TEST(WrittenFilesTest, AreTheUsersAloneAndALinkInTheirPlaceIsReplacedNeverFollowed) {
  const mode_t mask = umask(0);
  for (const char* place : {"", kSettingsFile, "config/autostart/Sysvane.desktop", "runtime/sysvane.lock"}) {
    for (const bool dangling : {false, true}) {
      ConfigHome home;
      if (*place) {  // a link where a file of the program belongs, to someone else's file or to nothing
        if (!dangling) home.Write("elsewhere/victim", "someone else's file\n");
        std::filesystem::create_directories(std::filesystem::path(home.Path(place)).parent_path());
        ASSERT_EQ(symlink(home.Path("elsewhere/victim").c_str(), home.Path(place).c_str()), 0);
      }
      EXPECT_TRUE(qt::QtSettingsBackend().Write("", "Settings", "ShowCPU", "1"));
      QtDesktop desktop;
      fake::FakeRuntime runtime;
      ShortcutMaintenance(desktop, runtime).CreateStartupShortcut("Sysvane", "/opt/sysvane/bin/sysvane", "");
      qt::InstanceLock lock(QString::fromStdString(home.Path("runtime/sysvane.lock")));
      lock.HeldElsewhere();
      EXPECT_EQ(home.Text("elsewhere/victim"), *place && !dangling ? "someone else's file\n" : "") << place;
      EXPECT_EQ(home.Stat("elsewhere/victim") & 0777, *place && !dangling ? 0666u : 0) << place;
      for (const char* file : {kSettingsFile, "config/autostart/Sysvane.desktop"})
        EXPECT_EQ(home.Stat(file), S_IFREG | 0600u) << file << " with a link at " << place;
      EXPECT_EQ(home.Entries("config/Sysvane").size() + home.Entries("data/applications").size(), 1u);
      if (*place) continue;  // the folders the program made itself, whatever the umask
      for (const char* folder : {"config/Sysvane", "config/autostart", "data/applications"})
        EXPECT_EQ(home.Stat(folder), S_IFDIR | 0700u) << folder;
      EXPECT_EQ(home.Stat("runtime/sysvane.lock") & 0777, 0600u);
    }
  }
  umask(mask);
}

TEST(StartedProgramsTest, AProgramIsStartedDirectlyWithoutAShell) {
  ConfigHome home;
  const std::string name = "a b;touch PWNED1;$(touch PWNED2)`touch PWNED3`|x&>y.sh",
                    folder = home.Path("bin");
  home.Write("bin/" + name,
             "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$0\" > \"$(dirname \"$0\")/started.tmp\"\n"
             "mv \"$(dirname \"$0\")/started.tmp\" \"$(dirname \"$0\")/started\"\n");
  ASSERT_EQ(chmod(home.Path("bin/" + name).c_str(), 0700), 0);
  const auto before = std::filesystem::current_path();
  std::filesystem::current_path(folder);  // a shell would make its files here
  QtDesktop desktop;
  ASSERT_TRUE(desktop.StartProgram(folder + "/" + name));
  for (int ms = 0; ms < 10000 && !home.Stat("bin/started"); ms += 10) QThread::msleep(10);
  EXPECT_EQ(home.Text("bin/started"), "0\n" + folder + "/" + name + "\n");
  EXPECT_FALSE(desktop.StartProgram(folder + "/none; touch PWNED4"));
  EXPECT_EQ(home.Entries("bin").size(), 2u) << "the program and what it wrote, nothing a shell made";
  std::filesystem::current_path(before);
}

TEST(InstanceLockFaultTest, AnOwnerlessLockIsTakenOverOnceItIsOldAndLeftToItsMakerWhileNew) {
  // clang-format off
  for (auto [contents, age] : {std::pair{std::string(), 60}, {std::string("\xff\x00garbage\n", 10), 60},
                               {std::string("12"), 60}, {std::string(), 0}}) {  // clang-format on
    ConfigHome home;
    const std::string path = home.Path("runtime/sysvane.lock");
    home.Write("runtime/sysvane.lock", contents);
    timeval then{};
    gettimeofday(&then, nullptr);
    then.tv_sec -= age;
    const timeval times[2] = {then, then};
    utimes(path.c_str(), times);
    EXPECT_EQ(qt::InstanceLock(QString::fromStdString(path)).HeldElsewhere(), age == 0)
        << contents << ", " << age;
  }
}

}  // namespace
}  // namespace sysvane::faults
