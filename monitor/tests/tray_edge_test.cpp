// Which side of the screen the tray is on, where the roll-up then shows, and which way it unrolls.
#include <gtest/gtest.h>

#include "monitor/popup.h"
#include "monitor/window_placement.h"
#include "tests/support/window_test.h"

namespace sysvane {
namespace {

using forms::TwipsRect;

// A 1920 x 1080 screen; panels 40 pixels deep (600 twips); the panel is 2010 twips wide, 540 high.
constexpr TwipsRect kScreen{0, 0, 28800, 16200};
constexpr TwipsRect kBelowTop{0, 600, 28800, 15600}, kAboveBottom{0, 0, 28800, 15600};
constexpr TwipsRect kBesideLeft{600, 0, 28200, 16200}, kBesideRight{0, 0, 28200, 16200};

TEST(TrayEdgeTest, TheTraysEdgeDecidesWhereTheRollupShowsAndWhichWayItUnrolls) {
  struct Row {
    const char* what;
    std::optional<TwipsRect> icon;
    TwipsRect area;
    TrayEdge edge;
    RollupStart start;
  };
  const Row rows[] = {
      {"nothing known: as always", std::nullopt, kAboveBottom, TrayEdge::Bottom, {26775, 15570, false}},
      {"bottom panel",
       TwipsRect{28200, 15750, 300, 300},
       kAboveBottom,
       TrayEdge::Bottom,
       {26775, 15570, false}},
      {"top panel, right end", TwipsRect{28200, 150, 300, 300}, kBelowTop, TrayEdge::Top, {26775, 600, true}},
      {"top panel, left end", TwipsRect{300, 150, 300, 300}, kBelowTop, TrayEdge::Top, {15, 600, true}},
      {"left panel", TwipsRect{150, 6000, 300, 300}, kBesideLeft, TrayEdge::Left, {615, 6000, true}},
      {"right panel, low icon",
       TwipsRect{28350, 16000, 15, 15},
       kBesideRight,
       TrayEdge::Right,
       {26175, 16200 - 540, true}},
      {"a panel that reserves nothing, pointer at the top",
       TwipsRect{28000, 200, 15, 15},
       kScreen,
       TrayEdge::Top,
       {26775, 0, true}},
      {"an icon in the corner, nearer the side, in a panel that reserves nothing",
       TwipsRect{28500, 15600, 300, 300},
       kScreen,
       TrayEdge::Bottom,
       {26775, 15750, false}},
      {"the same at the bottom",
       TwipsRect{28000, 16100, 15, 15},
       kScreen,
       TrayEdge::Bottom,
       {26775, 15750, false}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(TrayEdgeOf(row.icon, kScreen, row.area), row.edge);
    EXPECT_EQ(PlaceRollup(row.edge, row.icon, kScreen, row.area, 2010, 540, 30), row.start);
  }
}

class TrayEdgeRollupTest : public testing::WindowTest {
 protected:
  Popup& popup() { return program.popup(); }
};

// Below a top panel the strip's top edge stays, and it takes as many steps as above a bottom one.
TEST_F(TrayEdgeRollupTest, BelowATopPanelThePanelUnrollsDownwards) {
  fp.Select("CPU");
  fp.runtime.workArea = kBelowTop;
  fp.runtime.trayIconPlace = TwipsRect{28200, 150, 300, 300};
  popup().Show();
  const forms::Twips top = popup().Top();
  int steps = 0;
  while (fp.runtime.TimerRunning(popup().RollupTimer) && steps < 100) {
    fp.runtime.Fire(popup().RollupTimer);
    ++steps;
    EXPECT_EQ(popup().Top(), top);
  }
  EXPECT_EQ(steps, 21) << "20 steps and the one that stops";
  EXPECT_EQ(popup().Height(), popup().FullHeight);
}

}  // namespace
}  // namespace sysvane
