#include <gtest/gtest.h>

#include "monitor/display.h"
#include "options/tests/desktop_entry_reader.h"
#include "options/tests/options_fixture.h"

namespace sysvane {
namespace {

using OptionsTest = testing::OptionsFixture;

const std::vector<std::string> kSwitchOrder = {
    "Defined",     "ShowStatsAtStartup", "ShowOnTop",   "ShowSplash",   "ShowCPU",     "ShowPhysMem",
    "ShowVirtMem", "ShowSysRsrc",        "ShowGDIRsrc", "ShowUserRsrc", "ShowBattery", "ShowCdrive"};

TEST_F(OptionsTest, AFirstRunStartsFromTheDefaults) {
  Options& o = Open();
  EXPECT_EQ(o.Caption(), " Sysvane Options");
  EXPECT_EQ(o.Check0[0].Caption(), "Run program at Linux StartUp?");
  EXPECT_EQ(o.Check0[3].Caption(), "Display splash screen at StartUp?");
  EXPECT_EQ(
      (std::vector<int>{o.Check0[0].Value(), o.Check0[1].Value(), o.Check0[2].Value(), o.Check0[3].Value()}),
      (std::vector<int>{0, 1, 0, 1}));
  for (int i = 0; i < 15; ++i) EXPECT_EQ(o.Check1[i].Value(), 0) << i;
  EXPECT_FALSE(o.applyButton.Enabled());
  EXPECT_TRUE(menu().mnuOptions.Checked());
  EXPECT_TRUE(fp.runtime.TimerRunning(o.Timer1));
  EXPECT_TRUE(fp.runtime.TimerRunning(o.Timer2));
  EXPECT_EQ(o.SSTab1.Tab(), 0);
  EXPECT_EQ(o.SSTab1.Tabs(), (std::vector<std::string>{"Options", "Statistics", "System"}));
  // No free-resources figures on this family, and no battery on this machine.
  for (int i = 3; i <= 5; ++i) EXPECT_FALSE(o.Check1[i].Enabled() || o.Check1[i].TabStop()) << i;
  EXPECT_FALSE(o.Check1[6].Enabled());
  EXPECT_EQ(o.Height(), 4125);
  EXPECT_EQ(o.Left(), (28800 - 4770) / 2.0);
  EXPECT_EQ(o.Top(), (16200 - 4125) / 2.0);
}

TEST_F(OptionsTest, AStoredValueThatIsNoStateUnchecksOnlyItsOwnBox) {
  fp.Set("ShowStatsAtStartup", "abc");
  fp.Set("ShowOnTop", "1");
  fp.Set("ShowSplash", "0");
  fp.Set("ShowCPU", "yes");
  fp.Set("ShowPhysMem", " 1 ");
  fp.Set("ShowVirtMem", "2");
  fp.Set("ShowSysRsrc", "1");
  fp.Set("ShowBattery", "5");
  fp.Set("ShowCdrive", "1.0");
  Options& o = Open();
  EXPECT_EQ(o.Check0[1].Value(), 0);
  EXPECT_EQ(o.Check0[2].Value(), 1);
  EXPECT_EQ(o.Check0[3].Value(), 0);
  EXPECT_EQ(o.Check1[0].Value(), 0);
  EXPECT_EQ(o.Check1[1].Value(), 1);
  EXPECT_EQ(o.Check1[2].Value(), 2);  // grey
  EXPECT_EQ(o.Check1[3].Value(), 1);  // disabled on this family, yet loaded
  EXPECT_EQ(o.Check1[6].Value(), 0);
  EXPECT_EQ(o.Check1[7].Value(), 1);
  EXPECT_FALSE(o.applyButton.Enabled());
}

TEST_F(OptionsTest, BoxStatesFromStoredText) {
  for (const auto& [text, state] : std::vector<std::pair<std::string, int>>{{"0", 0},
                                                                            {"1", 1},
                                                                            {"2", 2},
                                                                            {"3", 0},
                                                                            {"-1", 0},
                                                                            {"1.5", 2},
                                                                            {"2.5", 2},
                                                                            {"0.5", 0},
                                                                            {"", 0},
                                                                            {"1e0", 1}}) {
    EXPECT_EQ(Options::BoxStateFromText(text), state) << '"' << text << '"';
  }
}

TEST_F(OptionsTest, ApplySavesEverySwitchWithDefinedFirst) {
  SetDrives({{"e:\\", {10 * testing::kGiB, 5 * testing::kGiB}}});
  fp.Set("ShowVirtMem", "2");
  Options& o = Open();
  o.Check1[0].NotifyClick();
  EXPECT_TRUE(o.applyButton.Enabled());
  o.applyButton.NotifyClick();
  auto order = kSwitchOrder;
  order.push_back("ShowEdrive");
  EXPECT_EQ(WrittenKeys(), order);
  EXPECT_EQ(fp.settings.writes[0].second, "Yes");
  EXPECT_EQ(fp.settings.values["ShowCPU"], "1");
  EXPECT_EQ(fp.settings.values["ShowVirtMem"], "2");
  EXPECT_EQ(fp.settings.values["ShowEdrive"], "0");
  EXPECT_FALSE(o.applyButton.Enabled());
  EXPECT_TRUE(menu().mnuSplash.Checked());
  EXPECT_TRUE(o.Loaded());

  o.Check0[3].NotifyClick();
  o.applyButton.NotifyClick();
  EXPECT_EQ(fp.settings.values["ShowSplash"], "0");
  EXPECT_FALSE(menu().mnuSplash.Checked());
}

TEST_F(OptionsTest, OkTwiceOnAFirstRunWarnsOnceAndSavesNothing) {
  Options& o = Open();
  o.OKButton.NotifyClick();
  EXPECT_EQ(warnings, std::vector<std::string>{"Warning:  No statistics were selected for display"});
  EXPECT_EQ(fp.program.messageBox().Caption(), " Sysvane Options");
  EXPECT_TRUE(o.Loaded());
  EXPECT_EQ(o.SSTab1.Tab(), 1);
  EXPECT_TRUE(o.Check1[0].HasFocus());

  o.OKButton.NotifyClick();
  EXPECT_EQ(warnings.size(), 1u);
  EXPECT_FALSE(o.Loaded());
  EXPECT_TRUE(fp.settings.writes.empty());
  EXPECT_FALSE(menu().mnuDisplay.Enabled());
  EXPECT_FALSE(menu().mnuOptions.Checked());
  EXPECT_FALSE(fp.program.display().Loaded());
}

TEST_F(OptionsTest, OkWithAStatisticSavesAllAndOpensTheMonitor) {
  Options& o = Open();
  o.Check1[1].NotifyClick();
  o.OKButton.NotifyClick();
  EXPECT_TRUE(warnings.empty());
  EXPECT_FALSE(o.Loaded());
  const auto keys = WrittenKeys();  // the Monitor window then stores its position
  EXPECT_EQ(std::vector<std::string>(keys.begin(), keys.begin() + 12), kSwitchOrder);
  EXPECT_EQ(fp.settings.values["Defined"], "Yes");
  EXPECT_EQ(fp.settings.values["ShowPhysMem"], "1");
  EXPECT_TRUE(menu().mnuDisplay.Enabled());
  EXPECT_TRUE(fp.program.display().Loaded());
}

TEST_F(OptionsTest, OkLeavesTheMonitorClosedWhenItIsNotWantedAtStartUp) {
  Options& o = Open();
  o.Check1[1].NotifyClick();
  o.Check0[1].NotifyClick();
  o.OKButton.NotifyClick();
  EXPECT_EQ(fp.settings.values["ShowStatsAtStartup"], "0");
  EXPECT_FALSE(fp.program.display().Loaded());
}

TEST_F(OptionsTest, AStoredResourceSwitchCountsAsSelected) {
  fp.Set("ShowGDIRsrc", "1");
  Open().OKButton.NotifyClick();
  EXPECT_TRUE(warnings.empty());
  EXPECT_FALSE(options().Loaded());
  EXPECT_TRUE(menu().mnuDisplay.Enabled());
}

TEST_F(OptionsTest, CancelSavesNothingAndTheBoxesDecideTheMonitorCommand) {
  Open().cancelButton.NotifyClick();
  EXPECT_FALSE(menu().mnuDisplay.Enabled());
  Options& o = Open();
  o.Check1[7].NotifyClick();
  o.cancelButton.NotifyClick();
  EXPECT_TRUE(menu().mnuDisplay.Enabled());
  EXPECT_TRUE(fp.settings.writes.empty());
}

TEST_F(OptionsTest, ClosingOtherwiseSavesNothingAndStopsTheTimers) {
  menu().mnuDisplay.SetEnabled(true);
  Options& o = Open();
  o.Check1[0].NotifyClick();
  o.NotifyCloseRequest();
  EXPECT_TRUE(fp.settings.writes.empty());
  EXPECT_TRUE(menu().mnuDisplay.Enabled());
  EXPECT_FALSE(menu().mnuOptions.Checked());
  EXPECT_FALSE(fp.runtime.TimerRunning(o.Timer1));
  EXPECT_FALSE(fp.runtime.TimerRunning(o.Timer2));
}

TEST_F(OptionsTest, TheSplashCommandWhileOpenTogglesTheBox) {
  menu().mnuSplash.SetChecked(true);  // as the controller set it from ShowSplash
  Options& o = Open();
  menu().mnuSplash.NotifyClick();
  EXPECT_EQ(o.Check0[3].Value(), 0);
  EXPECT_TRUE(o.applyButton.Enabled());
  menu().mnuSplash.NotifyClick();
  EXPECT_EQ(o.Check0[3].Value(), 1);
}

TEST_F(OptionsTest, FocusBringsEachPageForward) {
  Options& o = Open();
  o.Check1[2].SetFocus();
  EXPECT_EQ(o.SSTab1.Tab(), 1);
  o.Check0[1].SetFocus();
  EXPECT_EQ(o.SSTab1.Tab(), 0);
  o.SSTab1.SetTab(2);
  o.SSTab1.NotifyGotFocus();
  EXPECT_TRUE(o.OKButton.HasFocus());
  o.SSTab1.SetTab(1);
  o.SSTab1.NotifyGotFocus();
  EXPECT_TRUE(o.Check1[0].HasFocus());
}

TEST_F(OptionsTest, TheStartUpBoxKeepsTheAutostartEntry) {
  const std::string entry = "/home/user/.config/autostart/Sysvane.desktop";
  fp.desktop.executablePath = "/home/user/my apps/sysvane";
  Options& o = Open();
  o.Check0[0].NotifyClick();
  o.applyButton.NotifyClick();
  ASSERT_TRUE(fp.desktop.FileExists(entry));
  EXPECT_EQ(testing::CommandOfEntry(fp.desktop.files[entry]),
            std::vector<std::string>{"/home/user/my apps/sysvane"});
  o.cancelButton.NotifyClick();

  Options& again = Open();
  EXPECT_EQ(again.Check0[0].Value(), 1);
  EXPECT_FALSE(again.applyButton.Enabled());
  again.Check0[0].NotifyClick();
  again.applyButton.NotifyClick();
  EXPECT_FALSE(fp.desktop.FileExists(entry));
  EXPECT_TRUE(fp.desktop.files.empty());
}

TEST_F(OptionsTest, AShortcutFailureIsReportedAndTheSaveGoesOn) {
  fp.desktop.executablePath = "/home/user/odd\nname/sysvane";
  Options& o = Open();
  o.Check0[0].NotifyClick();
  o.Check0[3].NotifyClick();
  o.applyButton.NotifyClick();
  ASSERT_EQ(fp.runtime.msgBoxes.size(), 1u);
  EXPECT_EQ(fp.runtime.msgBoxes[0].prompt, "Unable to create shortcut for /home/user/odd\nname/sysvane.");
  EXPECT_EQ(fp.runtime.msgBoxes[0].style, 64);
  EXPECT_EQ(fp.runtime.msgBoxes[0].title, "Sysvane");
  EXPECT_FALSE(o.applyButton.Enabled());
  EXPECT_FALSE(menu().mnuSplash.Checked());
}

}  // namespace
}  // namespace sysvane
