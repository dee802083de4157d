// Kill -9 in the middle of saves, a hundred times each: a child saves in a loop through the
// program's real writers and is killed at random moments once it has saved. The settings file and
// the start-up entry are always one save's whole file, never a mix or a part, never gone.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>

#include "options/desktop_entry.h"
#include "options/shortcut_maintenance.h"
#include "platform/fake/fake_forms.h"
#include "platform/qt/qt_desktop.h"
#include "platform/qt/qt_settings.h"
#include "tests/faults/config_home.h"

namespace sysvane::faults {
namespace {

// A value big enough that writing the file takes a while: a kill often lands in the middle.
std::string Payload(long generation) {
  return std::string(200'000, char('a' + generation % 26)) + std::to_string(generation);
}
std::string ProgramOf(long generation) {
  return "/opt/sysvane-" + std::to_string(generation) + "/sysvane";
}

// Saves generation n, n + 1 ... until killed: the settings' payload, or the start-up entry of
// /opt/sysvane-N/sysvane.
[[noreturn]] void SaveForever(const std::string& mode, const std::string& path, long n) {
  if (mode == "settings") {
    qt::QtSettingsBackend settings(path);
    while (settings.Write("", "Settings", "Payload", Payload(n))) ++n;
    _exit(1);
  }
  QtDesktop desktop;
  fake::FakeRuntime runtime;  // a failure would show a message box
  for (ShortcutMaintenance shortcuts(desktop, runtime); runtime.msgBoxes.empty(); ++n)
    shortcuts.CreateStartupShortcut("Sysvane", ProgramOf(n), "");
  _exit(1);
}

std::string SettingsText(long generation) {
  return "; kept comment\n[Settings]\nMine=keep me\nPayload=" + Payload(generation) + "\n\n[Other]\nX=1\n";
}

std::string EntryText(long generation) {
  DesktopEntry entry{
      "Sysvane", "System monitor in the notification area", "sysvane", {ProgramOf(generation)}};
  return FormatDesktopEntry(entry).value_or("");
}

// The generation a file holds when it is one save's whole file, or -1: the number after the
// payload's letters or in the program's folder.
long SaveIn(const std::string& text) {
  for (const char* before : {"\nPayload=", "\nExec=/opt/sysvane-"}) {
    const size_t at = text.find(before);
    const size_t digits = at == std::string::npos ? at : text.find_first_of("0123456789", at);
    if (digits == std::string::npos) continue;
    const long generation = std::stol(text.substr(digits, 20));
    if (text == SettingsText(generation) || text == EntryText(generation)) return generation;
  }
  return -1;
}

ino_t Inode(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

TEST(KillDuringSaveTest, TheFileIsAlwaysOneSavesWholeFileAndNeverGoesBack) {
  struct Case {
    std::string mode, file, writtenIn;  // the folder where a killed save leaves its unfinished file
  };
  for (const Case& c : {Case{"settings", kSettingsFile, "config/Sysvane"},
                        Case{"autostart", "config/autostart/Sysvane.desktop", "data/applications"}}) {
    ConfigHome home;
    home.Write(kSettingsFile, SettingsText(0));
    std::mt19937 random(99);
    long saved = 1;
    int midWrite = 0;
    for (int round = 0; round < 100; ++round) {
      const ino_t before = Inode(home.Path(c.file));
      const pid_t pid = fork();
      if (pid == 0) SaveForever(c.mode, home.Path(c.file), saved + 1);
      ASSERT_GT(pid, 0);
      for (int ms = 0; ms < 5000 && Inode(home.Path(c.file)) == before; ++ms) usleep(1000);  // its first save
      usleep(random() % 3000);
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
      const long now = SaveIn(home.Text(c.file));
      ASSERT_GE(now, saved) << c.mode << ", round " << round
                            << ": not one save's whole file, or an older one";
      saved = now;
      for (const auto& name : home.Entries(c.writtenIn)) {
        if (c.file.ends_with("/" + name)) continue;
        std::filesystem::remove(home.Path(c.writtenIn + "/" + name));
        ++midWrite;
      }
    }
    EXPECT_TRUE(midWrite > 0 || c.mode == "autostart")
        << "no kill landed inside a save: the test proved nothing";
  }
}

}  // namespace
}  // namespace sysvane::faults
