#include "platform/bar_display.h"

#include <gtest/gtest.h>

namespace sysvane::forms {
namespace {

TEST(BarDisplay, PercentagesFillTheirShareAndReadAsValueAndSuffix) {
  EXPECT_EQ(DescribeBar(0, "%").text, "0%");
  EXPECT_DOUBLE_EQ(DescribeBar(0, "%").fillFraction, 0.0);
  EXPECT_EQ(DescribeBar(42, "%").text, "42%");
  EXPECT_DOUBLE_EQ(DescribeBar(42, "%").fillFraction, 0.42);
  EXPECT_EQ(DescribeBar(100, "%").text, "100%");
  EXPECT_DOUBLE_EQ(DescribeBar(100, "%").fillFraction, 1.0);
  EXPECT_EQ(DescribeBar(7, "").text, "7");
  EXPECT_EQ(DescribeBar(7, " pct").text, "7 pct");
}

TEST(BarDisplay, ValuesThatAreNoPercentageShowAnEmptyBarAndAQuestionMark) {
  for (int value : {255, 101, -1, -32768}) {
    BarDisplay shown = DescribeBar(value, "%");
    EXPECT_EQ(shown.text, "?") << value;
    EXPECT_DOUBLE_EQ(shown.fillFraction, 0.0) << value;
  }
}

TEST(BarDisplay, FilledPixelsRoundToNearestWithinTheBar) {
  EXPECT_EQ(FilledPixels(0.5, 119), 60);  // 59.5 rounds up
  EXPECT_EQ(FilledPixels(0.42, 119), 50);
  EXPECT_EQ(FilledPixels(1.0, 119), 119);
  EXPECT_EQ(FilledPixels(0.004, 119), 0);
  EXPECT_EQ(FilledPixels(2.55, 119), 119);  // never beyond the inner length
  EXPECT_EQ(FilledPixels(-0.5, 119), 0);
  EXPECT_EQ(FilledPixels(0.5, 0), 0);
  EXPECT_EQ(FilledPixels(0.5, -3), 0);
}

}  // namespace
}  // namespace sysvane::forms
