// The Monitor window's bars as its 900 ms refresh sets them.
#include "monitor/tests/monitor_fixture.h"

namespace sysvane::testing {
namespace {

class DisplayRefreshTest : public MonitorTest {
 protected:
  forms::ProgressBar& Bar(int slot) { return display().StatBar[display().StatRow[slot]]; }
  std::string Caption(int slot) { return display().StatText[display().StatRow[slot]].Caption(); }
};

TEST_F(DisplayRefreshTest, CPUBarFollowsTheSamplerAndShowsAFailureAsZero) {
  Select({"ShowCPU"});
  fp.kernel.systemTime = 0;
  fp.kernel.idleTime = 0;
  display().Show();
  fp.kernel.systemTime = 9'000'000;  // 0.9 s, a quarter of it idle
  fp.kernel.idleTime = 2'250'000;
  fp.runtime.Advance(900);
  EXPECT_EQ(Bar(Display::kSlotCPU).Value(), 75);
  fp.kernel.processorCount = std::nullopt;  // the sampler answers -1
  fp.runtime.Advance(900);
  EXPECT_EQ(display().CPUPercent, -1);
  EXPECT_EQ(Bar(Display::kSlotCPU).Value(), 0);
}

TEST_F(DisplayRefreshTest, MemoryBarsUseFull64BitCountsAndRoundHalvesToEven) {
  Select({"ShowPhysMem", "ShowVirtMem"});
  // 64 GiB with 40.5 GiB used: 63.28125 %; 200 of 1000 units used plus a half percent: 20.5 -> 20
  SetMemory(64ull << 30, (64ull << 30) - (81ull << 29), 1000ull << 32, 795ull << 32);
  display().Show();
  EXPECT_EQ(Bar(Display::kSlotPhysMem).Value(), 63);
  EXPECT_EQ(Bar(Display::kSlotVirtMem).Value(), 20);
  SetMemory(1000, 215, 1000, 785);  // 78.5 -> 78, 21.5 -> 22
  fp.runtime.Advance(900);
  EXPECT_EQ(Bar(Display::kSlotPhysMem).Value(), 78);
  EXPECT_EQ(Bar(Display::kSlotVirtMem).Value(), 22);
}

TEST_F(DisplayRefreshTest, AFailingStatisticKeepsItsOwnBar) {
  fp.kernel.SetFixedDrives({{"c:\\", {1000, 100}}, {"d:\\", {1000, 700}}, {"e:\\", {1000, 500}}});
  Select({"ShowPhysMem", "ShowVirtMem", "ShowCdrive", "ShowDdrive", "ShowEdrive"});
  SetMemory(1000, 600, 1000, 300);
  display().Show();
  ASSERT_EQ(Bar(Display::kSlotPhysMem).Value(), 40);
  ASSERT_EQ(Bar(Display::kFirstDriveSlot).Value(), 30);

  SetMemory(0, 0, 1000, 100);                    // physical total 0: no figure
  fp.kernel.disks.erase("d:\\");                 // D cannot be read
  fp.kernel.disks["e:\\"] = DiskSpace{0, 0, 0};  // E reports no size
  fp.runtime.Advance(900);
  EXPECT_EQ(Bar(Display::kSlotPhysMem).Value(), 40);
  EXPECT_EQ(Bar(Display::kSlotVirtMem).Value(), 90);
  EXPECT_EQ(Bar(Display::kSlotCdrive).Value(), 90);
  EXPECT_EQ(Bar(Display::kFirstDriveSlot).Value(), 30);      // not C's 90
  EXPECT_EQ(Bar(Display::kFirstDriveSlot + 1).Value(), 50);  // not D's or C's
}

TEST_F(DisplayRefreshTest, DriveRowsAskAboutTheirOwnDrivesWhateverTheSharedListHolds) {
  fp.kernel.SetFixedDrives({{"c:\\", {1000, 100}}, {"d:\\", {1000, 700}}});
  Select({"ShowDdrive"});
  display().Show();
  // Another window has rebuilt the shared list in the meantime.
  fp.program.info.FixedDrives = {"e:\\"};
  fp.kernel.disks["e:\\"] = DiskSpace{0, 1000, 0};
  fp.kernel.disks["d:\\"] = DiskSpace{400, 1000, 400};
  fp.kernel.diskQueryLog.clear();
  fp.runtime.Advance(900);
  EXPECT_EQ(fp.kernel.diskQueryLog, std::vector<std::string>{"d:\\"});
  EXPECT_EQ(Bar(Display::kFirstDriveSlot).Value(), 60);
  EXPECT_EQ(display().DrivePath, "d:\\");
  EXPECT_EQ(display().DiskTotal, 1000u);
}

TEST_F(DisplayRefreshTest, BatteryCaptionFollowsThePowerState) {
  struct Case {
    uint8_t ac, flag, percent;
    const char* caption;
  };
  const Case cases[] = {
      {0, 1, 80, "Battery status (unplugged):"},
      {0, 8, 100, "Battery status (unplugged):"},
      {1, 1, 70, "Battery status:"},
      {1, 8, 100, "Battery status:"},
      {1, 2, 40, "Battery status (charging):"},
      {1, 0, 1, "Battery status:"},
  };
  fp.kernel.power = SYSTEM_POWER_STATUS{1, 1, 50, 0, 0, 0};
  Select({"ShowBattery"});
  display().Show();
  for (const Case& c : cases) {
    fp.kernel.power = SYSTEM_POWER_STATUS{c.ac, c.flag, c.percent, 0, 0, 0};
    fp.runtime.Advance(900);
    EXPECT_EQ(Caption(Display::kSlotBattery), c.caption) << int(c.ac) << " " << int(c.flag);
    EXPECT_EQ(Bar(Display::kSlotBattery).Value(), c.percent);
  }
  // A battery that has gone leaves the row as it was.
  fp.kernel.power = SYSTEM_POWER_STATUS{1, 128, 255, 0, 0, 0};
  fp.runtime.Advance(900);
  EXPECT_EQ(Caption(Display::kSlotBattery), "Battery status:");
  EXPECT_EQ(Bar(Display::kSlotBattery).Value(), 1);
}

TEST_F(DisplayRefreshTest, ResourceBarsShowTheFreeShareOnThe95Family) {
  fp.program.info.WindowsFamily = 95;
  fp.resources.free[0] = 81;
  fp.resources.free[1] = 64;
  fp.resources.free[2] = 72;
  Select({"ShowSysRsrc", "ShowUserRsrc"});
  display().Show();
  EXPECT_EQ(Bar(3).Value(), 81);
  EXPECT_EQ(Bar(5).Value(), 72);
  EXPECT_EQ(display().StatRow[4], Display::kNoRow);
}

}  // namespace
}  // namespace sysvane::testing
