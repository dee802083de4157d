// The roll-up window: its lines, its placement above the tray and its animation.
#include "monitor/popup.h"

#include "monitor/tests/looks.h"
#include "tests/support/window_test.h"

namespace sysvane::testing {
namespace {

class PopupTest : public WindowTest {
 protected:
  Popup& popup() { return program.popup(); }
  std::string Lines() {
    return Join(popup().Loaded() ? popup().StatCount : 0, [&](int i) {
      const forms::Label& line = popup().Stat[i];
      return line.Caption() + (line.Visible() ? "@" : " hidden@") + std::to_string(int(line.Top()));
    });
  }
};

TEST_F(PopupTest, OneLinePerSelectedStatisticInTheFixedOrder) {
  // The statistics on, a battery found at start-up, the power state, the lines.
  // clang-format off
  const std::tuple<const char*, bool, SYSTEM_POWER_STATUS, const char*> cases[] = {
      {"Edrive Ddrive Cdrive Battery VirtMem PhysMem CPU SysRsrc GDIRsrc UserRsrc", true, {0, 2, 40, 0, 0, 0},
       "CPU: 0%@45|Physical memory: 60%@255|Virtual memory: 12%@465|Battery (unplugged): 40%@675|"
       "C: drive usage: 50%@885|D: drive usage: 30%@1095|E: drive usage: 40%@1305"},
      {"Battery CPU", false, {1, 8, 60, 0, 0, 0}, "CPU: 0%@45|@255"},  // a battery not found at start-up
      {"Battery", true, {1, 8, 60, 0, 0, 0}, "Battery (charging): 60%@45"},
      {"Battery", true, {1, 8, 100, 0, 0, 0}, "Battery: 100%@45"}};
  // clang-format on
  fp.resources.free[0] = 81;  // Windows 95's alone: shown on no system a user runs
  Drives("de");
  SetMemory(1000, 400, 1000, 875);
  for (const auto& [on, battery, power, lines] : cases) {
    fp.settings.values.clear();
    fp.Select(on);
    menu().HasBattery = battery;
    fp.kernel.power = power;
    popup().Show();
    EXPECT_EQ(Lines(), lines);
    EXPECT_FALSE(popup().Stat.Exists(popup().StatCount));
    popup().Unload();
  }
  // Blue on light yellow, 1950 twips wide inside; the lines follow the figures every 900 ms.
  fp.settings.values.clear();
  fp.Select("PhysMem");
  popup().Show();
  SetMemory(1000, 100);
  rt.Advance(899);
  const std::string before = Lines();
  rt.Advance(1);
  EXPECT_EQ(
      before + " " + Lines() + " " + Looks(popup().Stat[0]) + " " + Colour(popup().BackColor()) + " " +
          std::to_string(int(popup().ScaleWidth())),
      "Physical memory: 60%@45 Physical memory: 90%@45 45,45 1860x195 0.0.255/255.255.192 255.255.192 1950");
}

TEST_F(PopupTest, UnrollsAPixelAStepAwayFromTheTrayHoldsFiveSecondsAndRollsBackOnlyOnce) {
  // The statistics on, the work area, the icon's place; whether it unrolls
  // downwards (below a panel at the top); the edge at the tray, which stays put (the bottom, or the
  // top when unrolling down); the steps from 30 twips, a pixel (15 twips) a step: 20 for one line,
  // 14 more for each further.
  // clang-format off
  const std::tuple<const char*, forms::TwipsRect, std::optional<forms::TwipsRect>, bool, forms::Twips, int> cases[] = {
      {"CPU", {0, 0, 28800, 15780}, std::nullopt, false, 16200 - 420, 20},  // 420 above the screen's bottom
      {"CPU PhysMem Cdrive", {1500, 0, 27300, 14700}, std::nullopt, false, 14700, 48},  // but never below the work area
      {"CPU", {0, 600, 28800, 15600}, forms::TwipsRect{28200, 150, 300, 300}, true, 600, 20}};  // below a top panel
  // clang-format on
  for (const auto& [on, area, icon, down, edge, steps] : cases) {
    SCOPED_TRACE(on);
    fp.settings.values.clear();
    fp.Select(on);
    rt.workArea = area;
    rt.trayIconPlace = icon;
    popup().Show();
    const forms::Twips full = 30 + 15 * steps;
    auto place = [&, down = down] {
      return std::tuple(popup().Height(), popup().Top() + (down ? 0 : popup().Height()),
                        popup().Left() + popup().Width());
    };
    EXPECT_EQ(place(), std::tuple(30.0, edge, 28800.0 - 15));
    rt.Advance(15 * (steps - 1));
    EXPECT_EQ(popup().Height(), full - 15);
    rt.Advance(15);
    EXPECT_EQ(place(), std::tuple(full, edge, 28800.0 - 15));
    rt.Advance(15 + 5000 + 15 * 5);  // the step that finds it open, the five seconds, five steps back
    popup().NotifyDeactivate();      // activated again while rolling back: it does not unroll again
    popup().NotifyActivate();
    rt.Advance(15 * (steps - 5));
    EXPECT_EQ(place(), std::tuple(30.0, edge, 28800.0 - 15));
    rt.Advance(15);
    EXPECT_FALSE(popup().Loaded() || program.info.PopupShowing);
  }
  program.info.MonitorOpenedFromTray = true;  // the Monitor window opened from the tray shows
  popup().Show();
  EXPECT_FALSE(popup().Loaded() || program.info.PopupShowing);
}

}  // namespace
}  // namespace sysvane::testing
