// Position texts and the rules that keep a remembered window on a screen.
#include "monitor/window_placement.h"

#include <gtest/gtest.h>

namespace sysvane {
namespace {

TEST(WindowPlacementTest, PositionTextIsTheShortestDecimalNeverInExponentForm) {
  for (auto [value, text] :
       {std::pair{9360.0, "9360"}, {-120.0, "-120"}, {14737.25, "14737.25"}, {1e7, "10000000"}})
    EXPECT_EQ(PositionText(value), text);
}

TEST(WindowPlacementTest, AWindowStaysWhileAStripOfItShowsElseMovesIntoTheNearestWorkArea) {
  const std::vector<forms::TwipsRect> areas{{0, 0, 28800, 15600}, {28800, 600, 19200, 15000}};
  struct Case {
    forms::Twips left, top;
    Position placed;
  };
  for (const Case& c : {Case{47000, 700, {47000, 700}}, Case{-4000, -500, {-4000, -500}},
                        Case{40000, 20000, {40000, 15600 - 870}}, Case{-9000, 3000, {0, 3000}},
                        Case{34000, -2000, {34000, 600}}, Case{48000, 600, {48000 - 4110, 600}}})
    EXPECT_EQ(BringOntoWorkArea(areas, {c.left, c.top, 4110, 870}), c.placed) << c.left << ", " << c.top;
  EXPECT_EQ(BringOntoWorkArea({{0, 0, 3000, 600}}, {5000, 5000, 4110, 870}), (Position{0, 0}));
  EXPECT_EQ(BringOntoWorkArea({}, {90000, 90000, 4110, 870}), (Position{90000, 90000}));
  EXPECT_EQ(WorkAreaHolding(areas, {27000, 700, 4110, 870}, {}), areas[1]);
  EXPECT_EQ(WorkAreaHolding(areas, {26000, 700, 4110, 870}, {}), areas[0]);
  EXPECT_EQ(WorkAreaHolding(areas, {90000, 0, 4110, 870}, {1, 2, 3, 4}), (forms::TwipsRect{1, 2, 3, 4}));
}

}  // namespace
}  // namespace sysvane
