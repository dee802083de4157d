// Kill -9 in the middle of saves, a hundred times each: a child saves in a loop through the
// program's real writers and is killed at random moments once it has saved. The settings file and
// the start-up entry are always one save's whole file, never a mix or a part, never gone.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>
#include <regex>

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

// Saves until killed: Counter=N, then Payload=<N's text>, N going on from the number the settings
// file holds; or the start-up entry for /opt/sysvane-N/sysvane, N + 1 ...
[[noreturn]] void SaveForever(const std::string& mode, const std::string& path, long n) {
  if (mode == "settings") {
    qt::QtSettingsBackend settings(path);
    for (n = std::stol(settings.Read("", "Settings", "Counter").value_or("0")) + 1;; ++n) {
      if (!settings.Write("", "Settings", "Counter", std::to_string(n))) _exit(1);
      if (!settings.Write("", "Settings", "Payload", Payload(n))) _exit(1);
    }
  }
  QtDesktop desktop;
  fake::FakeRuntime runtime;  // a failure would show a message box
  for (ShortcutMaintenance shortcuts(desktop, runtime); runtime.msgBoxes.empty(); ++n)
    shortcuts.CreateStartupShortcut("Sysvane", ProgramOf(n), "");
  _exit(1);
}

std::string SettingsText(long counter, long payload) {
  return "; kept comment\n[Settings]\nMine=keep me\nCounter=" + std::to_string(counter) +
         "\nPayload=" + Payload(payload) + "\n\n[Other]\nX=1\n";
}

std::string EntryText(long generation) {
  DesktopEntry entry{
      "Sysvane", "System monitor in the notification area", "sysvane", {ProgramOf(generation)}};
  return FormatDesktopEntry(entry).value_or("");
}

// The number that ends the line beginning with `start` (after a payload's letters), or -1.
long NumberEnding(const std::string& text, const std::string& start) {
  const size_t at = text.find(start);
  const size_t digits = at == std::string::npos ? at : text.find_first_of("0123456789", at + 1);
  return digits == std::string::npos ? -1 : std::stol(text.substr(digits, 20));
}

// The save a whole file holds (the counter's, for settings), or -1 when it is no whole save.
long SaveIn(const std::string& text) {
  // A kill between the two writes of a save leaves the counter new and the payload older.
  const long counter = NumberEnding(text, "\nCounter="), payload = NumberEnding(text, "\nPayload=");
  if (counter >= 0) return payload <= counter && text == SettingsText(counter, payload) ? counter : -1;
  std::smatch m;
  if (!std::regex_search(text, m, std::regex("\nExec=/opt/sysvane-(\\d+)/sysvane\n"))) return -1;
  return text == EntryText(std::stol(m[1])) ? std::stol(m[1]) : -1;
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
    home.Write(kSettingsFile, SettingsText(0, 0));
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
