// The detail window over a resting pointer, and the drive rows' ten-second re-check.
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
    const forms::Label* lines[] = {&d.Label0, &d.Label1, &d.Label2, &d.Label3};
    auto n = [](forms::Twips t) { return std::to_string(int(t)); };
    return Join(4, [&](int i) { return lines[i]->Caption(); }) + " " + n(d.Height()) + " " + n(d.Left()) +
           "," + n(d.Top());
  }
};

TEST_F(DetailTest, TheFiguresOfTheStatisticUnderThePointerBesideTheWindowOrNoWindow) {
  struct Case {
    int row;
    std::function<void()> change;  // after the window's load
    const char* shown;
    const char* left = "1000";  // the Monitor window's, 4110 wide, at top 3000 and 2220 high
  };
  const Case cases[] = {
      {1, [] {},
       "Physical Memory|11.811.160.064 of|17.179.869.184 bytes|are currently being used 975 5125,3690"},
      {2, [] {}, "Virtual Memory|1 of|140.737.488.224.256 bytes|are currently being used 975 5125,3960"},
      {0, [] {}, "CPU Activity|Fake Processor (740 MHz)|| 555 5125,3420"},
      {0, [&] { MakeWindows98(); },
       "CPU Activity|Fake Processor (740 MHz)|1.234 active processes|56.789 active threads 975 5125,3420"},
      {3, [] {}, "Battery Status|1:02:05 remaining|| 555 26940,4230", "22815"},  // right up to the edge
      {3, [&] { Power(0, 2, 40, 3725, 36000); },
       "Battery Status|1:02:05 remaining of|10:00:00 full-charge|(approximately) available 975 20941,4230",
       "22816"},  // one more twip: on the left
      {3, [&] { Power(0, 2, 40, 0, 36000); }, ""},
      {3, [&] { Power(0, 2, 40, BATTERY_LIFE_UNKNOWN, 36000); }, ""},
      {5,
       [&] {
         fp.kernel.disks["d:\\"] = DiskSpace{1'000'000, 2'000'000, 1'000'000};
       },                                                                                // asked afresh
       "D: Drive|1.000.000 of|2.000.000 bytes|are currently being used 975 5125,4245"},  // bottoms level
      {4, [] {}, "C: Drive|375.000.000.000 of|500.000.000.000 bytes|are currently being used 975 5125,4245"},
      {5, [&] { fp.kernel.disks.erase("d:\\"); }, ""},
  };
  rt.locale.thousandsSeparator = ".";
  fp.processor.name = "Fake Processor";
  fp.processor.speed = "733M";
  fp.kernel.processes = Kernel::ProcessCounts{1234, 56789};
  fp.Select("CPU PhysMem VirtMem Battery Cdrive Ddrive");
  for (const Case& c : cases) {
    SetMemory(17'179'869'184, 5'368'709'120, 140'737'488'224'256, 140'737'488'224'255);
    Power(0, 2, 40, 3725, BATTERY_LIFE_UNKNOWN);
    fp.kernel.SetFixedDrives({{"c:\\", {500'000'000'000, 125'000'000'000}}, {"d:\\", {2'000'000, 500'000}}});
    fp.Set("MainLeft", c.left);
    fp.Set("MainTop", "3000");
    display().Show();
    Rest(c.row == 1 ? 0 : 1);  // another statistic first: none of its lines may linger
    c.change();
    EXPECT_EQ(Rest(c.row), c.shown);
    display().Unload();
    fp.kernel.version = OSVERSIONINFO{148, 6, 8, 0, VER_PLATFORM_WIN32_NT, ""};
  }
}

TEST_F(DetailTest, DriveRowsFollowTheDrivesAtTheEndOfTheWindow) {
  struct Case {
    const char* on;
    std::string before, after;  // the letters of the fixed drives besides C
    const char* captions;       // and the bars of the rows after the second; empty: the window closed
  };
  const Case cases[] = {
      {"CPU Cdrive", "", "de", "CPU usage:|C: drive disk usage:"},
      {"CPU Cdrive Ddrive Edrive", "de", "e", "CPU usage:|C: drive disk usage:|E: drive disk usage: 40"},
      {"CPU Cdrive Fdrive", "", "f", "CPU usage:|C: drive disk usage:|F: drive disk usage: 50"},
      {"CPU Cdrive Edrive Fdrive", "e", "fe",
       "CPU usage:|C: drive disk usage:|F: drive disk usage: 50|E: drive disk usage: 40"},
      {"Ddrive Edrive", "de", "", ""},
  };
  for (const Case& c : cases) {
    fp.settings.values.clear();
    fp.Select(c.on);
    Drives(c.before);
    display().Show();
    const forms::Label* first = &display().StatText[0];
    Drives(c.after);
    rt.Advance(10000);
    const int rows = display().Loaded() ? display().LastRow + 1 : 0;
    auto row = [&](int r) {
      std::string text = display().StatText[r].Caption();
      if (r >= 2) text.append(1, ' ').append(std::to_string(display().StatBar[r].Value()));
      return text;
    };
    EXPECT_EQ(Join(rows, row), c.captions);
    EXPECT_EQ(menu().mnuDisplay.Enabled(), rows > 0);
    if (!rows) continue;
    EXPECT_EQ(&display().StatText[0], first) << "rows are kept, not rebuilt";
    EXPECT_FALSE(display().StatText.Exists(rows));
    EXPECT_EQ(display().Height(), 870 + 270 * (rows - 1));
    EXPECT_EQ(display().StatSlotCount, 8 + int(c.after.size()));
    display().Unload();
  }
}

}  // namespace
}  // namespace sysvane::testing
