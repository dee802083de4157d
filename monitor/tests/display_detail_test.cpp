// The detail window over a resting pointer, and the drive rows' ten-second re-check.
#include "monitor/detail_display.h"
#include "monitor/display.h"
#include "tests/support/window_test.h"

namespace sysvane::testing {
namespace {

using ::testing::ElementsAre;

class DetailTest : public WindowTest {
 protected:
  Display& display() { return program.display(); }
  DetailDisplay& detail() { return program.detailDisplay(); }
  bool Shown() { return detail().Loaded() && detail().Visible(); }
  // The pointer rests a second on the bar of `row`.
  void Rest(int row) {
    display().StatBar[row].NotifyMouseMove(0, 0, 100, 100);
    rt.Advance(1000);
  }
  std::vector<std::string> Lines() {
    if (!Shown()) return {};
    return {detail().Label0.Caption(), detail().Label1.Caption(), detail().Label2.Caption(),
            detail().Label3.Caption(), std::to_string(int(detail().Height()))};
  }
};

TEST_F(DetailTest, TheFiguresOfTheStatisticUnderThePointerOrNoWindow) {
  struct Case {
    const char* name;
    int row;
    std::function<void()> change;  // after the window's load
    std::vector<std::string> lines;
  };
  const std::string used = "are currently being used";
  const Case cases[] = {
      {"memory", 1, [] {}, {"Physical Memory", "11.811.160.064 of", "17.179.869.184 bytes", used, "975"}},
      {"virtual", 2, [] {}, {"Virtual Memory", "1 of", "140.737.488.224.256 bytes", used, "975"}},
      {"CPU, NT", 0, [] {}, {"CPU Activity", "Fake Processor (740 MHz)", "", "", "555"}},
      {"CPU, 98",
       0,
       [&] { MakeWindows98(); },
       {"CPU Activity", "Fake Processor (740 MHz)", "1,234 active processes", "56,789 active threads",
        "975"}},
      {"battery", 3, [] {}, {"Battery Status", "1:02:05 remaining", "", "", "555"}},
      {"battery, full time known",
       3,
       [&] { Power(0, 2, 40, 3725, 36000); },
       {"Battery Status", "1:02:05 remaining of", "10:00:00 full-charge", "(approximately) available",
        "975"}},
      {"battery, no time", 3, [&] { Power(0, 2, 40, 0, 36000); }, {}},
      {"battery, unknown time", 3, [&] { Power(0, 2, 40, BATTERY_LIFE_UNKNOWN, 36000); }, {}},
      {"drive D asked afresh",
       5,
       [&] {
         fp.kernel.disks["d:\\"] = DiskSpace{1'000'000, 2'000'000, 1'000'000};
       },
       {"D: Drive", "1,000,000 of", "2,000,000 bytes", used, "975"}},
      {"drive C", 4, [] {}, {"C: Drive", "375,000,000,000 of", "500,000,000,000 bytes", used, "975"}},
      {"drive D unreadable", 5, [&] { fp.kernel.disks.erase("d:\\"); }, {}},
  };
  fp.processor.name = "Fake Processor";
  fp.processor.speed = "733M";
  fp.kernel.processes = Kernel::ProcessCounts{1234, 56789};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    rt.locale.thousandsSeparator.assign(1, c.row == 1 || c.row == 2 ? '.' : ',');
    SetMemory(17'179'869'184, 5'368'709'120, 140'737'488'224'256, 140'737'488'224'255);
    Power(0, 2, 40, 3725, BATTERY_LIFE_UNKNOWN);
    fp.kernel.SetFixedDrives({{"c:\\", {500'000'000'000, 125'000'000'000}}, {"d:\\", {2'000'000, 500'000}}});
    Select({"ShowCPU", "ShowPhysMem", "ShowVirtMem", "ShowBattery", "ShowCdrive", "ShowDdrive"});
    display().Show();
    Rest(c.row == 1 ? 0 : 1);  // another statistic first: none of its lines may linger
    c.change();
    Rest(c.row);
    EXPECT_EQ(Lines(), c.lines);
    display().Unload();
    fp.kernel.version = OSVERSIONINFO{148, 6, 8, 0, VER_PLATFORM_WIN32_NT, ""};
  }
}

TEST_F(DetailTest, OpensAfterASecondOfRestAndClosesWhenThePointerLeavesTheBars) {
  program.info.WindowsFamily = 95;
  Select({"ShowPhysMem", "ShowSysRsrc"});
  display().Show();
  for (int move = 0; move < 2; ++move) {  // each move starts the second afresh
    display().StatBar[0].NotifyMouseMove(0, 0, 1, 1);
    rt.Advance(600);
  }
  EXPECT_FALSE(Shown());
  rt.Advance(400);
  EXPECT_TRUE(Shown());
  EXPECT_FALSE(rt.TimerRunning(display().Timer2));
  for (auto leave : std::vector<std::function<void()>>{
           [&] { display().StatText[0].NotifyMouseMove(0, 0, 1, 1); },
           [&] { display().NotifyMouseMove(0, 0, 1, 1); },
           [&] { display().NotifyDeactivate(), display().NotifyActivate(); }, [&] { Rest(1); }}) {
    Rest(0);
    ASSERT_TRUE(Shown());
    leave();
    rt.Advance(2000);
    EXPECT_FALSE(detail().Loaded());
  }
}

TEST_F(DetailTest, BesideTheMonitorWindowLevelWithTheBarButNeverBelowIt) {
  struct Case {
    const char* left;
    int row;
    forms::Twips detailLeft, detailTop;  // -1: its bottom on the Monitor window's
  };
  // The Monitor window is 4110 wide; the detail window, 1860, would run past 28800 from 22816 on.
  for (const Case& c :
       {Case{"1000", 1, 1000 + 4110 + 15, 3000 + 390 + 300}, Case{"22815", 0, 22815 + 4125, 3420},
        Case{"22816", 0, 22816 - 1860 - 15, 3420}, Case{"1000", 4, 5125, -1}}) {
    fp.Set("MainLeft", c.left);
    fp.Set("MainTop", "3000");
    Select({"ShowCPU", "ShowPhysMem", "ShowVirtMem", "ShowCdrive", "ShowBattery"});
    Power(0, 2, 40, 3725, 36000);
    display().Show();
    Rest(c.row);
    EXPECT_EQ(detail().Left(), c.detailLeft) << c.left;
    EXPECT_EQ(detail().Top(), c.detailTop >= 0 ? c.detailTop : display().Top() + display().Height() - 975);
    display().Unload();
  }
}

TEST_F(DetailTest, DriveRowsFollowTheDrivesAtTheEndOfTheWindow) {
  struct Case {
    std::vector<std::string> on;
    std::string before, after;          // the letters of the fixed drives besides C
    std::vector<std::string> captions;  // empty: the window has closed
  };
  const std::string cpu = "CPU usage:", c = "C: drive disk usage:", e = "E: drive disk usage:",
                    f = "F: drive disk usage:";
  const Case cases[] = {
      {{"ShowCPU", "ShowCdrive"}, "", "de", {cpu, c}},
      {{"ShowCPU", "ShowCdrive", "ShowDdrive", "ShowEdrive"}, "de", "e", {cpu, c, e}},
      {{"ShowCPU", "ShowCdrive", "ShowFdrive"}, "", "f", {cpu, c, f}},
      {{"ShowCPU", "ShowCdrive", "ShowEdrive", "ShowFdrive"}, "e", "fe", {cpu, c, f, e}},
      {{"ShowDdrive", "ShowEdrive"}, "de", "", {}},
  };
  auto drives = [&](const std::string& letters) {
    std::vector<std::pair<std::string, std::pair<uint64_t, uint64_t>>> list{{"c:\\", {1000, 500}}};
    for (char l : letters)
      list.push_back({std::string(1, l) + ":\\", {1000, uint64_t(1000 - 100 * (l - 'a'))}});
    fp.kernel.SetFixedDrives(list);
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.before + " to " + k.after);
    fp.settings.values.clear();
    Select(k.on);
    drives(k.before);
    display().Show();
    const forms::Label* first = &display().StatText[0];
    drives(k.after);
    rt.Advance(10000);
    std::vector<std::string> captions;
    for (int row = 0; display().Loaded() && row <= display().LastRow; ++row) {
      captions.push_back(display().StatText[row].Caption());
      EXPECT_TRUE(row < 2 || display().StatBar[row].Value() == 10 * (captions.back()[0] - 'A')) << row;
    }
    EXPECT_EQ(captions, k.captions);
    EXPECT_EQ(menu().mnuDisplay.Enabled(), !k.captions.empty());
    if (!display().Loaded()) continue;
    EXPECT_EQ(&display().StatText[0], first) << "rows are kept, not rebuilt";
    EXPECT_FALSE(display().StatText.Exists(int(captions.size())));
    EXPECT_EQ(display().Height(), 870 + 270 * (int(captions.size()) - 1));
    EXPECT_EQ(display().StatSlotCount, 8 + int(k.after.size()));
    display().Unload();
  }
}

}  // namespace
}  // namespace sysvane::testing
