// The tray tip: which figures it shows, how they read, and when it is left alone.
#include "monitor/display.h"
#include "options/options_dialog.h"
#include "shell/tests/shell_test_support.h"

namespace sysvane::testing {
namespace {

class TipTest : public ShellTest {
 protected:
  // Starts with the given statistics, then moves the mouse over the icon once.
  std::string TipAfterStart(const std::vector<std::string>& keysOn, int32_t cpu = 5) {
    Saved(keysOn);
    Start();
    SetCpu(cpu);
    rt.DeliverTray(forms::WM_MOUSEMOVE);
    return rt.TrayTip();
  }
  void Power(uint8_t acLine, uint8_t flag, uint8_t percent) {
    fp.kernel.power = SYSTEM_POWER_STATUS{acLine, flag, percent, 0, 0, 0};
  }
};

TEST(TipBattery, LabelFollowsThePowerState) {
  struct Case {
    SYSTEM_POWER_STATUS power;
    const char* tip;
  };
  const Case cases[] = {
      {{1, 1, 100, 0, 0, 0}, "Battery: 100%"},
      {{0, 1, 57, 0, 0, 0}, "Battery(unplugged): 57%"},
      {{1, 8, 40, 0, 0, 0}, "Battery(charging): 40%"},
      {{1, 2, 100, 0, 0, 0}, "Battery: 100%"},             // full counts as plain whatever the flag
      {{255, 255, 255, 0, 0, 0}, "Battery(charging): ?"},  // nothing known: no "255%"
  };
  for (const Case& c : cases) {
    fake::FakeProgram fp;
    fp.Set("Defined", "Yes");
    fp.Set("ShowSplash", "0");
    fp.Set("ShowBattery", "1");
    fp.kernel.power = c.power;
    fp.program.menu().Load();
    fp.runtime.DeliverTray(forms::WM_MOUSEMOVE);
    EXPECT_EQ(fp.runtime.TrayTip(), c.tip);
  }
}

TEST_F(TipTest, BatteryWithoutFlagsTakesItsChargeAsFlag) {
  Power(1, 0, 1);  // flag 0 with 1 %: the flag becomes 1, which reads as plain
  EXPECT_EQ(TipAfterStart({"ShowCPU", "ShowBattery"}), "CPU: 5%, Battery: 1%");
}

TEST_F(TipTest, EverythingOnWindows98FitsTheIcon) {
  MakeWindows98();
  fp.kernel.memory = MEMORYSTATUS{32, 0, 1000, 370, 0, 0, 0, 0};
  fp.resources.free[0] = 81;
  Power(0, 1, 90);
  const std::string tip =
      TipAfterStart({"ShowCPU", "ShowPhysMem", "ShowVirtMem", "ShowSysRsrc", "ShowGDIRsrc", "ShowBattery"});
  EXPECT_EQ(tip, "CPU: 5%, Memory: 63%, Resources: 81%, Battery(unplugged): 90%");
  EXPECT_EQ(tip.size(), 61u);
}

TEST_F(TipTest, EverythingFullIsCutToSixtyThreeCharacters) {
  MakeWindows98();
  fp.kernel.memory = MEMORYSTATUS{32, 0, 1000, 0, 0, 0, 0, 0};
  fp.resources.free[0] = 100;
  Power(0, 1, 100);
  TipAfterStart({"ShowCPU", "ShowPhysMem", "ShowSysRsrc", "ShowBattery"}, 100);
  EXPECT_EQ(menu().TipText, "CPU: 100%, Memory: 100%, Resources: 100%, Battery(unplugged): 100%");
  EXPECT_EQ(rt.TrayTip(), "CPU: 100%, Memory: 100%, Resources: 100%, Battery(unplugged): 1");
}

TEST_F(TipTest, ResourcesAreLeftOutOnTheNtFamily) {
  fp.resources.free[0] = 81;
  fp.kernel.memory = MEMORYSTATUS{32, 0, 200, 103, 0, 0, 0, 0};  // 48.5 % used: halves to even
  EXPECT_EQ(TipAfterStart({"ShowPhysMem", "ShowSysRsrc"}), "Memory: 48%");
}

TEST_F(TipTest, FailedCpuReadingShowsZero) {
  EXPECT_EQ(TipAfterStart({"ShowCPU"}, -1), "CPU: 0%");
  EXPECT_EQ(menu().CPUPercent, -1);
}

TEST_F(TipTest, MemoryWithoutATotalIsLeftOut) {
  fp.kernel.memory = MEMORYSTATUS{};
  EXPECT_EQ(TipAfterStart({"ShowCPU", "ShowPhysMem"}), "CPU: 5%");
}

TEST_F(TipTest, ASeparatorPrecedesTheBatteryEvenWhenItHasGoneAway) {
  Power(1, 1, 80);
  Saved({"ShowCPU", "ShowBattery"});
  Start();
  ASSERT_TRUE(menu().HasBattery);
  SetCpu(5);
  Power(1, 0, 0);  // no flags, no charge: no label, but the figure stays
  rt.DeliverTray(forms::WM_MOUSEMOVE);
  EXPECT_EQ(rt.TrayTip(), "CPU: 5%, 0%");
}

TEST_F(TipTest, BatteryFoundAbsentAtStartIsNeverShown) {
  Power(1, 128, 255);
  Saved({"ShowCPU", "ShowBattery"});
  Start();
  Power(0, 1, 50);  // plugged in later: decided at start-up only
  SetCpu(5);
  rt.DeliverTray(forms::WM_MOUSEMOVE);
  EXPECT_EQ(rt.TrayTip(), "CPU: 5%");
}

TEST_F(TipTest, OnlyADriveSelectedGivesAnEmptyTipSentOnce) {
  fp.kernel.SetFixedDrives({{"c:\\", {100, 40}}, {"d:\\", {100, 40}}});
  Saved({"ShowDdrive"});
  Start();
  rt.DeliverTray(forms::WM_MOUSEMOVE);
  rt.DeliverTray(forms::WM_MOUSEMOVE);
  EXPECT_EQ(rt.TrayTip(), "");
  EXPECT_EQ(TrayCallCount(forms::NIM_MODIFY), 1u);
}

TEST_F(TipTest, UnchangedTipIsNotSentAgain) {
  TipAfterStart({"ShowCPU"});
  rt.DeliverTray(forms::WM_MOUSEMOVE);
  EXPECT_EQ(TrayCallCount(forms::NIM_MODIFY), 1u);
  SetCpu(6);
  rt.DeliverTray(forms::WM_MOUSEMOVE);
  EXPECT_EQ(TrayCallCount(forms::NIM_MODIFY), 2u);
  EXPECT_EQ(rt.TrayTip(), "CPU: 6%");
}

TEST_F(TipTest, NothingSelectedKeepsTheFixedTipWithoutSending) {
  Saved({});
  Start();
  for (int i = 0; i < 3; ++i) rt.DeliverTray(forms::WM_MOUSEMOVE);
  EXPECT_EQ(rt.TrayTip(), "Sysvane Monitor");
  EXPECT_EQ(TrayCallCount(forms::NIM_MODIFY), 0u);
}

TEST_F(TipTest, FixedTipWhileOptionsOrMonitorIsOpen) {
  ASSERT_EQ(TipAfterStart({"ShowCPU"}), "CPU: 5%");
  menu().mnuOptions.SetChecked(true);  // the Options dialog is open
  rt.DeliverTray(forms::WM_MOUSEMOVE);
  EXPECT_EQ(rt.TrayTip(), "Sysvane Monitor");
  rt.DeliverTray(forms::WM_MOUSEMOVE);
  EXPECT_EQ(TrayCallCount(forms::NIM_MODIFY), 2u);

  menu().mnuOptions.SetChecked(false);
  rt.DeliverTray(forms::WM_MOUSEMOVE);
  EXPECT_EQ(rt.TrayTip(), "CPU: 5%");
  menu().mnuDisplay.SetChecked(true);  // the Monitor window is open
  rt.DeliverTray(forms::WM_MOUSEMOVE);
  EXPECT_EQ(rt.TrayTip(), "Sysvane Monitor");
}

TEST_F(TipTest, TipIsLeftAloneWhileTheRollUpWindowShows) {
  ASSERT_EQ(TipAfterStart({"ShowCPU"}), "CPU: 5%");
  program.info.PopupShowing = true;
  SetCpu(77);
  rt.DeliverTray(forms::WM_MOUSEMOVE);
  EXPECT_EQ(rt.TrayTip(), "CPU: 5%");
  EXPECT_EQ(TrayCallCount(forms::NIM_MODIFY), 1u);
}

}  // namespace
}  // namespace sysvane::testing
