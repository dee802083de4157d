// The start-up sequence of the tray controller, case by case.
#include "dialogs/about.h"
#include "monitor/display.h"
#include "options/options_dialog.h"
#include "shell/logo.h"
#include "shell/tests/shell_test_support.h"

namespace sysvane::testing {
namespace {

using StartupTest = ShellTest;

TEST_F(StartupTest, SecondInstanceSaysSoAndEndsBeforeAnyIconOrWindow) {
  rt.prevInstance = true;
  Start();
  ASSERT_EQ(rt.msgBoxes.size(), 1u);
  EXPECT_EQ(rt.msgBoxes[0].prompt, "Program is already running!");
  EXPECT_EQ(rt.msgBoxes[0].style, forms::vbOKOnly);
  EXPECT_EQ(rt.msgBoxes[0].title, "Sysvane");
  EXPECT_TRUE(rt.ended);
  EXPECT_TRUE(rt.trayCalls.empty());
  EXPECT_FALSE(program.logo().Loaded());
  EXPECT_FALSE(program.options().Loaded());
  EXPECT_FALSE(program.display().Loaded());
  // Closing that instance has no icon to remove either.
  menu().Unload();
  EXPECT_TRUE(rt.trayCalls.empty());
}

TEST_F(StartupTest, FirstRunShowsTheSplashThenTheIconThenOptions) {
  size_t trayCallsWhenSplashClosed = 99;
  bool splashCheckedWhenSplashClosed = false;
  UnloadProbe probe(program.logo(), [&] {
    trayCallsWhenSplashClosed = rt.trayCalls.size();
    splashCheckedWhenSplashClosed = menu().mnuSplash.Checked();
  });
  Start();  // the fake's modal loop runs the clock until the splash closes itself

  EXPECT_EQ(trayCallsWhenSplashClosed, 0u);
  EXPECT_TRUE(splashCheckedWhenSplashClosed);
  EXPECT_FALSE(program.logo().Loaded());
  EXPECT_GE(rt.Now(), 3000);
  EXPECT_LT(rt.Now(), 3100);

  ASSERT_EQ(rt.trayCalls.size(), 1u);
  EXPECT_EQ(rt.trayCalls[0].message, forms::NIM_ADD);
  EXPECT_EQ(rt.TrayTip(), "Sysvane Monitor");
  EXPECT_EQ(rt.trayCalls[0].data.hIcon, "app-icon");
  EXPECT_FALSE(menu().Visible());
  EXPECT_TRUE(menu().mnuSplash.Checked());
  EXPECT_FALSE(menu().mnuDisplay.Enabled());
  EXPECT_TRUE(program.options().Visible());
  EXPECT_FALSE(program.display().Loaded());
  EXPECT_TRUE(rt.msgBoxes.empty());
  EXPECT_FALSE(rt.ended);
  EXPECT_NE(menu().CPUMeter, nullptr);
  EXPECT_EQ(program.info.WindowsFamily, 2000);
}

TEST_F(StartupTest, SplashSwitchedOffShowsNoSplash) {
  fp.Set("ShowSplash", "0");
  Start();
  EXPECT_FALSE(program.logo().Loaded());
  EXPECT_EQ(rt.Now(), 0);
  EXPECT_FALSE(menu().mnuSplash.Checked());
  EXPECT_EQ(rt.TrayTip(), "Sysvane Monitor");
}

TEST_F(StartupTest, SavedSettingsWithEveryStatisticOffKeepMonitorDisabled) {
  fp.kernel.SetFixedDrives({{"c:\\", {100, 40}}, {"d:\\", {100, 40}}});
  Saved({"ShowStatsAtStartup"});
  fp.Set("ShowCPU", "0");
  fp.Set("ShowDdrive", "2");
  Start();
  EXPECT_FALSE(menu().mnuDisplay.Enabled());
  EXPECT_FALSE(program.options().Loaded());
}

TEST_F(StartupTest, OnlyADriveSelectedEnablesMonitor) {
  fp.kernel.SetFixedDrives({{"c:\\", {100, 40}}, {"d:\\", {100, 40}}, {"e:\\", {100, 40}}});
  Saved({"ShowEdrive"});
  Start();
  EXPECT_TRUE(menu().mnuDisplay.Enabled());
  EXPECT_FALSE(program.options().Loaded());
  EXPECT_FALSE(program.display().Loaded());
}

TEST_F(StartupTest, ResourceKeysCountOnlyOnTheWindows95Family) {
  Saved({"ShowSysRsrc"});
  Start();
  EXPECT_EQ(program.info.WindowsFamily, 2000);
  EXPECT_FALSE(menu().mnuDisplay.Enabled());
}

TEST_F(StartupTest, ResourceKeyEnablesMonitorOnWindows98) {
  MakeWindows98();
  Saved({"ShowGDIRsrc"});
  Start();
  EXPECT_EQ(program.info.WindowsFamily, 95);
  EXPECT_TRUE(menu().mnuDisplay.Enabled());
}

TEST_F(StartupTest, ShowStatsAtStartupOpensTheMonitor) {
  Saved({"ShowCPU", "ShowStatsAtStartup"});
  Start();
  EXPECT_TRUE(menu().mnuDisplay.Enabled());
  EXPECT_TRUE(program.display().Visible());
  EXPECT_FALSE(program.options().Loaded());
}

TEST_F(StartupTest, BatteryIsDecidedOnceFromAFreshPowerStatus) {
  Saved({"ShowBattery"});
  fp.kernel.power = SYSTEM_POWER_STATUS{0, 0, 57, 0, 0, 0};  // no flags, but a charge: present
  Start();
  EXPECT_TRUE(menu().HasBattery);
  EXPECT_EQ(menu().BatteryPercent, 57);
}

TEST_F(StartupTest, NoSystemBatteryMeansNoBattery) {
  Saved({"ShowBattery"});
  fp.kernel.power = SYSTEM_POWER_STATUS{1, 128, 255, 0, 0, 0};
  Start();
  EXPECT_FALSE(menu().HasBattery);
}

}  // namespace
}  // namespace sysvane::testing
