#include "stats/format.h"

#include <gtest/gtest.h>

namespace sysvane {
namespace {

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(3.5), 4);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(RoundHalfEven(2.51), 3);
  EXPECT_EQ(RoundHalfEven(0.03125, 4), 0.0312);
  EXPECT_EQ(RoundHalfEven(0.09375, 4), 0.0938);
}

TEST(UsedPercent, RoundsHalvesToEven) {
  EXPECT_EQ(UsedPercent(8, 3), 62);     // 62.5
  EXPECT_EQ(UsedPercent(200, 73), 64);  // 63.5
  EXPECT_EQ(UsedPercent(1000, 0), 100);
  EXPECT_EQ(UsedPercent(1000, 1000), 0);
}

TEST(UsedPercent, CountsAbove4GiBKeepTheirHighBits) {
  const uint64_t gib = 1ull << 30;
  EXPECT_EQ(UsedPercent(8 * gib, 3 * gib), 62);
  EXPECT_EQ(UsedPercent(6 * gib, 4 * gib + 1), 33);
}

TEST(UsedPercent, ImpossibleCountsAreAFailedComputation) {
  EXPECT_EQ(UsedPercent(0, 0), std::nullopt);
  EXPECT_EQ(UsedPercent(100, 101), std::nullopt);
}

TEST(Format, NumbersFollowTheLocale) {
  const LocaleInfo english;
  const LocaleInfo german{".", ","};
  EXPECT_EQ(FormatGrouped(0, english), "0");
  EXPECT_EQ(FormatGrouped(999, english), "999");
  EXPECT_EQ(FormatGrouped(1000, english), "1,000");
  EXPECT_EQ(FormatGrouped(40007729152, german), "40.007.729.152");
  EXPECT_EQ(FormatFixed2(0, english), "0.00");
  EXPECT_EQ(FormatFixed2(0.125, english), "0.12");
  EXPECT_EQ(FormatFixed2(0.375, english), "0.38");
  EXPECT_EQ(FormatFixed2(12.5, german), "12,50");
  EXPECT_EQ(FormatFixed2(-0.001, english), "0.00");
  EXPECT_EQ(FormatPercent(7), "7%");
  EXPECT_EQ(FormatBatteryPercent(100), "100%");
  EXPECT_EQ(FormatBatteryPercent(255), "?");
  EXPECT_EQ(FormatDuration(3725), "1:02:05");
  EXPECT_EQ(FormatDuration(59), "0:00:59");
  EXPECT_EQ(FormatDuration(36000), "10:00:00");
}

TEST(ClassifyBattery, OneRuleForEveryWindow) {
  using Kind = BatteryState::Kind;
  struct Case {
    uint8_t ac, flag, percent;
    bool present;
    Kind kind;
  };
  const Case cases[] = {
      {1, 128, 255, false, Kind::Plain}, {1, 0, 0, false, Kind::Plain},
      {1, 0, 50, true, Kind::Charging},  // no flags but a charge: the charge stands in
      {1, 0, 1, true, Kind::Plain},      // ... and a charge of 1 reads as "high"
      {0, 2, 20, true, Kind::Unplugged}, {1, 1, 80, true, Kind::Plain},
      {1, 8, 100, true, Kind::Plain},    {1, 8, 60, true, Kind::Charging},
  };
  for (const Case& c : cases) {
    const BatteryState state = ClassifyBattery(SYSTEM_POWER_STATUS{c.ac, c.flag, c.percent, 0, 0, 0});
    SCOPED_TRACE(testing::Message() << int(c.ac) << "/" << int(c.flag) << "/" << int(c.percent));
    EXPECT_EQ(state.present, c.present);
    if (c.present) {
      EXPECT_EQ(state.kind, c.kind);
    }
  }
}

TEST(DriveKey, UsesTheUpperCaseLetter) {
  EXPECT_EQ(DriveKey("d:\\"), "ShowDdrive");
  EXPECT_EQ(DriveLetter("e:\\"), "E");
}

}  // namespace
}  // namespace sysvane
