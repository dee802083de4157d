// Where the monitor windows go: the side of the screen the tray is on, where the roll-up then shows
// and which way it unrolls; the work area a window belongs to; a position as the settings keep it.
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
      {"top panel, centred on the middle", TwipsRect{14250, 150, 300, 300}, kBelowTop, TrayEdge::Top, {26775, 600, true}},
      {"top panel, a pixel left of the middle", TwipsRect{14235, 150, 300, 300}, kBelowTop, TrayEdge::Top, {15, 600, true}},
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

// Two monitors side by side, the right one smaller: a window belongs to the work area holding most of
// it (the first on a tie); one that overlaps none comes onto the nearest, as far as it fits.
TEST(WorkAreaTest, AWindowBelongsToTheAreaHoldingMostOfItAndComesBackOntoTheNearest) {
  const std::vector<TwipsRect> areas{{0, 0, 28800, 15600}, {28800, 0, 19200, 10800}};
  const TwipsRect none{-1, -1, 1, 1};
  // clang-format off
  const std::tuple<TwipsRect, TwipsRect, Position> rows[] = {
      {{24000, 600, 6000, 900}, areas[0], {24000, 600}}, {{25800, 600, 6000, 900}, areas[0], {25800, 600}},
      {{25815, 600, 6000, 900}, areas[1], {25815, 600}}, {{47985, 10785, 900, 900}, areas[1], {47985, 10785}},
      {{49000, 6000, 4110, 870}, none, {48000 - 4110, 6000}}, {{30000, 11400, 4110, 870}, none, {30000, 10800 - 870}},
      {{30000, 12000, 4110, 870}, none, {28800 - 4110, 12000}},  // as near to both: the first
      {{-9000, -3000, 4110, 870}, none, {0, 0}}, {{29200, 11000, 20000, 900}, none, {28800, 10800 - 900}},
      {{60000, 20000, 30000, 20000}, none, {28800, 0}}};  // wider or higher than the area: at its start
  // clang-format on
  for (const auto& [window, holder, position] : rows) {
    EXPECT_EQ(WorkAreaHolding(areas, window, none), holder) << window.Left << "," << window.Top;
    EXPECT_EQ(BringOntoWorkArea(areas, window), position) << window.Left << "," << window.Top;
  }
  EXPECT_EQ(BringOntoWorkArea({}, {-9000, -3000, 10, 10}), (Position{-9000, -3000}));
  const std::pair<double, const char*> texts[] = {
      {9360, "9360"}, {-120, "-120"}, {1234.5, "1234.5"}, {0, "0"}};
  for (const auto& [value, text] : texts) EXPECT_EQ(PositionText(value), text);
}

}  // namespace
}  // namespace sysvane
