// The roll-up window: its lines, its placement above the tray and its animation.
#include "monitor/tests/monitor_fixture.h"

namespace sysvane::testing {
namespace {

using ::testing::ElementsAre;

class PopupTest : public MonitorTest {
 protected:
  std::vector<std::string> Lines() {
    std::vector<std::string> lines;
    for (int i = 0; i < popup().StatCount; ++i) lines.push_back(popup().Stat[i].Caption());
    return lines;
  }
};

TEST_F(PopupTest, OneLinePerSelectedStatisticInTheFixedOrder) {
  fp.kernel.SetFixedDrives({{"c:\\", {1000, 250}}, {"d:\\", {1000, 900}}, {"e:\\", {1000, 500}}});
  fp.kernel.power = SYSTEM_POWER_STATUS{0, 2, 40, 0, 0, 0};
  menu().HasBattery = true;
  SetMemory(1000, 400, 1000, 875);
  Select({"ShowEdrive", "ShowCdrive", "ShowBattery", "ShowVirtMem", "ShowPhysMem", "ShowCPU", "ShowSysRsrc"});
  popup().Show();
  EXPECT_THAT(popup().StatKeys, ElementsAre("CPU", "PMem", "VMem", "Battery", "C:", "E:"));
  EXPECT_THAT(Lines(), ElementsAre("CPU: 0%", "Physical memory: 60%", "Virtual memory: 12%",
                                   "Battery (unplugged): 40%", "C: drive usage: 75%", "E: drive usage: 50%"));
  EXPECT_EQ(popup().Stat[1].Top(), 255);
  EXPECT_EQ(popup().Stat[5].Top(), 45 + 210 * 5);
  EXPECT_TRUE(popup().Stat[5].Visible());
  EXPECT_EQ(popup().FullHeight, 330 + 210 * 5);
  EXPECT_TRUE(fp.program.info.PopupShowing);
}

TEST_F(PopupTest, ResourceLinesOnlyOnThe95Family) {
  fp.program.info.WindowsFamily = 95;
  fp.resources.free[0] = 81;
  fp.resources.free[1] = 64;
  fp.resources.free[2] = 72;
  Select({"ShowSysRsrc", "ShowGDIRsrc", "ShowUserRsrc"});
  popup().Show();
  EXPECT_THAT(Lines(), ElementsAre("System resources: 81%", "GDI resources: 64%", "User resources: 72%"));
}

TEST_F(PopupTest, BatteryLineByPowerStateAndNeverWithoutABattery) {
  Select({"ShowBattery", "ShowCPU"});
  fp.kernel.power = SYSTEM_POWER_STATUS{1, 8, 60, 0, 0, 0};
  popup().Show();  // no battery at start-up: the line stays empty, the next is still written
  EXPECT_THAT(Lines(), ElementsAre("CPU: 0%", ""));
  popup().Unload();

  menu().HasBattery = true;
  popup().Show();
  EXPECT_EQ(popup().Stat[1].Caption(), "Battery (charging): 60%");
  fp.kernel.power = SYSTEM_POWER_STATUS{1, 8, 100, 0, 0, 0};
  fp.runtime.Advance(900);
  EXPECT_EQ(popup().Stat[1].Caption(), "Battery: 100%");
  fp.kernel.power = SYSTEM_POWER_STATUS{1, 128, 100, 0, 0, 0};  // gone: the line keeps its text
  fp.runtime.Advance(900);
  EXPECT_EQ(popup().Stat[1].Caption(), "Battery: 100%");
  fp.kernel.power = SYSTEM_POWER_STATUS{0, 255, 255, 0, 0, 0};  // unknown charge: never "255%"
  fp.runtime.Advance(900);
  EXPECT_EQ(popup().Stat[1].Caption(), "Battery (unplugged): ?");
}

TEST_F(PopupTest, AFailingFigureKeepsItsLineAndCPUFailureReadsZero) {
  fp.kernel.SetFixedDrives({{"c:\\", {1000, 250}}, {"d:\\", {1000, 900}}});
  SetMemory(1000, 400, 1000, 875);
  fp.kernel.systemTime = 0;
  fp.kernel.idleTime = 0;
  Select({"ShowCPU", "ShowPhysMem", "ShowCdrive", "ShowDdrive"});
  popup().Show();
  fp.kernel.systemTime = 9'000'000;
  fp.kernel.idleTime = 4'500'000;
  SetMemory(0, 0, 1000, 875);
  fp.kernel.disks.erase("d:\\");
  fp.runtime.Advance(900);
  EXPECT_THAT(Lines(),
              ElementsAre("CPU: 50%", "Physical memory: 60%", "C: drive usage: 75%", "D: drive usage: 10%"));
  fp.kernel.processorCount = std::nullopt;
  fp.runtime.Advance(900);
  EXPECT_EQ(popup().Stat[0].Caption(), "CPU: 0%");
}

TEST_F(PopupTest, RollsUpHoldsFiveSecondsAndRollsDown) {
  Select({"ShowCPU"});
  popup().Show();
  EXPECT_EQ(popup().Height(), 30);
  const forms::Twips bottom = popup().Top() + popup().Height();
  EXPECT_EQ(popup().FullHeight, 330);
  fp.runtime.Advance(15 * 20);  // twenty steps of one pixel
  EXPECT_EQ(popup().Height(), 330);
  EXPECT_EQ(popup().Top() + popup().Height(), bottom);
  EXPECT_TRUE(popup().RollupTimer.Enabled());
  fp.runtime.Advance(15);  // the step that finds it open
  EXPECT_FALSE(popup().RollupTimer.Enabled());
  EXPECT_TRUE(fp.runtime.TimerRunning(popup().UnloadTimer));
  fp.runtime.Advance(4999);
  EXPECT_FALSE(popup().RolldownTimer.Enabled());
  fp.runtime.Advance(1);
  EXPECT_TRUE(popup().RolldownTimer.Enabled());
  fp.runtime.Advance(15 * 20);
  EXPECT_EQ(popup().Height(), 30);
  EXPECT_EQ(popup().Top() + popup().Height(), bottom);
  EXPECT_TRUE(popup().Loaded());
  fp.runtime.Advance(15);
  EXPECT_FALSE(popup().Loaded());
  EXPECT_FALSE(fp.program.info.PopupShowing);
}

TEST_F(PopupTest, ThreeLinesTakeFortyEightSteps) {
  Select({"ShowCPU", "ShowPhysMem", "ShowCdrive"});
  popup().Show();
  EXPECT_EQ(popup().FullHeight, 750);
  fp.runtime.Advance(15 * 47);
  EXPECT_EQ(popup().Height(), 735);
  fp.runtime.Advance(15);
  EXPECT_EQ(popup().Height(), 750);
  fp.runtime.Advance(15);
  EXPECT_FALSE(popup().RollupTimer.Enabled());
}

TEST_F(PopupTest, RollUpStartsOnlyOnce) {
  Select({"ShowCPU"});
  popup().Show();
  fp.runtime.Advance(15 * 21 + 5000 + 15 * 5);  // rolling down, five steps in
  ASSERT_EQ(popup().Height(), 330 - 75);
  popup().NotifyDeactivate();
  popup().NotifyActivate();
  EXPECT_FALSE(popup().RollupTimer.Enabled());
  fp.runtime.Advance(15 * 16);
  EXPECT_FALSE(popup().Loaded());
}

TEST_F(PopupTest, PlacedAboveTheTrayButNeverBelowTheWorkArea) {
  Select({"ShowCPU"});
  fp.runtime.workArea = {0, 0, 28800, 15780};  // a 28-pixel panel: 420 twips above the screen's bottom
  popup().Show();
  EXPECT_EQ(popup().Top(), 16200 - 450);
  EXPECT_EQ(popup().Left(), 28800 - 1980 - 15);
  EXPECT_EQ(popup().Width(), 1980);
  popup().Unload();

  fp.runtime.workArea = {1500, 0, 27300, 14700};  // a 100-pixel panel at the bottom, another on the left
  popup().Show();
  EXPECT_EQ(popup().Top() + popup().Height(), 14700);
  EXPECT_EQ(popup().Left(), 1500 + 27300 - 1980 - 15);
  popup().Unload();

  // The tray's screen lies below another one: the panel goes onto the tray's screen.
  fp.runtime.screen.Top = 16200;
  fp.runtime.workArea = {0, 16200, 28800, 15780};
  popup().Show();
  EXPECT_EQ(popup().Top(), 16200 + 16200 - 450);
}

TEST_F(PopupTest, RefusesWhileTheMonitorWindowOpenedFromTheTrayOrNothingIsSelected) {
  Select({"ShowCPU"});
  fp.program.info.MonitorOpenedFromTray = true;
  popup().Show();
  EXPECT_FALSE(popup().Loaded());
  EXPECT_FALSE(fp.program.info.PopupShowing);

  fp.program.info.MonitorOpenedFromTray = false;
  fp.Set("ShowCPU", "on");  // not a number: not selected
  popup().Show();
  EXPECT_FALSE(popup().Loaded());
  EXPECT_TRUE(popup().NothingToShow);
  EXPECT_FALSE(fp.program.info.PopupShowing);
}

TEST_F(PopupTest, UnloadEndsTheSamplersCollection) {
  fp.kernel.version = OSVERSIONINFO{148, 4, 10, 1998, VER_PLATFORM_WIN32_WINDOWS, ""};
  fp.registry.Add(HKEY_DYN_DATA, "PerfStats\\StopStat");
  Select({"ShowCPU"});
  popup().Show();
  fp.registry.log.clear();
  popup().Unload();
  EXPECT_THAT(fp.registry.log, ::testing::Contains("open PerfStats\\StopStat"));
  EXPECT_EQ(popup().CPUMeter, nullptr);
}

}  // namespace
}  // namespace sysvane::testing
