// The Options dialog's drive rows, preview bars and battery box.
#include <gtest/gtest.h>

#include "options/tests/options_fixture.h"

namespace sysvane {
namespace {

using testing::kGiB;
using OptionsDrivesTest = testing::OptionsFixture;

TEST_F(OptionsDrivesTest, NineDrivesGiveSevenRowsAndSevenKeys) {
  std::vector<std::pair<std::string, std::pair<uint64_t, uint64_t>>> drives;
  for (char letter = 'd'; letter <= 'l'; ++letter) {
    drives.push_back({std::string(1, letter) + ":\\", {uint64_t(letter - 'c') * kGiB, kGiB / 2}});
  }
  SetDrives(drives);
  Options& o = Open();
  EXPECT_EQ(o.DriveCountShown, 7);
  EXPECT_EQ(fp.program.info.FixedDriveCount, 7);
  EXPECT_EQ(o.Check1[8].Caption(), "D: drive disk usage:");
  EXPECT_EQ(o.Check1[14].Caption(), "J: drive disk usage:");
  EXPECT_TRUE(o.Check1[14].Visible() && o.Check1[14].Enabled() && o.Check1[14].TabStop());
  EXPECT_EQ(o.Check1[14].Top(), o.Check1[7].Top() + 7 * 300);
  EXPECT_EQ(o.ProgressBar1[14].Top(), o.Check1[14].Top());
  EXPECT_TRUE(o.ProgressBar1[14].Visible());
  EXPECT_EQ(o.SystemText[13].Caption(), "J: drive disk size:");
  EXPECT_EQ(o.SystemText[13].Top(), 2580 + 7 * 300);
  EXPECT_EQ(o.SystemInfo[13].Caption(), "7,516,192,768 bytes");  // 7 GiB
  EXPECT_EQ(o.SystemInfo[7].Caption(), "1,073,741,824 bytes");
  EXPECT_EQ(o.Height(), 4125 + 7 * 300);
  EXPECT_EQ(o.OKButton.Top(), 3285 + 7 * 300);
  EXPECT_EQ(o.cancelButton.Top(), o.OKButton.Top());
  EXPECT_EQ(o.applyButton.Top(), o.OKButton.Top());
  EXPECT_EQ(o.SSTab1.Height(), 3060 + 7 * 300);

  o.Check1[8].NotifyClick();
  o.applyButton.NotifyClick();
  const auto keys = WrittenKeys();
  EXPECT_EQ(std::vector<std::string>(keys.end() - 7, keys.end()),
            (std::vector<std::string>{"ShowDdrive", "ShowEdrive", "ShowFdrive", "ShowGdrive", "ShowHdrive",
                                      "ShowIdrive", "ShowJdrive"}));
  EXPECT_EQ(keys.size(), 12u + 7u);

  const int queries = fp.kernel.diskQueries;
  fp.runtime.Fire(o.Timer2);
  EXPECT_EQ(fp.kernel.diskQueries, queries);  // nothing changed, nothing rebuilt
  EXPECT_EQ(o.Height(), 4125 + 7 * 300);
}

TEST_F(OptionsDrivesTest, ADriveAddedAndRemovedGrowsAndShrinksTheWindow) {
  SetDrives({{"d:\\", {100 * kGiB, 25 * kGiB}}});
  Options& o = Open();
  EXPECT_EQ(o.Height(), 4425);

  SetDrives({{"d:\\", {100 * kGiB, 25 * kGiB}}, {"e:\\", {10 * kGiB, 5 * kGiB}}});
  fp.runtime.Fire(o.Timer2);
  EXPECT_EQ(o.Height(), 4125 + 2 * 300);
  EXPECT_EQ(o.OKButton.Top(), 3285 + 2 * 300);
  EXPECT_EQ(o.SSTab1.Height(), 3060 + 2 * 300);
  EXPECT_TRUE(o.Check1[9].Visible());
  EXPECT_EQ(o.Check1[9].Caption(), "E: drive disk usage:");
  EXPECT_EQ(o.SystemInfo[8].Caption(), "10,737,418,240 bytes");
  EXPECT_EQ(o.ProgressBar1[9].Value(), 50);
  EXPECT_EQ(o.ProgressBar1[8].Value(), 75);

  o.Check1[9].NotifyClick();
  SetDrives({{"d:\\", {100 * kGiB, 25 * kGiB}}});
  fp.runtime.Fire(o.Timer2);
  EXPECT_EQ(o.Height(), 4425);
  EXPECT_EQ(o.OKButton.Top(), 3585);
  EXPECT_FALSE(o.Check1[9].Visible() || o.Check1[9].Enabled() || o.Check1[9].TabStop());
  EXPECT_EQ(o.Check1[9].Value(), 1);  // kept, but no longer saved
  EXPECT_FALSE(o.ProgressBar1[9].Visible());
  EXPECT_FALSE(o.SystemText[8].Visible() || o.SystemInfo[8].Visible());
  o.applyButton.NotifyClick();
  EXPECT_EQ(fp.settings.values.count("ShowEdrive"), 0u);
  EXPECT_EQ(fp.settings.values["ShowDdrive"], "0");
}

TEST_F(OptionsDrivesTest, ARowTakenOverByAnotherDriveShowsThatDrivesOwnFigures) {
  fp.Set("ShowDdrive", "1");
  fp.Set("ShowEdrive", "0");
  SetDrives({{"d:\\", {100 * kGiB, 25 * kGiB}}, {"e:\\", {10 * kGiB, 5 * kGiB}}});
  Options& o = Open();
  EXPECT_EQ(o.Check1[8].Value(), 1);
  SetDrives({{"e:\\", {10 * kGiB, 5 * kGiB}}});
  fp.runtime.Fire(o.Timer2);
  EXPECT_EQ(o.Check1[8].Caption(), "E: drive disk usage:");
  EXPECT_EQ(o.Check1[8].Value(), 0);
  EXPECT_EQ(o.ProgressBar1[8].Value(), 50);
  EXPECT_EQ(o.SystemText[7].Caption(), "E: drive disk size:");
  EXPECT_EQ(o.SystemInfo[7].Caption(), "10,737,418,240 bytes");
  EXPECT_EQ(o.Height(), 4425);
}

TEST_F(OptionsDrivesTest, AFailedDiskQueryNeverShowsAnotherDrivesFigure) {
  SetDrives({{"d:\\", {100 * kGiB, 25 * kGiB}}});
  fp.kernel.disks.erase("c:\\");
  Options& o = Open();
  EXPECT_EQ(o.SystemInfo[6].Caption(), "");  // not drive D's size
  EXPECT_EQ(o.ProgressBar1[7].Value(), 0);
  EXPECT_EQ(o.ProgressBar1[8].Value(), 75);

  fp.kernel.disks.erase("d:\\");
  fp.kernel.disks["c:\\"] = DiskSpace{90 * kGiB, 100 * kGiB, 90 * kGiB};
  o.SSTab1.SetTab(1);
  EXPECT_EQ(o.ProgressBar1[8].Value(), 75);
  EXPECT_EQ(o.ProgressBar1[7].Value(), 10);
  // A drive reporting no size keeps its bar as well.
  fp.kernel.disks["c:\\"] = DiskSpace{0, 0, 0};
  fp.runtime.Fire(o.Timer1);
  EXPECT_EQ(o.ProgressBar1[7].Value(), 10);
}

TEST_F(OptionsDrivesTest, PreviewsRefreshOnlyOnTheStatisticsPageAndNotWhileMinimised) {
  Options& o = Open();
  const int atLoad = fp.kernel.diskQueries;
  fp.runtime.Advance(2700);
  EXPECT_EQ(fp.kernel.diskQueries, atLoad);
  o.SSTab1.SetTab(1);
  EXPECT_EQ(fp.kernel.diskQueries, atLoad + 1);  // at once
  fp.runtime.Advance(1800);
  EXPECT_EQ(fp.kernel.diskQueries, atLoad + 3);
  o.NotifyWindowState(forms::vbMinimized);
  fp.runtime.Advance(1800);
  EXPECT_EQ(fp.kernel.diskQueries, atLoad + 3);
  o.NotifyWindowState(forms::vbNormal);
  o.SSTab1.SetTab(2);
  fp.runtime.Advance(1800);
  EXPECT_EQ(fp.kernel.diskQueries, atLoad + 3);
}

TEST_F(OptionsDrivesTest, ThePreviewsShowEachStatistic) {
  fp.kernel.memory = MEMORYSTATUS{32, 0, 1000, 250, 0, 0, 4000, 3000};
  fp.kernel.power = SYSTEM_POWER_STATUS{1, 0, 50, 0, 0, 0};
  Options& o = Open();
  EXPECT_EQ(o.ProgressBar1[1].Value(), 75);
  EXPECT_EQ(o.ProgressBar1[2].Value(), 25);
  EXPECT_EQ(o.ProgressBar1[7].Value(), 60);
  EXPECT_EQ(o.ProgressBar1[6].Value(), 50);
  EXPECT_EQ(o.Check1[6].Caption(), "Battery status (charging):");
  EXPECT_TRUE(o.Check1[6].Enabled());  // flag 0 with a charge: a battery
  EXPECT_EQ(o.ProgressBar1[6].StartColor(), forms::Color::Rgb(255, 0, 0));
  EXPECT_EQ(o.ProgressBar1[0].StartColor(), forms::Color::Rgb(0, 192, 0));

  // A memory total of 0 keeps the bar; an unknown charge keeps the battery bar.
  fp.kernel.memory = MEMORYSTATUS{32, 0, 0, 0, 0, 0, 4000, 3000};
  fp.kernel.power = SYSTEM_POWER_STATUS{0, 2, 255, 0, 0, 0};
  o.SSTab1.SetTab(1);
  EXPECT_EQ(o.ProgressBar1[1].Value(), 75);
  EXPECT_EQ(o.ProgressBar1[6].Value(), 50);
  EXPECT_EQ(o.Check1[6].Caption(), "Battery status (unplugged):");
}

TEST_F(OptionsDrivesTest, TheBatteryBoxNeedsABattery) {
  fp.kernel.power = SYSTEM_POWER_STATUS{1, 0, 0, 0, 0, 0};
  fp.Set("ShowBattery", "1");
  Options& o = Open();
  EXPECT_FALSE(o.Check1[6].Enabled());
  EXPECT_EQ(o.Check1[6].Value(), 1);  // still loaded, and saved
  o.Unload();
  fp.kernel.power = SYSTEM_POWER_STATUS{1, 1, 100, 0, 0, 0};
  EXPECT_TRUE(Open().Check1[6].Enabled());
  EXPECT_EQ(options().Check1[6].Caption(), "Battery status:");
}

}  // namespace
}  // namespace sysvane
