// Kill -9 in the middle of saves, a hundred times each: a child saves in a loop through the
// program's real writers and is killed, every other round right inside a write (the save
// announces it), else at a random moment once it has saved. The settings file and the start-up
// entry are always one save's whole file, never a mix or a part, never gone.
#include <gtest/gtest.h>
#include <poll.h>
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

// The write that stops to be killed (0: none), and the pipe that says it has begun.
int stopInWrite = 0, announceTo = -1;

// Saves generation n, n + 1 ... until killed: the settings' payload, or the start-up entry of
// /opt/sysvane-N/sysvane.
[[noreturn]] void SaveForever(const std::string& mode, const std::string& path, long n) {
  QtDesktop::writeBegun = [] {  // the chosen write says so and waits to be killed
    if (--stopInWrite == 0 && write(announceTo, "w", 1) == 1)
      for (;;) pause();
  };
  qt::QtSettingsBackend settings(path);
  QtDesktop desktop;
  fake::FakeRuntime runtime;  // a failed entry save shows a message box
  ShortcutMaintenance shortcuts(desktop, runtime);
  while (mode == "settings"
             ? settings.Write("", "Settings", "Payload", Payload(n))
             : (shortcuts.CreateStartupShortcut("Sysvane", ProgramOf(n), ""), runtime.msgBoxes.empty()))
    ++n;
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

// The generation a file holds when it is one save's whole file, or -1: its first number, after
// the payload's letters or in the program's folder.
long SaveIn(const std::string& text) {
  const size_t digits = text.find_first_of("0123456789");
  const long generation = digits == std::string::npos ? -1 : std::stol(text.substr(digits, 18));
  return text == SettingsText(generation) || text == EntryText(generation) ? generation : -1;
}

TEST(KillDuringSaveTest, TheFileIsAlwaysOneSavesWholeFileAndNeverGoesBack) {
  // What is saved, its file, and the folder where a killed save leaves its unfinished file.
  for (const auto& [mode, file, writtenIn] :
       {std::tuple<std::string, std::string, std::string>{"settings", kSettingsFile, "config/Sysvane"},
        {"autostart", "config/autostart/Sysvane.desktop", "data/applications"}}) {
    ConfigHome home;
    home.Write(kSettingsFile, SettingsText(0));
    std::mt19937 random(99);
    long saved = 1;
    for (int round = 0; round < 100; ++round) {
      SCOPED_TRACE(mode + ", round " + std::to_string(round));
      // Odd rounds stop inside the first, second or third save's write: the saves before it are
      // whole, so the file must hold exactly the last of them. Round 0 makes the first file.
      stopInWrite = round % 2 == 1 ? 1 + int(random() % 3) : 0;
      int announced[2];
      ASSERT_EQ(pipe(announced), 0);
      announceTo = announced[1];
      const pid_t pid = fork();
      if (pid == 0) SaveForever(mode, home.Path(file), saved + 1);
      ASSERT_GT(pid, 0);
      close(announced[1]);
      pollfd begun{announced[0], POLLIN, 0};
      EXPECT_TRUE(stopInWrite == 0 || poll(&begun, 1, 30'000) == 1) << "no write began";
      // Else its first save, then a random moment.
      for (int ms = 0; !stopInWrite && ms < 5000 && SaveIn(home.Text(file)) <= saved; ++ms) usleep(1000);
      if (!stopInWrite) usleep(random() % 3000);
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
      close(announced[0]);
      const long now = SaveIn(home.Text(file));
      ASSERT_TRUE(now >= saved && (stopInWrite == 0 || now == saved + stopInWrite - 1))
          << "not the last whole save but " << now << " after " << saved;
      saved = now;
      int unfinished = 0;
      for (const auto& entry : std::filesystem::directory_iterator(home.Path(writtenIn)))  // each removed
        if (entry.path().filename() != std::filesystem::path(file).filename())
          unfinished += std::filesystem::remove(entry.path());
      EXPECT_TRUE(stopInWrite == 0 || unfinished == 1) << "killed before its write";
    }
  }
}

}  // namespace
}  // namespace sysvane::faults
