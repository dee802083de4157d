// What the program starts and what it writes. Every program is started directly, without a
// shell, with fixed arguments, and nothing from the settings reaches a command line. Every file
// it writes (settings, start-up entry, lock) is the user's alone whatever the umask, is written
// in one step, and a symbolic link planted in its place is never followed.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <regex>

#include "dialogs/about.h"
#include "options/options_dialog.h"
#include "options/shortcut_maintenance.h"
#include "platform/qt/qt_desktop.h"
#include "platform/qt/qt_instance_lock.h"
#include "platform/qt/qt_settings.h"
#include "shell/menu.h"
#include "tests/faults/config_home.h"
#include "tests/faults/fault_program.h"

namespace sysvane::faults {
namespace {

class Umask {
 public:
  explicit Umask(mode_t mask) : old_(umask(mask)) {}
  ~Umask() { umask(old_); }

 private:
  mode_t old_;
};

bool WaitForFile(const ConfigHome& home, const std::string& relative) {
  QElapsedTimer clock;
  clock.start();
  while (!home.Exists(relative) && clock.elapsed() < 10000) QThread::msleep(10);
  QThread::msleep(50);  // the writer finishes its line
  return home.Exists(relative);
}

// A user whose every setting holds shell syntax: none of it may reach a command.
TEST(StartedProgramsTest, NoSettingReachesWhatIsStarted) {
  FaultProgram fp;
  const std::string hostile = "MARK$(touch /tmp/sysvane-pwned)`id`;rm -rf ~|&>x\"'";
  for (const char* key :
       {"Defined", "ShowSplash", "ShowStatsAtStartup", "ShowOnTop", "ShowCPU", "ShowPhysMem", "ShowVirtMem",
        "ShowBattery", "ShowCdrive", "ShowDdrive", "MainLeft", "MainTop"}) {
    fp.Set(key, hostile);
  }
  fp.registry.Add(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO").values["PATH"] =
      RegValue{REG_SZ, std::string("/usr/bin/hardinfo") + '\0'};
  Program& program = fp.program;
  program.menu().Load();

  // The Options dialog saved with the start-up box ticked: the entry names this executable.
  Options& options = program.options();
  options.Show();
  options.Check0[0].NotifyClick();
  options.Check1[0].NotifyClick();
  options.applyButton.NotifyClick();
  program.UnloadOptions();

  frmAbout& about = program.about();
  about.Show();
  about.WebLink.NotifyClick();
  about.EmailLink.NotifyClick();
  about.cmdSysInfo.NotifyClick();

  EXPECT_EQ(fp.desktop.openedUrls, std::vector<std::string>{"https://www.quorvale.example/"});
  ASSERT_EQ(fp.desktop.mails.size(), 1u);
  EXPECT_EQ(fp.desktop.mails[0].address, "support@quorvale.example");
  EXPECT_EQ(fp.desktop.mails[0].subject, "Sysvane, Version 2.0");
  EXPECT_EQ(fp.desktop.startedPrograms, std::vector<std::string>{"/usr/bin/hardinfo"});
  const std::string entry = fp.desktop.configHome + "/autostart/Sysvane.desktop";
  ASSERT_TRUE(fp.desktop.files.count(entry));
  EXPECT_NE(fp.desktop.files[entry].find("\nExec=/opt/sysvane/bin/sysvane\n"), std::string::npos);
  for (const auto& [path, text] : fp.desktop.files) {
    EXPECT_EQ(text.find("MARK"), std::string::npos) << path;
  }
}

// The real starter with a program whose very name is shell syntax: started as it is, no argument.
TEST(StartedProgramsTest, AProgramIsStartedDirectlyWithoutAShell) {
  ConfigHome home;
  const std::string folder = home.Path("bin");
  const std::string name = "a b;touch PWNED1;$(touch PWNED2)`touch PWNED3`|x&>y.sh";
  home.WriteFile("bin/" + name,
                 "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$0\" > \"$(dirname \"$0\")/started.tmp\"\n"
                 "mv \"$(dirname \"$0\")/started.tmp\" \"$(dirname \"$0\")/started\"\n");
  ASSERT_EQ(chmod(home.Path("bin/" + name).c_str(), 0700), 0);
  const std::string before = std::filesystem::current_path().string();
  ASSERT_EQ(chdir(folder.c_str()), 0);  // a shell would make its files here

  QtDesktop desktop;
  ASSERT_TRUE(desktop.StartProgram(folder + "/" + name));
  ASSERT_TRUE(WaitForFile(home, "bin/started"));
  EXPECT_EQ(home.Text("bin/started"), "0\n" + folder + "/" + name + "\n");
  for (const char* pwned : {"PWNED1", "PWNED2", "PWNED3", "y.sh"})
    EXPECT_FALSE(home.Exists(std::string("bin/") + pwned));
  EXPECT_FALSE(home.Exists("bin/a")) << "the name was split";

  EXPECT_FALSE(desktop.StartProgram(""));
  EXPECT_FALSE(desktop.StartProgram(folder + "/none; touch PWNED4"));
  EXPECT_FALSE(home.Exists("bin/PWNED4"));
  ASSERT_EQ(chdir(before.c_str()), 0);
}

TEST(StartedProgramsTest, TheMailAddressIsOneEncodedUrlWhateverItHolds) {
  for (const std::string& subject :
       {std::string("Sysvane, Version 2.0"), std::string("a b\"c'$(id)`x`;|&\n%00 d")}) {
    const std::string url = QtDesktop::MailtoUrl("support@quorvale.example", subject);
    EXPECT_TRUE(
        std::regex_match(url, std::regex("mailto:support@quorvale\\.example\\?subject=[A-Za-z0-9%._~-]*")))
        << url;
  }
}

TEST(WrittenFilesTest, AreTheUsersAloneWhateverTheUmask) {
  for (const mode_t mask : {mode_t(022), mode_t(002), mode_t(0)}) {
    ConfigHome home;
    Umask umask(mask);
    qt::QtSettingsBackend settings;
    ASSERT_TRUE(settings.Write("", "Settings", "ShowCPU", "1"));
    EXPECT_EQ(home.Mode("config/Sysvane"), 0700u) << std::oct << mask;
    EXPECT_EQ(home.Mode("config/Sysvane/Sysvane.conf"), 0600u) << std::oct << mask;
    ASSERT_TRUE(settings.Write("", "Settings", "ShowCPU", "0"));
    EXPECT_EQ(home.Mode("config/Sysvane/Sysvane.conf"), 0600u) << "after a replacement too";

    QtDesktop desktop;
    fake::FakeRuntime runtime;
    ShortcutMaintenance shortcuts(desktop, runtime);
    shortcuts.CreateStartupShortcut("Sysvane", "/opt/sysvane/bin/sysvane", "");
    EXPECT_TRUE(runtime.msgBoxes.empty());
    EXPECT_EQ(home.Mode("config/autostart"), 0700u) << std::oct << mask;
    EXPECT_EQ(home.Mode("config/autostart/Sysvane.desktop"), 0600u) << std::oct << mask;
    EXPECT_EQ(home.Mode("data/applications"), 0700u) << std::oct << mask;

    qt::InstanceLock lock(QString::fromStdString(home.Path("runtime/sysvane.lock")));
    EXPECT_FALSE(lock.HeldElsewhere());
    EXPECT_EQ(home.Mode("runtime/sysvane.lock"), 0600u) << std::oct << mask;

    // Nothing else was left beside them.
    EXPECT_EQ(home.Entries("config/Sysvane"), std::vector<std::string>{"Sysvane.conf"});
    EXPECT_EQ(home.Entries("config/autostart"), std::vector<std::string>{"Sysvane.desktop"});
    EXPECT_TRUE(home.Entries("data/applications").empty());
  }
}

// A link where a file of the program belongs, to a file of someone else's or to nothing.
TEST(WrittenFilesTest, ALinkPlantedInPlaceOfAFileIsNeverFollowed) {
  const std::vector<std::string> places = {"config/Sysvane/Sysvane.conf", "config/autostart/Sysvane.desktop",
                                           "data/applications/Sysvane.desktop", "runtime/sysvane.lock"};
  for (const bool dangling : {false, true}) {
    for (const std::string& place : places) {
      ConfigHome home;
      const std::string victim = home.Path("elsewhere/victim");
      if (!dangling) {
        home.WriteFile("elsewhere/victim", "someone else's file\n");
        ASSERT_EQ(chmod(victim.c_str(), 0644), 0);
      }
      std::filesystem::create_directories(std::filesystem::path(home.Path(place)).parent_path());
      ASSERT_EQ(symlink(victim.c_str(), home.Path(place).c_str()), 0);

      qt::QtSettingsBackend settings;
      settings.Write("", "Settings", "ShowCPU", "1");
      QtDesktop desktop;
      fake::FakeRuntime runtime;
      ShortcutMaintenance(desktop, runtime).CreateStartupShortcut("Sysvane", "/opt/sysvane/bin/sysvane", "");
      qt::InstanceLock lock(QString::fromStdString(home.Path("runtime/sysvane.lock")));
      lock.HeldElsewhere();

      if (dangling) {
        EXPECT_FALSE(home.Exists("elsewhere/victim")) << place << ": the link was followed";
      } else {
        EXPECT_EQ(home.Text("elsewhere/victim"), "someone else's file\n") << place;
        EXPECT_EQ(home.Mode("elsewhere/victim"), 0644u) << place;
      }
      if (place != "runtime/sysvane.lock") {
        EXPECT_FALSE(home.IsLink(place)) << place << ": the file replaces the link";
      }
    }
  }
}

}  // namespace
}  // namespace sysvane::faults
