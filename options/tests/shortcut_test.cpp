// The start-up shortcut on the fake desktop: where the entry goes, which targets it refuses, and
// which entries the desktop would start.
#include <gtest/gtest.h>

#include "options/shortcut_maintenance.h"
#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_forms.h"

namespace sysvane {
namespace {

struct Shortcuts {
  // The entry for /opt/s; the messages shown so far.
  size_t Create(const std::string& target = "/opt/s") {
    shortcuts.CreateStartupShortcut("Sysvane", target, "");
    return runtime.msgBoxes.size();
  }
  bool Exists() { return shortcuts.StartupShortcutExists("Sysvane"); }

  fake::FakeDesktop desktop;
  fake::FakeRuntime runtime;
  ShortcutMaintenance shortcuts{desktop, runtime};
  const std::string autostart = "/home/user/.config/autostart/Sysvane.desktop";
  const std::string programs = "/home/user/.local/share/applications/Sysvane.desktop";
};

// GLib-based launchers look for "100%%" and drop the entry; no launcher reads text that is not
// UTF-8 (a stray byte, a cut sequence, an overlong form, a surrogate, past U+10FFFF) or holds a
// newline, while the least character of each lead byte (U+00A7, U+0800) is UTF-8 all the same. A
// made entry lies in the autostart folder alone.
TEST(ShortcutTargets, AnEntryIsWrittenOnlyForATargetLaunchersCanStart) {
  // clang-format off
  const std::pair<std::string, bool> rows[] = {
      {"/opt/sysvane/bin/sysvane", true}, {"/home/\xEF\xBF\xBD/\xF4\x8F\xBF\xBF", true},
      {"/home/\xC2\xA7/\xE0\xA0\x80\xE0\xA4\x85", true}, {"/home/100%/sysvane", false},
      {"/home/\xFF/sysvane", false}, {"/home/a\nb/sysvane", false}, {"/home/\xE2\x82/sysvane", false},
      {"/home/\xC0\xAF/sysvane", false}, {"/home/\xED\xA0\x80/sysvane", false}, {"", false},
      {"/home/\xF4\x90\x80\x80/sysvane", false}};
  // clang-format on
  for (const auto& [target, made] : rows) {
    Shortcuts t;
    const size_t messages = t.Create(target);
    EXPECT_EQ(std::tuple(messages, t.Exists(), t.desktop.files.size()),
              std::tuple(size_t(!made), made, size_t(made)))
        << target;
  }
}

// Values that are no boolean, other groups and comments switch nothing off.
TEST(ShortcutEntries, AnEntryTheDesktopSwitchedOffReadsClearAndASaveMakesItAfresh) {
  // clang-format off
  const std::pair<const char*, bool> rows[] = {
      {"Hidden=true", false}, {"X-GNOME-Autostart-enabled=false", false}, {"  Hidden = 1 ", false},
      {"X-GNOME-Autostart-enabled=0\r", false}, {"X-GNOME-Autostart-enabled=true\nHidden=true", false},
      {"Hidden=false", true}, {"Hidden=yes", true}, {"[Desktop Action off]\nHidden=true", true},
      {"#Hidden=true", true}};
  // clang-format on
  for (const auto& [line, enabled] : rows) {
    Shortcuts t;
    t.desktop.files[t.autostart] = std::string("[Desktop Entry]\nExec=/opt/s\n") + line + "\n";
    EXPECT_EQ(t.Exists(), enabled) << line;
    t.Create();
    EXPECT_TRUE(t.Exists()) << line;
  }
}

// A failed write is reported; a failed move is not (the older entry keeps starting the program).
TEST(ShortcutFailures, AFailedWriteIsReportedAndNothingElseIs) {
  Shortcuts t;
  t.desktop.files[t.autostart] = "old";
  t.desktop.writesFail = true;
  EXPECT_EQ(t.Create(), 1u);
  t.desktop.writesFail = false;
  t.desktop.movesFail = true;
  EXPECT_EQ(t.Create(), 1u);
  EXPECT_EQ(t.desktop.files[t.autostart], "old");
  t.desktop.movesFail = false;
  t.desktop.files["/home/user/.local/share/applications"] = "a file where the folder belongs";
  EXPECT_EQ(t.Create(), 2u);
}

}  // namespace
}  // namespace sysvane
