// Position texts and the rules that keep a remembered window on a screen.
#include "monitor/window_placement.h"

#include <gtest/gtest.h>

namespace sysvane {
namespace {

using forms::TwipsRect;

TEST(WindowPlacementTest, PositionTextIsTheShortestDecimalOfSinglePrecision) {
  EXPECT_EQ(PositionText(9360), "9360");
  EXPECT_EQ(PositionText(0), "0");
  EXPECT_EQ(PositionText(-120), "-120");
  EXPECT_EQ(PositionText(1234.5), "1234.5");
  EXPECT_EQ(PositionText(14737.25), "14737.25");
  EXPECT_EQ(PositionText(1e7), "10000000");  // never in exponent form
}

TEST(WindowPlacementTest, AWindowTouchingAScreenStaysWhereItIs) {
  const std::vector<TwipsRect> areas{{0, 0, 28800, 15600}, {28800, 0, 19200, 15600}};
  // Mostly off the right of the second monitor, but a strip still shows.
  EXPECT_EQ(BringOntoWorkArea(areas, {47000, 100, 4110, 870}), (Position{47000, 100}));
  EXPECT_EQ(BringOntoWorkArea(areas, {-4000, -500, 4110, 870}), (Position{-4000, -500}));
  EXPECT_EQ(BringOntoWorkArea({}, {90000, 90000, 4110, 870}), (Position{90000, 90000}));  // none known
}

TEST(WindowPlacementTest, AWindowOffEveryScreenMovesIntoTheNearestWorkArea) {
  const std::vector<TwipsRect> areas{{0, 0, 28800, 15600}, {28800, 600, 19200, 15000}};
  // Below the second monitor: its bottom edge meets that work area's bottom.
  EXPECT_EQ(BringOntoWorkArea(areas, {40000, 20000, 4110, 870}), (Position{40000, 15600 - 870}));
  // Left of the first one.
  EXPECT_EQ(BringOntoWorkArea(areas, {-9000, 3000, 4110, 870}), (Position{0, 3000}));
  // Above the second monitor's top panel.
  EXPECT_EQ(BringOntoWorkArea(areas, {34000, -2000, 4110, 870}), (Position{34000, 600}));
  // Larger than the area: its top-left corner, where the title bar can be reached.
  EXPECT_EQ(BringOntoWorkArea({{0, 0, 3000, 600}}, {5000, 5000, 4110, 870}), (Position{0, 0}));
}

TEST(WindowPlacementTest, TheWorkAreaHoldingMostOfAWindow) {
  const std::vector<TwipsRect> areas{{0, 0, 28800, 15600}, {28800, 0, 19200, 15600}};
  const TwipsRect fallback{1, 2, 3, 4};
  EXPECT_EQ(WorkAreaHolding(areas, {27000, 0, 4110, 870}, fallback), areas[1]);
  EXPECT_EQ(WorkAreaHolding(areas, {26000, 0, 4110, 870}, fallback), areas[0]);
  EXPECT_EQ(WorkAreaHolding(areas, {90000, 0, 4110, 870}, fallback), fallback);
}

}  // namespace
}  // namespace sysvane
