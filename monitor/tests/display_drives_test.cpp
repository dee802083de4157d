// The Monitor window's ten-second re-check of the fixed drives.
#include "monitor/tests/monitor_fixture.h"

namespace sysvane::testing {
namespace {

using ::testing::ElementsAre;

constexpr int kNoRow = Display::kNoRow;

class DisplayDrivesTest : public MonitorTest {
 protected:
  void Recheck() { fp.runtime.Advance(10000); }
};

TEST_F(DisplayDrivesTest, NewUnselectedDrivesOnlyWidenTheSlotMap) {
  Select({"ShowCPU", "ShowCdrive"});
  display().Show();
  forms::Label* cpuCaption = &display().StatText[0];
  fp.kernel.SetFixedDrives({{"c:\\", {100, 50}}, {"d:\\", {100, 50}}, {"e:\\", {100, 50}}});
  Recheck();
  EXPECT_EQ(display().StatSlotCount, 10);
  EXPECT_THAT(display().StatRow,
              ElementsAre(0, kNoRow, kNoRow, kNoRow, kNoRow, kNoRow, kNoRow, 1, kNoRow, kNoRow, kNoRow));
  EXPECT_THAT(Captions(), ElementsAre("CPU usage:", "C: drive disk usage:"));
  EXPECT_EQ(&display().StatText[0], cpuCaption);  // the rows were kept, not rebuilt
  EXPECT_EQ(display().Height(), 1140);
  EXPECT_THAT(display().DrivesShown, ElementsAre("d:\\", "e:\\"));
}

TEST_F(DisplayDrivesTest, AVanishedDriveRemovesTheLastRowAndTheOthersMoveUp) {
  fp.kernel.SetFixedDrives({{"c:\\", {100, 50}}, {"d:\\", {1000, 900}}, {"e:\\", {1000, 300}}});
  fp.kernel.mountPoints["e:\\"] = "/srv";
  Select({"ShowCPU", "ShowDdrive", "ShowEdrive"});
  display().Show();
  ASSERT_THAT(Captions(), ElementsAre("CPU usage:", "D: drive disk usage:", "E: drive disk usage:"));
  ASSERT_EQ(display().Height(), 1410);

  fp.kernel.SetFixedDrives({{"c:\\", {100, 50}}, {"e:\\", {1000, 300}}});
  Recheck();
  EXPECT_THAT(Captions(), ElementsAre("CPU usage:", "E: drive disk usage:"));
  EXPECT_FALSE(display().StatText.Exists(2));
  EXPECT_FALSE(display().StatBar.Exists(2));
  EXPECT_THAT(display().StatRow,
              ElementsAre(0, kNoRow, kNoRow, kNoRow, kNoRow, kNoRow, kNoRow, kNoRow, 1, kNoRow));
  EXPECT_EQ(display().StatText[1].ToolTipText(), "/srv");
  EXPECT_EQ(display().StatBar[1].Value(), 70);  // refreshed at once with E's own figure
  EXPECT_EQ(display().Height(), 1140);
  EXPECT_EQ(display().DriveCountShown, 1);
}

TEST_F(DisplayDrivesTest, ASelectedDriveThatAppearsGetsARowAtTheEnd) {
  Select({"ShowCPU", "ShowFdrive"});
  display().Show();
  fp.kernel.SetFixedDrives({{"c:\\", {100, 50}}, {"d:\\", {100, 50}}, {"f:\\", {1000, 250}}});
  Recheck();
  EXPECT_THAT(Captions(), ElementsAre("CPU usage:", "F: drive disk usage:"));
  EXPECT_EQ(display().StatRow[9], 1);
  EXPECT_EQ(display().StatBar[1].Top(), 390);
  EXPECT_TRUE(display().StatBar[1].Visible());
  EXPECT_EQ(display().StatBar[1].Value(), 75);
  EXPECT_EQ(display().Height(), 1140);
  EXPECT_TRUE(menu().mnuDisplay.Enabled());
}

TEST_F(DisplayDrivesTest, WhenEveryDriveRowIsGoneTheWindowCloses) {
  fp.kernel.SetFixedDrives({{"c:\\", {100, 50}}, {"d:\\", {100, 50}}, {"e:\\", {100, 50}}});
  Select({"ShowDdrive", "ShowEdrive"});
  display().Show();
  fp.kernel.SetFixedDrives({{"c:\\", {100, 50}}});
  Recheck();
  EXPECT_FALSE(display().Loaded());
  EXPECT_FALSE(menu().mnuDisplay.Enabled());
  EXPECT_FALSE(menu().mnuDisplay.Checked());
}

}  // namespace
}  // namespace sysvane::testing
