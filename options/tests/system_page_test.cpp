#include "options/system_page.h"

#include <gtest/gtest.h>

#include "options/tests/options_fixture.h"

namespace sysvane {
namespace {

using SystemPageTest = testing::OptionsFixture;

TEST_F(SystemPageTest, ShowsTheFactsOfALinuxMachine) {
  Options& o = Open();
  EXPECT_EQ(o.SystemText[0].Caption(), "Processor type:");
  EXPECT_EQ(o.SystemInfo[0].Caption(), "Intel(R) Core(TM) i5 (2.40 GHz)");
  EXPECT_EQ(o.SystemInfo[1].Caption(), "4");
  EXPECT_EQ(o.SystemInfo[2].Caption(), "8,589,934,592 bytes");
  EXPECT_EQ(o.SystemInfo[3].Caption(), "140,737,488,355,328 bytes");
  EXPECT_EQ(o.SystemInfo[4].Caption(), "1920 x 1080");
  EXPECT_EQ(o.SystemText[5].Caption(), "Linux version:");
  // 30 characters of 90 twips would wrap into the version line below.
  EXPECT_EQ(o.SystemInfo[5].Caption(), "Debian GNU/Linux 12");
  EXPECT_EQ(o.WinVersion.Caption(), "Version 6.1 Build 76");
  EXPECT_EQ(o.SystemText[6].Caption(), "C: drive disk size:");
  EXPECT_EQ(o.SystemInfo[6].Caption(), "107,374,182,400 bytes");
  EXPECT_FALSE(o.SystemText[7].Visible());  // drive C alone: no further rows
  EXPECT_EQ(o.SystemText[7].Caption(), "Label1");
  for (int i = 0; i < 7; ++i) EXPECT_EQ(o.SystemInfo[i].ContainerPage(), 2) << i;
}

TEST_F(SystemPageTest, WindowsKeepsItsNamingTable) {
  fp.kernel.systemName.reset();
  fp.kernel.version = OSVERSIONINFO{148, 5, 1, 2600, VER_PLATFORM_WIN32_NT, ""};
  fp.runtime.locale.thousandsSeparator = ".";
  Options& o = Open();
  EXPECT_EQ(o.SystemText[5].Caption(), "Windows version:");
  EXPECT_EQ(o.SystemInfo[5].Caption(), "Windows XP");
  EXPECT_EQ(o.WinVersion.Caption(), "Version 5.1 Build 2600");
  EXPECT_EQ(o.Check0[0].Caption(), "Run program at Windows StartUp?");
  EXPECT_EQ(o.SystemInfo[2].Caption(), "8.589.934.592 bytes");
}

TEST(FitSystemNameTest, DropsOnlyATrailingParenthesisedPartAndOnlyWhenNeeded) {
  const auto measure = [](const std::string& text) { return forms::Twips(text.size() * 90); };
  EXPECT_EQ(FitSystemName("Debian GNU/Linux 12 (bookworm)", 2055, measure), "Debian GNU/Linux 12");
  EXPECT_EQ(FitSystemName("Debian GNU/Linux 12 (bookworm)", 3000, measure), "Debian GNU/Linux 12 (bookworm)");
  EXPECT_EQ(FitSystemName("Some Very Long Distribution Name 2024", 2055, measure),
            "Some Very Long Distribution Name 2024");
  EXPECT_EQ(FitSystemName("(x)", 90, measure), "(x)");
  // Exactly as wide as the label still wraps once the screen rounds it to pixels.
  EXPECT_EQ(FitSystemName("Arch (x)", 720, measure), "Arch");
}

TEST(ScreenResolutionTest, DividesTwipsByFifteenWhateverTheScale) {
  LocaleInfo locale;
  EXPECT_EQ(ScreenResolutionText({15360, 11520, 15, 15}, locale), "1024 x 768");
  EXPECT_EQ(ScreenResolutionText({15360, 11520, 12, 12}, locale), "1024 x 768");
  EXPECT_EQ(ScreenResolutionText({15361, 11520, 15, 15}, locale), "1024.067 x 768");
  locale.decimalSeparator = ",";
  EXPECT_EQ(ScreenResolutionText({15361, 11520, 15, 15}, locale), "1024,067 x 768");
}

}  // namespace
}  // namespace sysvane
