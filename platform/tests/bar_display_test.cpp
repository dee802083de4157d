// What a percentage bar shows: its share filled and its value, never more than a full bar.
#include "platform/bar_display.h"

#include <gtest/gtest.h>

namespace sysvane::forms {
namespace {

TEST(BarDisplay, APercentageFillsItsShareAndAnythingElseShowsAnEmptyBarAndAQuestionMark) {
  // clang-format off
  for (auto [value, suffix, text, fill] : {std::tuple{0, "%", "0%", 0.0}, {42, "%", "42%", 0.42}, {100, "%", "100%", 1.0},
       {7, " pct", "7 pct", 0.07}, {101, "%", "?", 0.0}, {255, "%", "?", 0.0}, {-1, "%", "?", 0.0}, {-32768, "%", "?", 0.0}}) {
    // clang-format on
    EXPECT_EQ(DescribeBar(value, suffix).text, text);
    EXPECT_DOUBLE_EQ(DescribeBar(value, suffix).fillFraction, fill) << value;
  }
  // clang-format off
  for (auto [fraction, length, pixels] : {std::tuple{0.5, 119, 60}, {0.42, 119, 50}, {1.0, 119, 119}, {0.004, 119, 0},
       {2.55, 119, 119}, {-0.5, 119, 0}, {0.5, 0, 0}, {0.5, -3, 0}})  // clang-format on
    EXPECT_EQ(FilledPixels(fraction, length), pixels) << fraction << " of " << length;
}

}  // namespace
}  // namespace sysvane::forms
