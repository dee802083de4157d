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
};
struct ShortcutTest : ::testing::Test, Shortcuts {};

TEST(ShortcutTargets, AnEntryIsWrittenOnlyForATargetLaunchersCanStart) {
  const std::pair<std::string, bool> rows[] = {{"/opt/sysvane/bin/sysvane", true},
                                               {"/home/a b/$x/`id`/it's \\\"q\"", true},
                                               {"/home/caf\xC3\xA9/\xF0\x9F\x98\x80", true},
                                               {"/home/100%/sysvane", false},  // GLib looks for "100%%"
                                               {"/home/a\nb/sysvane", false},
                                               {"/home/\xFF/sysvane", false},  // not UTF-8
                                               {"/home/\xC0\xAF/sysvane", false},
                                               {"/home/\xED\xA0\x80/sysvane", false},  // overlong, surrogate
                                               {"/home/\xE2\x82/sysvane", false},
                                               {"", false}};
  for (const auto& [target, made] : rows) {
    SCOPED_TRACE(target);
    Shortcuts t;
    t.shortcuts.CreateStartupShortcut("Sysvane", target, "");
    EXPECT_EQ(t.shortcuts.StartupShortcutExists("Sysvane"), made);
    EXPECT_EQ(t.desktop.files.size(), size_t(made));  // nothing left in the Programs menu
    if (made) {
      EXPECT_EQ(t.desktop.log,
                (std::vector<std::string>{"mkdir /home/user/.local/share/applications", "write " + t.programs,
                                          "mkdir /home/user/.config/autostart",
                                          "move " + t.programs + " " + t.autostart}));
    } else {
      ASSERT_EQ(t.runtime.msgBoxes.size(), 1u);
      EXPECT_EQ(t.runtime.msgBoxes[0].prompt, "Unable to create shortcut for " + target + ".");
      EXPECT_EQ(t.runtime.msgBoxes[0].style, 64);
      EXPECT_EQ(t.runtime.msgBoxes[0].title, "Sysvane");
    }
  }
}

TEST(ShortcutEntries, AnEntryTheDesktopSwitchedOffReadsClearAndASaveMakesItAfresh) {
  const std::pair<const char*, bool> rows[] = {
      {"Hidden=true", false},
      {"X-GNOME-Autostart-enabled=false", false},
      {"  Hidden = 1 ", false},
      {"X-GNOME-Autostart-enabled=0\r", false},
      {"X-GNOME-Autostart-enabled=true\nHidden=true", false},
      {"Hidden=false", true},
      {"X-GNOME-Autostart-enabled=true", true},
      {"Hidden=yes", true},  // no boolean: the default
      {"[Desktop Action off]\nHidden=true", true},
      {"#Hidden=true", true},
  };
  for (const auto& [line, enabled] : rows) {
    SCOPED_TRACE(line);
    Shortcuts t;
    t.desktop.files[t.autostart] =
        std::string("[Desktop Entry]\nType=Application\nExec=/opt/s\n") + line + "\n";
    EXPECT_EQ(t.shortcuts.StartupShortcutExists("Sysvane"), enabled);
    t.shortcuts.CreateStartupShortcut("Sysvane", "/opt/s", "");
    EXPECT_TRUE(t.shortcuts.StartupShortcutExists("Sysvane"));
  }
}

TEST_F(ShortcutTest, AFailedWriteIsReportedAndAFailedMoveIsNot) {
  desktop.files[autostart] = "[Desktop Entry]\n";
  desktop.writesFail = true;
  shortcuts.CreateStartupShortcut("Sysvane", "/opt/s", "");
  EXPECT_EQ(runtime.msgBoxes.size(), 1u);
  EXPECT_EQ(desktop.files[autostart], "[Desktop Entry]\n");  // nothing touched before the entry exists
  desktop.writesFail = false;
  desktop.movesFail = true;
  shortcuts.CreateStartupShortcut("Sysvane", "/opt/s", "");
  EXPECT_EQ(runtime.msgBoxes.size(), 1u);
  EXPECT_TRUE(desktop.FileExists(programs));  // stays in the Programs menu
}

TEST_F(ShortcutTest, OnlyTheAutostartFolderCountsAndIsCleared) {
  desktop.files[programs] = "[Desktop Entry]\n";
  EXPECT_FALSE(shortcuts.StartupShortcutExists("Sysvane"));
  desktop.files[autostart] = "[Desktop Entry]\n";
  shortcuts.RemoveStartupShortcut("Sysvane");
  shortcuts.RemoveStartupShortcut("Sysvane");  // nothing there: silent
  EXPECT_EQ(desktop.files.count(autostart), 0u);
  EXPECT_EQ(desktop.files.count(programs), 1u);
  EXPECT_TRUE(runtime.msgBoxes.empty());
  // Folders that are not the desktop's own touch nothing.
  desktop.dataHome = "";
  shortcuts.CreateStartupShortcut("Sysvane", "/opt/s", "");
  EXPECT_EQ(runtime.msgBoxes.size(), 1u);
  desktop.configHome = "relative/config";
  desktop.files["relative/config/autostart/Sysvane.desktop"] = "[Desktop Entry]\n";
  shortcuts.RemoveStartupShortcut("Sysvane");
  EXPECT_FALSE(shortcuts.StartupShortcutExists("Sysvane"));
  EXPECT_EQ(desktop.files.size(), 2u);
}

}  // namespace
}  // namespace sysvane
