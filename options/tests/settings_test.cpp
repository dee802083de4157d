#include "options/settings.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_platform.h"

namespace sysvane {
namespace {

// The one switch rule every reader but the Options dialog uses: on exactly when the number is 1,
// read in the C conventions around any blanks, with at most one plus sign in front.
TEST(Settings, OnlyTheNumberOneIsOnAndDamagedTrayIconChoicesAreTheProgramIcon) {
  // clang-format off
  const std::pair<const char*, bool> rows[] = {
      {"1", true}, {"\t1\r\n ", true}, {"+1", true}, {"1e0", true}, {"2", false}, {"-1", false},
      {"abc", false}, {" ", false}, {"inf", false}, {"1,0", false}, {"1 1", false}, {"++1", false}};
  // clang-format on
  for (const auto& [text, on] : rows) EXPECT_EQ(SwitchIsOn(text), on) << '"' << text << '"';
  const std::pair<const char*, std::optional<double>> numbers[] = {
      {" 9360 ", 9360.0}, {"-120.5", -120.5}, {"1e999", std::nullopt}, {"-inf", std::nullopt}};
  for (const auto& [text, number] : numbers) EXPECT_EQ(ParseNumber(text), number) << text;
  // The tray icon choice: 1 and 2 as numbers; anything damaged or unknown is the program's icon.
  using Shows = Settings::TrayIconShows;
  // clang-format off
  const std::pair<const char*, Shows> icons[] = {{"1", Shows::CpuDigits}, {" 2\r\n", Shows::CpuAndMemoryBars},
      {"2e0", Shows::CpuAndMemoryBars}, {"0", Shows::ProgramIcon}, {"3", Shows::ProgramIcon},
      {"1.5", Shows::ProgramIcon}, {"", Shows::ProgramIcon}, {"65537", Shows::ProgramIcon}};
  // clang-format on
  for (const auto& [text, shows] : icons) EXPECT_EQ(TrayIconFromText(text), shows) << '"' << text << '"';
}

// A missing key reads as its default; the options count as saved only under "Yes" itself; a refused
// write changes nothing.
TEST(Settings, ReadersDefaultsDefinedAndRefusedWrites) {
  fake::FakeSettingsBackend backend;
  Settings settings{backend};
  EXPECT_TRUE(settings.IsOn("ShowSplash", true) && !settings.IsOn("ShowCPU") &&
              !settings.ReadNumber("MainLeft"));
  EXPECT_EQ(settings.TrayIcon(), Settings::TrayIconShows::ProgramIcon);
  for (const char* text : {"", "yes", "Yes ", "1"}) {
    backend.values["Defined"] = text;
    EXPECT_FALSE(settings.IsDefined()) << text;
  }
  EXPECT_TRUE(settings.Write("Defined", "Yes") && settings.Write("ShowSplash", "0"));
  EXPECT_TRUE(settings.IsDefined() && !settings.IsOn("ShowSplash", true));
  backend.refuseWrites = true;
  EXPECT_FALSE(settings.Write("ShowSplash", "1") || settings.IsOn("ShowSplash", true));
}

}  // namespace
}  // namespace sysvane
