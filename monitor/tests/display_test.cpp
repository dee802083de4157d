// The Monitor window: the rows its load builds, where it goes, and the bars its refresh sets.
#include "monitor/display.h"

#include "monitor/tests/looks.h"
#include "monitor/window_placement.h"
#include "tests/support/window_test.h"

namespace sysvane::testing {
namespace {

class DisplayTest : public WindowTest {
 protected:
  Display& display() { return program.display(); }
  std::string Captions() {
    return Join(display().Loaded() ? display().LastRow + 1 : 0,
                [&](int r) { return display().StatText[r].Caption(); });
  }
  std::string Place() {
    return PositionText(display().Left()) + "," + PositionText(display().Top()) +
           (display().OnTop() ? " on top" : "");
  }
};

TEST_F(DisplayTest, OneRowPerSelectedStatisticInSlotOrderEachLoadFromScratch) {
  const std::string captions[] = {
      "CPU usage:",           "Physical memory usage:", "Virtual memory usage:", "Battery status (charging):",
      "C: drive disk usage:", "D: drive disk usage:",   "E: drive disk usage:"};
  // The statistics on (nullptr: the options were never saved), the battery flag, the captions' rows,
  // where the window goes without a stored place: on the work area's bottom, 870 twips high with one
  // row and 270 more for each further one. The free resources are Windows 95's: no system a user
  // runs shows them. The window outlives its unloads: each load applies the on-top choice, off too.
  // clang-format off
  const std::tuple<const char*, uint8_t, std::vector<int>, const char*> cases[] = {
      {"CPU PhysMem VirtMem SysRsrc GDIRsrc UserRsrc Battery Cdrive Edrive", 8, {0, 1, 2, 3, 4, 6}, "0,13380"},
      {"OnTop", 8, {}, ""}, {"SysRsrc GDIRsrc UserRsrc CPU Battery", 128, {0}, "0,14730"},  // enabled again
      {"Battery Cdrive OnTop", 8, {3, 4}, "0,14460 on top"}, {nullptr, 8, {0, 1, 2, 4, 5, 6}, "0,13380"},
      {"CPU Ddrive", 8, {0, 5}, "0,14460"}};
  // clang-format on
  Drives("de");
  for (const auto& [on, batteryFlag, slots, place] : cases) {
    fp.settings.values.clear();
    if (on) fp.Select(on);
    Power(1, batteryFlag, batteryFlag ? 60 : 0);
    display().Show();
    const int rows = int(slots.size());
    EXPECT_EQ(Captions(), Join(rows, [&](int r) { return captions[slots[r]]; }));
    EXPECT_EQ(std::pair(menu().mnuDisplay.Enabled(), menu().mnuDisplay.Checked()),
              std::pair(rows > 0, rows > 0));
    if (!display().Loaded()) continue;
    EXPECT_EQ(Place(), place) << on;
    EXPECT_FALSE(display().StatText.Exists(rows) || display().StatBar.Exists(rows)) << on;
    display().Unload();
  }
  fp.Select("CPU"), fp.Set("MainLeft", "52000"),
      fp.Set("MainTop", "1234.5");  // a screen gone: on the nearest
  display().Show();
  const std::string stored = Place();
  display().NotifyMoved(3000, 4500);  // kept as it is when the window closes
  display().Unload();
  EXPECT_EQ(stored + " " + fp.settings.values["MainLeft"] + "," + fp.settings.values["MainTop"],
            "24690,1234.5 3000,4500");
}

// The window with two rows, each a copy of the first 270 twips below it: the battery's bar runs from
// red to green (full is good), the next one from green to red again.
TEST_F(DisplayTest, TheWindowsLookAndTimers) {
  Drives("");
  fp.Select("Battery Cdrive");
  Power(1, 8, 60);
  display().Show();
  std::string shown = display().Caption() + " " + std::to_string(int(display().ScaleWidth())) + "x" +
                      std::to_string(int(display().Height())) + " " + Colour(display().BackColor());
  for (int row = 0; row < 2; ++row) {
    const forms::ProgressBar& bar = display().StatBar[row];
    shown += " | " + Looks(display().StatText[row]) + " " + Looks(bar) + " " + Colour(bar.StartColor()) +
             ">" + Colour(bar.EndColor()) + " " + bar.font().name + " " + std::to_string(bar.font().size);
  }
  for (const forms::Timer* timer : {&display().Timer1, &display().Timer2, &display().Timer3})
    shown.append(" ")
        .append(std::to_string(timer->Interval()))
        .append(rt.TimerRunning(*timer) ? " on" : " off");
  EXPECT_EQ(shown,
            " Sysvane 4020x1140 #6"
            " | 120,135 1935x240 #14/#6 2070,120 1815x255 #7/#15 255.0.0>0.192.0 MS Sans Serif 8.250000"
            " | 120,405 1935x240 #14/#6 2070,390 1815x255 #7/#15 0.192.0>255.0.0 MS Sans Serif 8.250000"
            " 900 on 1000 off 10000 on");
}

// How the percentages round is the format tests'; here each bar's own figure, and a failed query
// that leaves the bar as it was (a failed CPU sample shows 0).
TEST_F(DisplayTest, EachBarShowsItsOwnFigureOrKeepsItsLastOne) {
  Drives("de");
  fp.Select("CPU PhysMem VirtMem Battery Cdrive Ddrive Edrive");
  Power(1, 8, 60);
  SetMemory(1000, 370, 1000, 800);
  display().Show();
  fp.kernel.systemTime = 9'000'000;  // 0.9 s, a quarter of it idle
  fp.kernel.idleTime = 2'250'000;
  auto bars = [&] {
    return Join(7, [&](int row) { return std::to_string(display().StatBar[row].Value()); });
  };
  rt.Advance(900);
  EXPECT_EQ(bars(), "75|63|20|60|50|30|40");
  SetMemory(0, 0, 1000, 100);                    // no total: no figure
  fp.kernel.processorCount = std::nullopt;       // the sampler answers -1
  fp.kernel.disks.erase("d:\\");                 // D cannot be read
  fp.kernel.disks["e:\\"] = DiskSpace{0, 0, 0};  // E reports no size
  program.info.FixedDrives = {"e:\\"};           // another window has rebuilt the shared list
  Power(1, 128, 255);                            // the battery undocked: its bar keeps its figure
  rt.Advance(900);
  EXPECT_EQ(bars(), "0|63|90|60|50|30|40");
}

}  // namespace
}  // namespace sysvane::testing
