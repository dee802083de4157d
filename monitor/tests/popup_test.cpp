// The roll-up window: its lines, its placement above the tray and its animation.
#include "monitor/popup.h"

#include "tests/support/window_test.h"

namespace sysvane::testing {
namespace {

class PopupTest : public WindowTest {
 protected:
  Popup& popup() { return program.popup(); }
  std::string Lines() {
    return Join(popup().Loaded() ? popup().StatCount : 0, [&](int i) { return popup().Stat[i].Caption(); });
  }
};

TEST_F(PopupTest, OneLinePerSelectedStatisticInTheFixedOrder) {
  // The statistics on, a battery found at start-up, the power state, the lines.
  // clang-format off
  const std::tuple<const char*, bool, SYSTEM_POWER_STATUS, const char*> cases[] = {
      {"Edrive Ddrive Cdrive Battery VirtMem PhysMem CPU SysRsrc GDIRsrc UserRsrc", true, {0, 2, 40, 0, 0, 0},
       "CPU: 0%|Physical memory: 60%|Virtual memory: 12%|Battery (unplugged): 40%|C: drive usage: 50%|"
       "D: drive usage: 30%|E: drive usage: 40%"},
      {"Battery CPU", false, {1, 8, 60, 0, 0, 0}, "CPU: 0%|"},  // a battery not found at start-up
      {"Battery", true, {1, 8, 60, 0, 0, 0}, "Battery (charging): 60%"},
      {"Battery", true, {1, 8, 100, 0, 0, 0}, "Battery: 100%"}};
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
    const int n = popup().StatCount;
    for (int k = 0; k < n; ++k) EXPECT_TRUE(popup().Stat[k].Visible());
    EXPECT_FALSE(popup().Stat.Exists(n));
    popup().Unload();
  }
}

TEST_F(PopupTest, UnrollsAPixelAStepAwayFromTheTrayHoldsFiveSecondsAndRollsBackOnlyOnce) {
  // The statistics on, the work area, the screen's top, the icon's place; whether it unrolls
  // downwards (below a panel at the top); the edge at the tray, which stays put (the bottom, or the
  // top when unrolling down); the steps from 30 twips, a pixel (15 twips) a step: 20 for one line,
  // 14 more for each further.
  // clang-format off
  const std::tuple<const char*, forms::TwipsRect, forms::Twips, std::optional<forms::TwipsRect>, bool, forms::Twips, int> cases[] = {
      {"CPU", {0, 0, 28800, 15780}, 0, std::nullopt, false, 16200 - 420, 20},  // 420 above the screen's bottom
      {"CPU PhysMem Cdrive", {1500, 0, 27300, 14700}, 0, std::nullopt, false, 14700, 48},  // but never below the work area
      {"CPU", {0, 600, 28800, 15600}, 0, forms::TwipsRect{28200, 150, 300, 300}, true, 600, 20}};  // below a top panel
  // clang-format on
  for (const auto& [on, area, screenTop, icon, down, edge, steps] : cases) {
    SCOPED_TRACE(on);
    fp.settings.values.clear();
    fp.Select(on);
    rt.workArea = area;
    rt.screen.Top = screenTop;
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
