// Which side of the screen the tray is on, and where the roll-up then shows and which way it unrolls.
#include <gtest/gtest.h>

#include "monitor/window_placement.h"

namespace sysvane {
namespace {

using forms::TwipsRect;

// A 1920 x 1080 screen; panels 40 pixels deep (600 twips); the panel is 2010 twips wide, 540 high.
constexpr TwipsRect kScreen{0, 0, 28800, 16200};
constexpr TwipsRect kBelowTop{0, 600, 28800, 15600}, kAboveBottom{0, 0, 28800, 15600};
constexpr TwipsRect kBesideLeft{600, 0, 28200, 16200}, kBesideRight{0, 0, 28200, 16200};

TEST(TrayEdgeTest, TheTraysEdgeDecidesWhereTheRollupShowsAndWhichWayItUnrolls) {
  // clang-format off
  const std::tuple<const char*, std::optional<TwipsRect>, TwipsRect, TrayEdge, RollupStart> rows[] = {
      {"nothing known: as always", std::nullopt, kAboveBottom, TrayEdge::Bottom, {26775, 15570, false}},
      {"no place, the panels keep the top", std::nullopt, kBelowTop, TrayEdge::Top, {26775, 600, true}},
      {"no place, the panels keep the right", std::nullopt, kBesideRight, TrayEdge::Right, {26175, 0, true}},
      {"top panel, right end", TwipsRect{28200, 150, 300, 300}, kBelowTop, TrayEdge::Top, {26775, 600, true}},
      {"left panel", TwipsRect{150, 6000, 300, 300}, kBesideLeft, TrayEdge::Left, {615, 6000, true}},
      {"right panel, low icon", TwipsRect{28350, 16000, 15, 15}, kBesideRight, TrayEdge::Right, {26175, 16200 - 540, true}},
      {"a panel that reserves nothing, pointer at the top", TwipsRect{28000, 200, 15, 15}, kScreen, TrayEdge::Top, {26775, 415, true}},
      {"an icon's centre on the work area's top edge is inside it", TwipsRect{285, 585, 30, 30}, TwipsRect{600, 600, 28200, 15600}, TrayEdge::Left, {615, 600, true}},
      {"a corner icon nearer the side, no work area kept", TwipsRect{28500, 15600, 300, 300}, kScreen, TrayEdge::Bottom, {26775, 15270, false}}};
  // clang-format on
  for (const auto& [what, icon, area, edge, start] : rows) {
    SCOPED_TRACE(what);
    EXPECT_EQ(TrayEdgeOf(icon, kScreen, area), edge);
    EXPECT_EQ(PlaceRollup(edge, icon, kScreen, area, 2010, 540, 30), start);
  }
}

}  // namespace
}  // namespace sysvane
