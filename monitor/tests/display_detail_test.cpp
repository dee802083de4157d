// The detail window that opens when the pointer rests on one of the Monitor window's bars.
#include "monitor/tests/monitor_fixture.h"

namespace sysvane::testing {
namespace {

using ::testing::ElementsAre;

class DisplayDetailTest : public MonitorTest {
 protected:
  void Hover(int row) { display().StatBar[row].NotifyMouseMove(0, 0, 100, 100); }
  bool DetailShown() { return fp.program.detailDisplay().Loaded() && detail().Visible(); }
  std::vector<std::string> Lines() {
    return {detail().Label0.Caption(), detail().Label1.Caption(), detail().Label2.Caption(),
            detail().Label3.Caption()};
  }
};

TEST_F(DisplayDetailTest, OpensAfterASecondOfRestAndEachMoveStartsTheSecondAgain) {
  Select({"ShowPhysMem"});
  display().Show();
  Hover(0);
  fp.runtime.Advance(600);
  Hover(0);
  fp.runtime.Advance(900);
  EXPECT_FALSE(DetailShown());
  fp.runtime.Advance(100);
  EXPECT_TRUE(DetailShown());
  EXPECT_FALSE(fp.runtime.TimerRunning(display().Timer2));  // once per rest

  // Onto a caption: the window closes and the pending second is dropped.
  Hover(0);
  display().StatText[0].NotifyMouseMove(0, 0, 10, 10);
  EXPECT_EQ(display().HoverRow, Display::kNoRow);
  EXPECT_FALSE(fp.program.detailDisplay().Loaded());
  fp.runtime.Advance(2000);
  EXPECT_FALSE(DetailShown());
}

TEST_F(DisplayDetailTest, BackgroundMoveAndActivationCloseIt) {
  Select({"ShowPhysMem"});
  display().Show();
  Hover(0);
  fp.runtime.Advance(1000);
  ASSERT_TRUE(DetailShown());
  display().NotifyMouseMove(0, 0, 10, 10);
  EXPECT_FALSE(fp.program.detailDisplay().Loaded());

  Hover(0);
  fp.runtime.Advance(1000);
  ASSERT_TRUE(DetailShown());
  display().NotifyDeactivate();
  display().NotifyActivate();
  EXPECT_FALSE(fp.program.detailDisplay().Loaded());
}

TEST_F(DisplayDetailTest, MemoryFiguresAreExactAndGroupedInTheUsersLocale) {
  fp.runtime.locale.thousandsSeparator = ".";
  SetMemory(17'179'869'184, 5'368'709'120, 140'737'488'224'256, 140'737'488'224'255);
  Select({"ShowCPU", "ShowPhysMem", "ShowVirtMem"});
  display().Show();
  Hover(1);
  fp.runtime.Advance(1000);
  EXPECT_THAT(Lines(), ElementsAre("Physical Memory", "11.811.160.064 of", "17.179.869.184 bytes",
                                   "are currently being used"));
  EXPECT_EQ(detail().Height(), 975);
  Hover(2);
  fp.runtime.Advance(1000);
  EXPECT_THAT(Lines(),
              ElementsAre("Virtual Memory", "1 of", "140.737.488.224.256 bytes", "are currently being used"));
}

TEST_F(DisplayDetailTest, CPUDetailShortOnTheNTFamilyWithProcessesOnThe95Family) {
  fp.processor.name = "Fake Processor";
  fp.processor.speed = "733M";
  fp.kernel.processes = Kernel::ProcessCounts{1234, 56789};
  Select({"ShowCPU", "ShowPhysMem"});
  display().Show();
  Hover(1);
  fp.runtime.Advance(1000);  // memory first: its fourth line must not linger below
  Hover(0);
  fp.runtime.Advance(1000);
  EXPECT_THAT(Lines(), ElementsAre("CPU Activity", "Fake Processor (740 MHz)", "", ""));
  EXPECT_EQ(detail().Height(), 555);
  display().Unload();

  fp.kernel.version = OSVERSIONINFO{148, 4, 10, 1998, VER_PLATFORM_WIN32_WINDOWS, ""};
  display().Show();
  Hover(0);
  fp.runtime.Advance(1000);
  EXPECT_THAT(Lines(), ElementsAre("CPU Activity", "Fake Processor (740 MHz)", "1,234 active processes",
                                   "56,789 active threads"));
  EXPECT_EQ(detail().Height(), 975);
  Hover(1);
  fp.runtime.Advance(1000);
  EXPECT_EQ(detail().Label3.Caption(), "are currently being used");
}

TEST_F(DisplayDetailTest, BatteryDetailByItsKnownTimes) {
  fp.kernel.power = SYSTEM_POWER_STATUS{0, 2, 40, 0, 3725, BATTERY_LIFE_UNKNOWN};
  Select({"ShowBattery"});
  display().Show();
  Hover(0);
  fp.runtime.Advance(1000);
  EXPECT_THAT(Lines(), ElementsAre("Battery Status", "1:02:05 remaining", "", ""));
  EXPECT_EQ(detail().Height(), 555);

  fp.kernel.power = SYSTEM_POWER_STATUS{0, 2, 40, 0, 3725, 36000};
  Hover(0);
  fp.runtime.Advance(1000);
  EXPECT_THAT(Lines(), ElementsAre("Battery Status", "1:02:05 remaining of", "10:00:00 full-charge",
                                   "(approximately) available"));
  EXPECT_EQ(detail().Height(), 975);

  for (uint32_t unknown : {0u, BATTERY_LIFE_UNKNOWN}) {
    fp.kernel.power = SYSTEM_POWER_STATUS{0, 2, 40, 0, unknown, 36000};
    Hover(0);
    fp.runtime.Advance(1000);
    EXPECT_FALSE(fp.program.detailDisplay().Loaded()) << unknown;
  }
}

TEST_F(DisplayDetailTest, DriveDetailAsksTheDriveAfresh) {
  fp.kernel.SetFixedDrives({{"c:\\", {500'000'000'000, 125'000'000'000}}, {"d:\\", {2'000'000, 500'000}}});
  Select({"ShowCdrive", "ShowDdrive"});
  display().Show();
  fp.kernel.disks["d:\\"] = DiskSpace{1'000'000, 2'000'000, 1'000'000};  // changed since the refresh
  Hover(1);
  fp.runtime.Advance(1000);
  EXPECT_THAT(Lines(),
              ElementsAre("D: Drive", "1,000,000 of", "2,000,000 bytes", "are currently being used"));
  Hover(0);
  fp.runtime.Advance(1000);
  EXPECT_THAT(Lines(), ElementsAre("C: Drive", "375,000,000,000 of", "500,000,000,000 bytes",
                                   "are currently being used"));

  fp.kernel.disks.erase("d:\\");  // unreadable now: no window rather than C's figures
  Hover(1);
  fp.runtime.Advance(1000);
  EXPECT_FALSE(fp.program.detailDisplay().Loaded());
}

TEST_F(DisplayDetailTest, ResourceRowsHaveNoDetail) {
  fp.program.info.WindowsFamily = 95;
  Select({"ShowSysRsrc"});
  display().Show();
  Hover(0);
  fp.runtime.Advance(1000);
  EXPECT_FALSE(fp.program.detailDisplay().Loaded());
}

TEST_F(DisplayDetailTest, OpensOnTheRightOrOnTheLeftNearTheWorkAreasEdge) {
  Select({"ShowPhysMem"});
  fp.Set("MainLeft", "1000");
  fp.Set("MainTop", "5000");
  display().Show();
  Hover(0);
  fp.runtime.Advance(1000);
  EXPECT_EQ(detail().Left(), 1000 + display().Width() + 15);
  display().Unload();

  // 28800 - 4110 - 1000: the detail window (1860 wide) would run past the right edge.
  fp.Set("MainLeft", "23690");
  display().Show();
  Hover(0);
  fp.runtime.Advance(1000);
  EXPECT_EQ(detail().Left(), 23690 - 1860 - 15);
}

TEST_F(DisplayDetailTest, LevelWithTheBarButNeverBelowTheMonitorWindow) {
  fp.program.info.WindowsFamily = 95;
  Select(
      {"ShowCPU", "ShowPhysMem", "ShowVirtMem", "ShowSysRsrc", "ShowGDIRsrc", "ShowUserRsrc", "ShowCdrive"});
  fp.Set("MainTop", "3000");
  display().Show();
  ASSERT_EQ(display().Height(), 870 + 270 * 6);
  Hover(1);
  fp.runtime.Advance(1000);
  EXPECT_EQ(detail().Top(), 3000 + 390 + 300);
  Hover(6);  // the last row: its bottom edge meets the Monitor window's
  fp.runtime.Advance(1000);
  EXPECT_EQ(detail().Top() + detail().Height(), display().Top() + display().Height());
}

}  // namespace
}  // namespace sysvane::testing
