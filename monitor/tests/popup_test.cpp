// The roll-up window: its lines, its placement above the tray and its animation.
#include "monitor/popup.h"

#include "tests/support/window_test.h"

namespace sysvane::testing {
namespace {

using ::testing::ElementsAre;

class PopupTest : public WindowTest {
 protected:
  Popup& popup() { return program.popup(); }
  std::vector<std::string> Lines() {
    std::vector<std::string> lines;
    for (int i = 0; popup().Loaded() && i < popup().StatCount; ++i)
      lines.push_back(popup().Stat[i].Caption());
    return lines;
  }
};

TEST_F(PopupTest, OneLinePerSelectedStatisticInTheFixedOrder210TwipsApart) {
  struct Case {
    std::vector<std::string> on;
    bool windows98, battery;
    SYSTEM_POWER_STATUS power;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {{"ShowEdrive", "ShowCdrive", "ShowBattery", "ShowVirtMem", "ShowPhysMem", "ShowCPU", "ShowSysRsrc"},
       false,
       true,
       {0, 2, 40, 0, 0, 0},
       {"CPU: 0%", "Physical memory: 60%", "Virtual memory: 12%", "Battery (unplugged): 40%",
        "C: drive usage: 75%", "E: drive usage: 50%"}},
      {{"ShowSysRsrc", "ShowGDIRsrc", "ShowUserRsrc"},
       true,
       false,
       {},
       {"System resources: 81%", "GDI resources: 64%", "User resources: 72%"}},
      {{"ShowBattery", "ShowCPU"}, false, false, {1, 8, 60, 0, 0, 0}, {"CPU: 0%", ""}},
      {{"ShowBattery"}, false, true, {1, 8, 60, 0, 0, 0}, {"Battery (charging): 60%"}},
      {{"ShowBattery"}, false, true, {1, 8, 100, 0, 0, 0}, {"Battery: 100%"}},
      {{"ShowBattery"}, false, true, {0, 255, 255, 0, 0, 0}, {"Battery (unplugged): ?"}},
  };
  fp.kernel.SetFixedDrives({{"c:\\", {1000, 250}}, {"d:\\", {1000, 900}}, {"e:\\", {1000, 500}}});
  SetMemory(1000, 400, 1000, 875);
  fp.resources.free[0] = 81, fp.resources.free[1] = 64, fp.resources.free[2] = 72;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lines.back());
    fp.settings.values.clear();
    Select(c.on);
    program.info.WindowsFamily = c.windows98 ? 95 : 2000;
    menu().HasBattery = c.battery;
    fp.kernel.power = c.power;
    popup().Show();
    EXPECT_EQ(Lines(), c.lines);
    const int n = int(c.lines.size());
    EXPECT_EQ(popup().FullHeight, 330 + 210 * (n - 1));
    for (int k = 0; k < n; ++k)
      EXPECT_TRUE(popup().Stat[k].Top() == 45 + 210 * k && popup().Stat[k].Visible());
    EXPECT_FALSE(popup().Stat.Exists(n));
    EXPECT_TRUE(program.info.PopupShowing);
    popup().Unload();
    EXPECT_FALSE(program.info.PopupShowing);
  }
}

TEST_F(PopupTest, ALineWhoseFigureCannotBeHadKeepsItsTextAndAFailedCPUReadsZero) {
  fp.kernel.SetFixedDrives({{"c:\\", {1000, 250}}, {"d:\\", {1000, 900}}});
  SetMemory(1000, 400);
  Power(1, 8, 60);
  menu().HasBattery = true;
  Select({"ShowCPU", "ShowPhysMem", "ShowBattery", "ShowCdrive", "ShowDdrive"});
  popup().Show();
  fp.kernel.systemTime = 9'000'000;
  fp.kernel.idleTime = 4'500'000;
  SetMemory(0, 0);
  Power(1, 128, 100);
  fp.kernel.disks.erase("d:\\");
  rt.Advance(900);
  EXPECT_THAT(Lines(), ElementsAre("CPU: 50%", "Physical memory: 60%", "Battery (charging): 60%",
                                   "C: drive usage: 75%", "D: drive usage: 10%"));
  fp.kernel.processorCount = std::nullopt;
  rt.Advance(900);
  EXPECT_EQ(popup().Stat[0].Caption(), "CPU: 0%");
}

TEST_F(PopupTest, RollsUpAPixelEveryStepHoldsFiveSecondsAndRollsDown) {
  for (const auto& keys : {std::vector<std::string>{"ShowCPU"}, {"ShowCPU", "ShowPhysMem", "ShowCdrive"}}) {
    Select(keys);
    popup().Show();
    const int steps = 20 + 14 * (int(keys.size()) - 1);
    const forms::Twips bottom = popup().Top() + popup().Height();
    EXPECT_EQ(popup().Height(), 30);
    rt.Advance(15 * (steps - 1));
    EXPECT_EQ(popup().Height(), popup().FullHeight - 15);
    rt.Advance(15);
    EXPECT_EQ(popup().Height(), popup().FullHeight);
    EXPECT_EQ(popup().Top() + popup().Height(), bottom);
    rt.Advance(15 + 4999);  // the step that finds it open, then the five seconds
    EXPECT_FALSE(popup().RollupTimer.Enabled() || popup().RolldownTimer.Enabled());
    rt.Advance(1 + 15 * 5);
    popup().NotifyDeactivate();  // activated again while rolling down: it does not roll up again
    popup().NotifyActivate();
    rt.Advance(15 * (steps - 5));
    EXPECT_EQ(popup().Height(), 30);
    EXPECT_EQ(popup().Top() + popup().Height(), bottom);
    rt.Advance(15);
    EXPECT_FALSE(popup().Loaded() || program.info.PopupShowing);
  }
}

TEST_F(PopupTest, PlacedAboveTheTrayOnItsScreenButNeverBelowTheWorkArea) {
  struct Case {
    forms::TwipsRect workArea;
    forms::Twips screenTop, bottom, right;
  };
  const Case cases[] = {
      {{0, 0, 28800, 15780}, 0, 16200 - 420, 28800 - 15},          // a 28-pixel panel
      {{1500, 0, 27300, 14700}, 0, 14700, 28800 - 15},             // a 100-pixel one, another on the left
      {{0, 16200, 28800, 15780}, 16200, 32400 - 420, 28800 - 15},  // the tray's screen below another
  };
  Select({"ShowCPU"});
  for (const Case& c : cases) {
    rt.workArea = c.workArea;
    rt.screen.Top = c.screenTop;
    popup().Show();
    EXPECT_EQ(popup().Top() + popup().Height(), c.bottom);
    EXPECT_EQ(popup().Left() + popup().Width(), c.right);
    popup().Unload();
  }
}

TEST_F(PopupTest, RefusesWhileTheMonitorOpenedFromTheTrayShowsOrNothingIsSelected) {
  Select({"ShowCPU"});
  program.info.MonitorOpenedFromTray = true;
  popup().Show();
  EXPECT_FALSE(popup().Loaded() || program.info.PopupShowing);
  program.info.MonitorOpenedFromTray = false;
  fp.Set("ShowCPU", "0");
  popup().Show();
  EXPECT_FALSE(popup().Loaded() || program.info.PopupShowing);
}

TEST_F(PopupTest, UnloadEndsTheSamplersCollection) {
  MakeWindows98();
  fp.registry.Add(HKEY_DYN_DATA, "PerfStats\\StopStat");
  Select({"ShowCPU"});
  popup().Show();
  fp.registry.log.clear();
  popup().Unload();
  EXPECT_THAT(fp.registry.log, ::testing::Contains("open PerfStats\\StopStat"));
}

}  // namespace
}  // namespace sysvane::testing
