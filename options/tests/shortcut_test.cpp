#include <gtest/gtest.h>

#include "options/desktop_entry.h"
#include "options/shortcut_maintenance.h"
#include "options/tests/desktop_entry_reader.h"
#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_forms.h"

namespace sysvane {
namespace {

using testing::CommandOfEntry;
using testing::ReadEntryGroup;

const std::vector<std::string> kHostileFolders = {
    "/opt/plain",
    "/home/a b/c  d",
    "/home/it's",
    "/home/\"quoted\"",
    "/home/back\\slash\\",
    "/home/$HOME/${x}",
    "/home/`id`",
    "/home/100%/%f%u%%",
    "/home/;|&<>~#*?()",
    "/home/a=b",
    "/home/caf\xC3\xA9 \\\"$`%",
};

DesktopEntry Entry(std::vector<std::string> command) {
  DesktopEntry entry;
  entry.name = "Sysvane";
  entry.comment = "A monitor";
  entry.icon = "sysvane";
  entry.command = std::move(command);
  return entry;
}

TEST(DesktopEntryTest, QuotesOnlyWhatTheCommandLineWouldSplitOrInterpret) {
  EXPECT_EQ(QuoteExecArgument("/opt/sysvane/bin/sysvane"), "/opt/sysvane/bin/sysvane");
  EXPECT_EQ(QuoteExecArgument("/home/a b/x"), "\"/home/a b/x\"");
  EXPECT_EQ(QuoteExecArgument("/x/$y"), "\"/x/\\$y\"");
  EXPECT_EQ(QuoteExecArgument("/x/a\\b"), "\"/x/a\\\\b\"");
  EXPECT_EQ(QuoteExecArgument("/x/100%"), "/x/100%%");
  EXPECT_EQ(QuoteExecArgument(""), "\"\"");
  EXPECT_EQ(QuoteExecArgument("/x/a\nb"), std::nullopt);
  EXPECT_EQ(QuoteExecArgument("/x/a\tb"), std::nullopt);
}

TEST(DesktopEntryTest, ABackslashInAQuotedArgumentIsWrittenFourTimes) {
  const auto text = FormatDesktopEntry(Entry({"/x/a\\b c"}));
  ASSERT_TRUE(text);
  EXPECT_EQ(ReadEntryGroup(*text)["Exec"], "\"/x/a\\\\\\\\b c\"");
}

TEST(DesktopEntryTest, EveryHostileFolderComesBackUnchanged) {
  for (const auto& folder : kHostileFolders) {
    const std::string program = folder + "/sysvane";
    const auto text = FormatDesktopEntry(Entry({program, "--flag %"}));
    ASSERT_TRUE(text) << folder;
    const auto command = CommandOfEntry(*text);
    ASSERT_TRUE(command) << *text;
    EXPECT_EQ(*command, (std::vector<std::string>{program, "--flag %"})) << *text;
  }
}

TEST(DesktopEntryTest, TheEntryIsAnApplicationThatStartsWithTheSession) {
  const auto text = FormatDesktopEntry(Entry({"/opt/s"}));
  ASSERT_TRUE(text);
  EXPECT_EQ(text->rfind("[Desktop Entry]\n", 0), 0u);
  auto keys = ReadEntryGroup(*text);
  EXPECT_EQ(keys["Type"], "Application");
  EXPECT_EQ(keys["Name"], "Sysvane");
  EXPECT_EQ(keys["Icon"], "sysvane");
  EXPECT_EQ(keys["X-GNOME-Autostart-enabled"], "true");
}

class ShortcutTest : public ::testing::Test {
 protected:
  fake::FakeDesktop desktop;
  fake::FakeRuntime runtime;
  ShortcutMaintenance shortcuts{desktop, runtime};
  const std::string autostart = "/home/user/.config/autostart/Sysvane.desktop";
  const std::string programs = "/home/user/.local/share/applications/Sysvane.desktop";
};

TEST_F(ShortcutTest, TheLauncherIsMadeInTheProgramsMenuThenMovedToAutostart) {
  for (const auto& folder : kHostileFolders) {
    desktop.log.clear();
    shortcuts.CreateStartupShortcut("Sysvane", folder + "/sysvane", "");
    ASSERT_TRUE(desktop.FileExists(autostart)) << folder;
    EXPECT_FALSE(desktop.FileExists(programs));
    EXPECT_EQ(CommandOfEntry(desktop.files[autostart]), std::vector<std::string>{folder + "/sysvane"});
    EXPECT_EQ(desktop.log, (std::vector<std::string>{
                               "mkdir /home/user/.local/share/applications", "write " + programs,
                               "mkdir /home/user/.config/autostart", "move " + programs + " " + autostart}));
  }
  EXPECT_TRUE(shortcuts.StartupShortcutExists("Sysvane"));
  EXPECT_EQ(desktop.files.size(), 1u);
  EXPECT_TRUE(runtime.msgBoxes.empty());

  shortcuts.RemoveStartupShortcut("Sysvane");
  EXPECT_FALSE(shortcuts.StartupShortcutExists("Sysvane"));
  shortcuts.RemoveStartupShortcut("Sysvane");  // nothing there: silent
  EXPECT_TRUE(runtime.msgBoxes.empty());
}

TEST_F(ShortcutTest, ATargetNoLauncherCanNameIsReported) {
  shortcuts.CreateStartupShortcut("Sysvane", "/home/new\nline/sysvane", "");
  ASSERT_EQ(runtime.msgBoxes.size(), 1u);
  EXPECT_EQ(runtime.msgBoxes[0].prompt, "Unable to create shortcut for /home/new\nline/sysvane.");
  EXPECT_EQ(runtime.msgBoxes[0].style, 64);
  EXPECT_EQ(runtime.msgBoxes[0].title, "Sysvane");
  EXPECT_TRUE(desktop.files.empty());
}

TEST_F(ShortcutTest, AFailedWriteIsReportedAndAFailedMoveIsNot) {
  desktop.files[autostart] = "old";
  desktop.writesFail = true;
  shortcuts.CreateStartupShortcut("Sysvane", "/opt/s", "");
  EXPECT_EQ(runtime.msgBoxes.size(), 1u);
  EXPECT_EQ(desktop.files[autostart], "old");  // nothing touched before the launcher exists

  desktop.writesFail = false;
  desktop.movesFail = true;
  shortcuts.CreateStartupShortcut("Sysvane", "/opt/s", "");
  EXPECT_EQ(runtime.msgBoxes.size(), 1u);
  EXPECT_TRUE(desktop.FileExists(programs));  // stays in the Programs menu
}

TEST_F(ShortcutTest, UnknownFoldersTouchNothing) {
  desktop.dataHome = "";
  shortcuts.CreateStartupShortcut("Sysvane", "/opt/s", "");
  EXPECT_EQ(runtime.msgBoxes.size(), 1u);
  desktop.configHome = "relative/config";
  desktop.files["relative/config/autostart/Sysvane.desktop"] = "someone else's";
  shortcuts.RemoveStartupShortcut("Sysvane");
  EXPECT_FALSE(shortcuts.StartupShortcutExists("Sysvane"));
  EXPECT_EQ(desktop.files.size(), 1u);
  for (const auto& entry : desktop.log) EXPECT_NE(entry.rfind("delete", 0), 0u) << entry;
}

TEST_F(ShortcutTest, OnlyTheAutostartFolderCountsAndIsCleared) {
  desktop.files[programs] = "a launcher of the user's own";
  EXPECT_FALSE(shortcuts.StartupShortcutExists("Sysvane"));
  desktop.files[autostart] = "x";
  shortcuts.RemoveStartupShortcut("Sysvane");
  EXPECT_FALSE(desktop.FileExists(autostart));
  EXPECT_TRUE(desktop.FileExists(programs));
}

}  // namespace
}  // namespace sysvane
