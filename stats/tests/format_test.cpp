#include "stats/format.h"

#include <gtest/gtest.h>

namespace sysvane {
namespace {

TEST(Format, HalvesRoundToTheEvenNeighbour) {
  const std::tuple<double, int, double> rows[] = {{2.5, 0, 2},  {3.5, 0, 4},          {-2.5, 0, -2},
                                                  {2.51, 0, 3}, {0.03125, 4, 0.0312}, {0.09375, 4, 0.0938}};
  for (const auto& [value, places, rounded] : rows)
    EXPECT_EQ(places ? RoundHalfEven(value, places) : RoundHalfEven(value), rounded) << value;
  constexpr uint64_t G = 1ull << 30;
  const std::tuple<uint64_t, uint64_t, std::optional<int16_t>> used[] = {
      {8, 3, 62},         {200, 73, 64},          {1000, 0, 100},       {1000, 1000, 0},
      {8 * G, 3 * G, 62}, {6 * G, 4 * G + 1, 33}, {0, 0, std::nullopt}, {100, 101, std::nullopt}};
  for (const auto& [total, free, percent] : used) EXPECT_EQ(UsedPercent(total, free), percent) << total;
}

TEST(Format, TextsFollowTheLocale) {
  const LocaleInfo en, de{".", ","};
  // clang-format off
  const std::pair<std::string, std::string> rows[] = {
      {FormatGrouped(999, en), "999"}, {FormatGrouped(1000, en), "1,000"},
      {FormatGrouped(40007729152, de), "40.007.729.152"}, {FormatFixed2(0.125, en), "0.12"},
      {FormatFixed2(12.5, de), "12,50"}, {FormatFixed2(-0.001, en), "0.00"}, {FormatBatteryPercent(101), "?"},
      {FormatFixed2(-0.01, en), "-0.01"}, {FormatBatteryPercent(100), "100%"},
      {FormatBatteryPercent(-1), "?"}, {FormatDuration(3725), "1:02:05"}, {FormatDuration(36000), "10:00:00"},
      {DriveKey("d:\\"), "ShowDdrive"}, {DriveLetter("e:\\"), "E"}};
  // clang-format on
  for (const auto& [text, expected] : rows) EXPECT_EQ(text, expected);
}

TEST(Format, OneBatteryRuleForEveryWindow) {
  // No flags but a charge: the charge stands in, and a charge of 1 reads as "high".
  using Kind = BatteryState::Kind;
  const std::tuple<uint8_t, uint8_t, uint8_t, bool, Kind> rows[] = {
      {1, 128, 255, false, Kind::Plain}, {1, 0, 0, false, Kind::Plain},     {1, 0, 50, true, Kind::Charging},
      {1, 0, 1, true, Kind::Plain},      {0, 2, 20, true, Kind::Unplugged}, {1, 1, 80, true, Kind::Plain},
      {1, 8, 100, true, Kind::Plain},    {1, 8, 60, true, Kind::Charging}};
  for (const auto& [ac, flag, percent, present, kind] : rows) {
    const BatteryState state = ClassifyBattery(SYSTEM_POWER_STATUS{ac, flag, percent, 0, 0, 0});
    EXPECT_EQ(std::pair(state.present, present ? state.kind : kind), std::pair(present, kind))
        << int(flag) << "/" << int(percent);
  }
}

}  // namespace
}  // namespace sysvane
