// The Monitor window's rows, height and position as its load builds them.
#include "monitor/tests/monitor_fixture.h"

namespace sysvane::testing {
namespace {

using ::testing::ElementsAre;

constexpr int kNoRow = Display::kNoRow;

TEST_F(MonitorTest, OneRowIs870TwipsHighAndTwoAre1140) {
  Select({"ShowVirtMem"});
  display().Show();
  EXPECT_THAT(Captions(), ElementsAre("Virtual memory usage:"));
  EXPECT_EQ(display().Height(), 870);
  EXPECT_EQ(display().StatRow[Display::kSlotVirtMem], 0);
  EXPECT_TRUE(menu().mnuDisplay.Checked());
  EXPECT_TRUE(menu().mnuDisplay.Enabled());
  display().Unload();

  fp.Set("ShowCPU", "1");
  display().Show();
  EXPECT_THAT(Captions(), ElementsAre("CPU usage:", "Virtual memory usage:"));
  EXPECT_EQ(display().Height(), 1140);
  EXPECT_EQ(display().StatText[1].Top(), 405);
  EXPECT_EQ(display().StatBar[1].Top(), 390);
  EXPECT_TRUE(display().StatBar[1].Visible());
  EXPECT_FALSE(display().StatText.Exists(2));  // the second load rebuilt the rows from scratch
}

TEST_F(MonitorTest, EveryStatisticInSlotOrderWithTheBatteryReversed) {
  fp.program.info.WindowsFamily = 95;
  fp.kernel.power = SYSTEM_POWER_STATUS{1, 8, 60, 0, 3600, 7200};
  fp.kernel.SetFixedDrives({{"c:\\", {100, 50}}, {"d:\\", {100, 10}}});
  Select({"ShowCPU", "ShowPhysMem", "ShowVirtMem", "ShowSysRsrc", "ShowGDIRsrc", "ShowUserRsrc",
          "ShowBattery", "ShowCdrive", "ShowDdrive"});
  display().Show();
  EXPECT_THAT(Captions(),
              ElementsAre("CPU usage:", "Physical memory usage:", "Virtual memory usage:",
                          "System resources:", "GDI resources:", "User resources:",
                          "Battery status (charging):", "C: drive disk usage:", "D: drive disk usage:"));
  EXPECT_THAT(display().StatRow, ElementsAre(0, 1, 2, 3, 4, 5, 6, 7, 8, kNoRow));
  EXPECT_EQ(display().LastFixedRow, 7);
  EXPECT_EQ(display().Height(), 870 + 270 * 8);
  EXPECT_EQ(display().StatBar[6].StartColor(), forms::Color::Rgb(255, 0, 0));
  EXPECT_EQ(display().StatBar[6].EndColor(), forms::Color::Rgb(0, 192, 0));
  EXPECT_EQ(display().StatBar[7].StartColor(), forms::Color::Rgb(0, 192, 0));
}

TEST_F(MonitorTest, RowsAfterABatteryInRowZeroKeepTheUsualColours) {
  fp.kernel.power = SYSTEM_POWER_STATUS{1, 1, 90, 0, 0, 0};
  Select({"ShowBattery", "ShowCdrive"});
  display().Show();
  EXPECT_THAT(Captions(), ElementsAre("Battery status:", "C: drive disk usage:"));
  EXPECT_EQ(display().StatBar[1].StartColor(), forms::Color::Rgb(0, 192, 0));
  EXPECT_EQ(display().StatBar[1].EndColor(), forms::Color::Rgb(255, 0, 0));
}

TEST_F(MonitorTest, ResourceRowsNeverOnTheNTFamily) {
  Select({"ShowSysRsrc", "ShowGDIRsrc", "ShowUserRsrc", "ShowCPU"});
  display().Show();
  EXPECT_THAT(Captions(), ElementsAre("CPU usage:"));
  EXPECT_EQ(display().StatRow[3], kNoRow);
  EXPECT_EQ(display().StatRow[5], kNoRow);
}

TEST_F(MonitorTest, BatteryRowFollowsTheBatteryTest) {
  struct Case {
    uint8_t flag, percent;
    bool shown;
  };
  for (const Case c : {Case{128, 255, false}, Case{255, 255, true}, Case{0, 0, false}, Case{0, 35, true}}) {
    fp.kernel.power = SYSTEM_POWER_STATUS{1, c.flag, c.percent, 0, 0, 0};
    Select({"ShowBattery", "ShowCPU"});
    display().Show();
    EXPECT_EQ(display().StatRow[Display::kSlotBattery] != kNoRow, c.shown) << "flag " << int(c.flag);
    EXPECT_EQ(display().LastRow, c.shown ? 1 : 0) << "flag " << int(c.flag);
    display().Unload();
  }
}

TEST_F(MonitorTest, DriveESecondWithDUnselected) {
  fp.kernel.SetFixedDrives({{"c:\\", {100, 50}}, {"d:\\", {100, 50}}, {"e:\\", {100, 50}}});
  fp.kernel.mountPoints["e:\\"] = "/home";
  Select({"ShowCPU", "ShowEdrive"});
  fp.Set("ShowDdrive", "0");
  display().Show();
  EXPECT_THAT(Captions(), ElementsAre("CPU usage:", "E: drive disk usage:"));
  EXPECT_EQ(display().StatRow[8], kNoRow);
  EXPECT_EQ(display().StatRow[9], 1);
  EXPECT_EQ(display().StatRow.size(), 11u);
  EXPECT_EQ(display().StatSlotCount, 10);
  EXPECT_EQ(display().DriveCountShown, 1);
  EXPECT_EQ(display().StatText[1].ToolTipText(), "/home");
  EXPECT_EQ(display().StatText[0].ToolTipText(), "");
}

TEST_F(MonitorTest, DriveCCarriesItsMountPointAndCopiesDoNot) {
  fp.kernel.SetFixedDrives({{"c:\\", {100, 50}}, {"d:\\", {100, 50}}});
  fp.kernel.mountPoints["d:\\"] = "/data";
  Select({"ShowCdrive", "ShowDdrive"});
  display().Show();
  EXPECT_EQ(display().StatText[0].ToolTipText(), "/");
  EXPECT_EQ(display().StatText[1].ToolTipText(), "/data");
  display().Unload();
  fp.Set("ShowDdrive", "0");
  fp.Set("ShowCPU", "1");
  display().Show();
  EXPECT_EQ(display().StatText[0].ToolTipText(), "");  // row 0 is CPU now
  EXPECT_EQ(display().StatText[1].ToolTipText(), "/");
}

TEST_F(MonitorTest, SwitchTextThatIsNotANumberIsOff) {
  Select({"ShowCPU"});
  fp.Set("ShowPhysMem", "yes");
  fp.Set("ShowVirtMem", " 1 ");
  display().Show();
  EXPECT_THAT(Captions(), ElementsAre("CPU usage:", "Virtual memory usage:"));
}

TEST_F(MonitorTest, FirstRunShowsLiveRowsForEveryMachineStatistic) {
  fp.kernel.SetFixedDrives({{"c:\\", {1000, 250}}, {"d:\\", {1000, 900}}});
  SetMemory(1000, 400, 2000, 1500);
  display().Show();  // no Defined key: the options were never saved
  EXPECT_THAT(Captions(), ElementsAre("CPU usage:", "Physical memory usage:", "Virtual memory usage:",
                                      "C: drive disk usage:", "D: drive disk usage:"));
  EXPECT_THAT(display().StatRow, ElementsAre(0, 1, 2, kNoRow, kNoRow, kNoRow, kNoRow, 3, 4, kNoRow));
  EXPECT_EQ(display().StatBar[1].Value(), 60);
  EXPECT_EQ(display().StatBar[2].Value(), 25);
  EXPECT_EQ(display().StatBar[3].Value(), 75);
  EXPECT_EQ(display().StatBar[4].Value(), 10);
  SetMemory(1000, 100, 2000, 1500);
  fp.runtime.Advance(900);
  EXPECT_EQ(display().StatBar[1].Value(), 90);
}

TEST_F(MonitorTest, NothingSelectedUnloadsDuringLoadAndStillSavesThePosition) {
  Select({});
  fp.Set("ShowCPU", "0");
  display().Show();
  EXPECT_FALSE(display().Loaded());
  EXPECT_FALSE(menu().mnuDisplay.Enabled());
  EXPECT_FALSE(menu().mnuDisplay.Checked());
  // Computed with the design height: client 1200 plus the title bar and border.
  EXPECT_EQ(LastWrite("MainLeft"), "0");
  EXPECT_EQ(LastWrite("MainTop"), std::to_string(15600 - 1575));
  EXPECT_EQ(LastWrite("FirstTimePosition"), "");
}

TEST_F(MonitorTest, FirstPositionSitsOnTheWorkAreaBottomAndIsWrittenAtOnce) {
  Select({"ShowCPU", "ShowPhysMem"});
  fp.Set("FirstTimePosition", "No");
  display().Show();
  EXPECT_EQ(display().Left(), 0);
  EXPECT_EQ(display().Top(), 15600 - 1140);
  EXPECT_EQ(fp.settings.values["MainLeft"], "0");
  EXPECT_EQ(fp.settings.values["MainTop"], "14460");
  EXPECT_EQ(fp.settings.values["FirstTimePosition"], "Yes");
}

TEST_F(MonitorTest, DefaultTopRoundsHalvesToEven) {
  Select({"ShowCPU"});
  fp.runtime.workArea.Height = 15606.5;  // 15606.5 - 870 = 14736.5
  display().Show();
  EXPECT_EQ(display().Top(), 14736);
  display().Unload();
  fp.settings.values.erase("MainTop");
  fp.runtime.workArea.Height = 15607.5;
  display().Show();
  EXPECT_EQ(display().Top(), 14738);
}

TEST_F(MonitorTest, StoredPositionIsUsedAndWrittenBackOnUnload) {
  Select({"ShowCPU"});
  fp.Set("MainLeft", "9360");
  fp.Set("MainTop", "1234.5");
  display().Show();
  EXPECT_EQ(display().Left(), 9360);
  EXPECT_EQ(display().Top(), 1234.5);
  display().NotifyMoved(3000, 4500);  // the user drags the window
  display().Unload();
  EXPECT_EQ(fp.settings.values["MainLeft"], "3000");
  EXPECT_EQ(fp.settings.values["MainTop"], "4500");
  EXPECT_FALSE(menu().mnuDisplay.Checked());
}

TEST_F(MonitorTest, PositionOffEveryScreenComesBackOntoTheNearestWorkArea) {
  fp.runtime.workAreas = {{0, 0, 28800, 15600}, {28800, 0, 19200, 15600}};
  Select({"ShowCPU"});
  fp.Set("MainLeft", "52000");  // a third monitor that has gone
  fp.Set("MainTop", "6000");
  display().Show();
  EXPECT_EQ(display().Left(), 48000 - display().Width());
  EXPECT_EQ(display().Top(), 6000);
  EXPECT_EQ(fp.settings.values["MainLeft"], std::to_string(48000 - int(display().Width())));
  display().Unload();

  fp.Set("MainLeft", "30000");  // on the second monitor: used as stored
  fp.Set("MainTop", "6000");
  display().Show();
  EXPECT_EQ(display().Left(), 30000);
  EXPECT_EQ(display().Top(), 6000);
  display().Unload();

  fp.Set("MainTop", "-20000");  // far above every screen
  display().Show();
  EXPECT_EQ(display().Left(), 30000);
  EXPECT_EQ(display().Top(), 0);
}

TEST_F(MonitorTest, OnTopOnlyWhenAsked) {
  Select({"ShowCPU"});
  fp.Set("ShowOnTop", "0");
  display().Show();
  EXPECT_FALSE(display().OnTop());
  display().Unload();
  fp.Set("ShowOnTop", "1");
  display().Show();
  EXPECT_TRUE(display().OnTop());
}

TEST_F(MonitorTest, UnloadReleasesTheTrayFlagAndLoadClosesTheRollUp) {
  Select({"ShowCPU"});
  popup().Show();
  ASSERT_TRUE(popup().Loaded());
  fp.program.info.MonitorOpenedFromTray = true;
  display().Show();
  EXPECT_FALSE(popup().Loaded());
  EXPECT_FALSE(fp.program.info.PopupShowing);
  EXPECT_NE(display().CPUMeter, nullptr);
  display().Unload();
  EXPECT_FALSE(fp.program.info.MonitorOpenedFromTray);
  EXPECT_EQ(display().CPUMeter, nullptr);
}

}  // namespace
}  // namespace sysvane::testing
