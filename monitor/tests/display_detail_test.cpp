// The detail window over a resting pointer, and the Monitor window closing when its last drive goes.
#include "monitor/detail_display.h"
#include "monitor/display.h"
#include "tests/support/window_test.h"

namespace sysvane::testing {
namespace {

class DetailTest : public WindowTest {
 protected:
  Display& display() { return program.display(); }
  // The pointer rests a second on the bar of `row`: the detail window's lines, height and place.
  std::string Rest(int row) {
    display().StatBar[row].NotifyMouseMove(0, 0, 100, 100);
    rt.Advance(1000);
    const DetailDisplay& d = program.detailDisplay();
    if (!d.Loaded() || !d.Visible()) return "";
    EXPECT_TRUE(d.OnTop());
    const forms::Label* lines[] = {&d.Label0, &d.Label1, &d.Label2, &d.Label3};
    auto n = [](forms::Twips t) { return std::to_string(int(t)); };
    return Join(4, [&](int i) { return lines[i]->Caption(); }) + " " + n(d.Height()) + " " + n(d.Left()) +
           "," + n(d.Top());
  }
};

TEST_F(DetailTest, TheFiguresOfTheStatisticUnderThePointerBesideTheWindowOrNoWindow) {
  // The row, a change after the window's load, what the detail window shows, the Monitor window's
  // left (4110 wide, at top 3000 and 2220 high). Processes and threads are Windows 95's lines.
  const std::string used = "|are currently being used 975 5125,";
  auto none = [] {};
  // clang-format off
  const std::tuple<int, std::function<void()>, std::string, const char*> cases[] = {
      {1, none, "Physical Memory|11.811.160.064 of|17.179.869.184 bytes" + used + "3690", "1000"},
      {2, none, "Virtual Memory|1 of|140.737.488.224.256 bytes" + used + "3960", "1000"},
      {0, none, "CPU Activity|Fake Processor (740 MHz)|| 555 5125,3420", "1000"},
      {3, none, "Battery Status|1:02:05 remaining|| 555 26940,4230", "22815"},  // right up to the work area's edge
      {3, [&] { Power(0, 2, 40, 3725, 36000); },  // one more twip: on the left
       "Battery Status|1:02:05 remaining of|10:00:00 full-charge|(approximately) available 975 20941,4230", "22816"},
      {3, [&] { Power(0, 2, 40, 0, 36000); }, "", "1000"}, {3, [&] { Power(0, 2, 40, BATTERY_LIFE_UNKNOWN, 36000); }, "", "1000"},
      {5, [&] { fp.kernel.disks["d:\\"] = DiskSpace{1'000'000, 2'000'000, 1'000'000}; },  // asked afresh
       "D: Drive|1.000.000 of|2.000.000 bytes" + used + "4245", "1000"},  // the bottoms level
      {5, [&] { fp.kernel.disks.erase("d:\\"); }, "", "1000"},
      {1, [&] { SetMemory(0, 0); }, "", "1000"},
      {3, [&] { Power(0, 2, 40, 3725, 0); }, "Battery Status|1:02:05 remaining|| 555 5125,4230", "1000"}};
  // clang-format on
  rt.locale.thousandsSeparator = ".";
  fp.processor.name = "Fake Processor";
  fp.processor.speed = "733M";
  fp.Select("CPU PhysMem VirtMem Battery Cdrive Ddrive");
  for (const auto& [row, change, shown, left] : cases) {
    SetMemory(17'179'869'184, 5'368'709'120, 140'737'488'224'256, 140'737'488'224'255);
    Power(0, 2, 40, 3725, BATTERY_LIFE_UNKNOWN);
    fp.kernel.SetFixedDrives({{"c:\\", {500'000'000'000, 125'000'000'000}}, {"d:\\", {2'000'000, 500'000}}});
    fp.Set("MainLeft", left);
    fp.Set("MainTop", "3000");
    display().Show();
    Rest(row == 1 ? 0 : 1);  // another statistic first: none of its lines may linger
    change();
    EXPECT_EQ(Rest(row), shown);
    display().NotifyDeactivate();  // a click into the Monitor window closes it
    display().NotifyActivate();
    EXPECT_FALSE(program.detailDisplay().Loaded());
    display().Unload();
  }
}

// How every window's drive rows follow the drives is the drives fault test's; here, what only the
// Monitor window does: it sheds a row and its height, and without rows left it closes.
TEST_F(DetailTest, TheMonitorWindowClosesWhenTheReCheckLeavesItNoRow) {
  fp.Select("Ddrive Edrive");
  Drives("de");
  display().Show();
  Drives("d");
  rt.Advance(10000);
  EXPECT_FALSE(display().StatText.Exists(1) || display().StatBar.Exists(1) || display().Height() != 870);
  Drives("");
  rt.Advance(10000);
  EXPECT_FALSE(display().Loaded() || menu().mnuDisplay.Enabled());
}

}  // namespace
}  // namespace sysvane::testing
