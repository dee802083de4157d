// The start-up shortcut on the fake desktop: where the entry goes, which targets it refuses, and
// which entries the desktop would start.
#include <gtest/gtest.h>

#include "options/shortcut_maintenance.h"
#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_forms.h"

namespace sysvane {
namespace {

struct Shortcuts {
  fake::FakeDesktop desktop;
  fake::FakeRuntime runtime;
  ShortcutMaintenance shortcuts{desktop, runtime};
  const std::string autostart = "/home/user/.config/autostart/Sysvane.desktop";
  const std::string programs = "/home/user/.local/share/applications/Sysvane.desktop";
  // The message boxes shown, as "prompt|style|title".
  std::vector<std::string> Messages() const {
    std::vector<std::string> shown;
    for (const auto& box : runtime.msgBoxes)
      shown.push_back(box.prompt + "|" + std::to_string(box.style) + "|" + box.title);
    return shown;
  }
};

// GLib-based launchers look for "100%%" and drop the entry; no launcher reads text that is not
// UTF-8 (a stray byte, a cut sequence, an overlong form, a surrogate) or holds a newline.
TEST(ShortcutTargets, AnEntryIsWrittenOnlyForATargetLaunchersCanStart) {
  const std::pair<std::string, bool> rows[] = {{"/opt/sysvane/bin/sysvane", true},
                                               {"/home/a b/$x/`id`/it's \\\"q\"", true},
                                               {"/home/caf\xC3\xA9/\xF0\x9F\x98\x80", true},
                                               {"/home/100%/sysvane", false},
                                               {"/home/a\nb/sysvane", false},
                                               {"/home/\xFF/sysvane", false},
                                               {"/home/\xE2\x82/sysvane", false},
                                               {"/home/\xC0\xAF/sysvane", false},
                                               {"/home/\xED\xA0\x80/sysvane", false},
                                               {"", false}};
  for (const auto& [target, made] : rows) {
    Shortcuts t;
    t.shortcuts.CreateStartupShortcut("Sysvane", target, "");
    const std::vector<std::string> moves{"mkdir /home/user/.local/share/applications", "write " + t.programs,
                                         "mkdir /home/user/.config/autostart",
                                         "move " + t.programs + " " + t.autostart};
    EXPECT_EQ(std::tuple(t.shortcuts.StartupShortcutExists("Sysvane"), t.desktop.files.size(), t.desktop.log,
                         t.Messages()),
              made ? std::tuple(true, size_t(1), moves, std::vector<std::string>{})
                   : std::tuple(false, size_t(0), std::vector<std::string>{},
                                std::vector<std::string>{"Unable to create shortcut for " + target +
                                                         ".|64|Sysvane"}))
        << target;
  }
}

// Values that are no boolean, other groups and comments switch nothing off.
TEST(ShortcutEntries, AnEntryTheDesktopSwitchedOffReadsClearAndASaveMakesItAfresh) {
  const std::pair<const char*, bool> rows[] = {{"Hidden=true", false},
                                               {"X-GNOME-Autostart-enabled=false", false},
                                               {"  Hidden = 1 ", false},
                                               {"X-GNOME-Autostart-enabled=0\r", false},
                                               {"X-GNOME-Autostart-enabled=true\nHidden=true", false},
                                               {"Hidden=false", true},
                                               {"X-GNOME-Autostart-enabled=true", true},
                                               {"Hidden=yes", true},
                                               {"[Desktop Action off]\nHidden=true", true},
                                               {"#Hidden=true", true}};
  for (const auto& [line, enabled] : rows) {
    Shortcuts t;
    t.desktop.files[t.autostart] =
        std::string("[Desktop Entry]\nType=Application\nExec=/opt/s\n") + line + "\n";
    EXPECT_EQ(t.shortcuts.StartupShortcutExists("Sysvane"), enabled) << line;
    t.shortcuts.CreateStartupShortcut("Sysvane", "/opt/s", "");
    EXPECT_TRUE(t.shortcuts.StartupShortcutExists("Sysvane")) << line;
  }
}

TEST(ShortcutFailures, AFailedWriteIsReportedAndNothingElseIs) {
  Shortcuts t;
  t.desktop.files[t.programs] = t.desktop.files[t.autostart] = "[Desktop Entry]\n";
  t.desktop.writesFail = true;
  t.shortcuts.CreateStartupShortcut("Sysvane", "/opt/s", "");
  EXPECT_EQ(t.Messages().size(), 1u);
  t.desktop.writesFail = false;
  t.desktop.movesFail = true;  // the new entry stays in the Programs menu, the old one starts the program
  t.shortcuts.CreateStartupShortcut("Sysvane", "/opt/s", "");
  EXPECT_NE(t.desktop.files[t.programs], t.desktop.files[t.autostart]);
  t.shortcuts.RemoveStartupShortcut("Sysvane");
  t.shortcuts.RemoveStartupShortcut("Sysvane");  // nothing there: silent
  EXPECT_EQ(
      std::tuple(t.desktop.files.count(t.autostart), t.desktop.files.count(t.programs), t.Messages().size()),
      std::tuple(0u, 1u, 1u));
  t.desktop.configHome = "relative/config";  // not the desktop's own: touched by no one
  t.desktop.files["relative/config/autostart/Sysvane.desktop"] = "[Desktop Entry]\n";
  t.shortcuts.RemoveStartupShortcut("Sysvane");
  EXPECT_FALSE(t.shortcuts.StartupShortcutExists("Sysvane"));
  EXPECT_EQ(t.desktop.files.size(), 2u);
  t.desktop.dataHome = "";
  t.shortcuts.CreateStartupShortcut("Sysvane", "/opt/s", "");
  EXPECT_EQ(t.Messages().size(), 2u);
}

}  // namespace
}  // namespace sysvane
