#include "stats/format.h"

#include <cctype>
#include <cfenv>
#include <cmath>
#include <cstdio>

namespace sysvane {

double RoundHalfEven(double value) {
  // nearbyint follows the current rounding mode; to-nearest is halves to even.
  const int previous = std::fegetround();
  if (previous != FE_TONEAREST) std::fesetround(FE_TONEAREST);
  const double rounded = std::nearbyint(value);
  if (previous != FE_TONEAREST) std::fesetround(previous);
  return rounded;
}

double RoundHalfEven(double value, int decimals) {
  if (!std::isfinite(value)) return value;
  const double scale = std::pow(10.0, decimals);
  const double scaled = value * scale;
  // Beyond 2^52 a double holds no fraction any more: nothing left to round.
  if (!std::isfinite(scaled) || std::fabs(scaled) >= 4503599627370496.0) return value;
  return RoundHalfEven(scaled) / scale;
}

std::optional<int16_t> UsedPercent(uint64_t total, uint64_t free) {
  if (total == 0 || free > total) return std::nullopt;
  const double used = static_cast<double>(total - free) / static_cast<double>(total) * 100.0;
  return static_cast<int16_t>(RoundHalfEven(used));
}

std::string FormatPercent(int value) {
  return std::to_string(value) + "%";
}

std::string FormatBatteryPercent(int value) {
  return value < 0 || value > 100 ? "?" : FormatPercent(value);
}

static std::string GroupDigits(const std::string& digits, const std::string& separator) {
  std::string grouped;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += separator;
    grouped += digits[i];
  }
  return grouped;
}

std::string FormatGrouped(uint64_t value, const LocaleInfo& locale) {
  return GroupDigits(std::to_string(value), locale.thousandsSeparator);
}

std::string FormatFixed2(double value, const LocaleInfo& locale) {
  if (!std::isfinite(value)) return std::to_string(value);
  // Round once in hundredths, then place the separator: printf would round the binary
  // neighbour of the value (2.675 is stored as 2.67499...) and ignore the locale.
  const double hundredths = RoundHalfEven(std::fabs(value) * 100.0);
  char digits[400];
  std::snprintf(digits, sizeof digits, "%03.0f", hundredths);
  std::string text = digits;
  const std::string whole = text.substr(0, text.size() - 2);
  const std::string fraction = text.substr(text.size() - 2);
  const bool negative = value < 0 && hundredths > 0;
  return (negative ? "-" : "") + whole + locale.decimalSeparator + fraction;
}

std::string FormatDuration(uint32_t seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%u:%02u:%02u", seconds / 3600, seconds / 60 % 60, seconds % 60);
  return text;
}

BatteryState ClassifyBattery(const SYSTEM_POWER_STATUS& status) {
  BatteryState state;
  state.percent = status.BatteryLifePercent;
  int flag = status.BatteryFlag;
  // Some systems report no flags at all but a real charge: the charge stands in for the flag.
  if (flag == 0 && state.percent > 0) flag = state.percent;
  state.present = flag > 0 && flag != BATTERY_FLAG_NO_BATTERY;
  if (status.ACLineStatus == AC_LINE_OFFLINE) {
    state.kind = BatteryState::Kind::Unplugged;
  } else if (flag == BATTERY_FLAG_HIGH || state.percent == 100) {
    state.kind = BatteryState::Kind::Plain;
  } else {
    state.kind = BatteryState::Kind::Charging;
  }
  return state;
}

std::string DriveLetter(const std::string& root) {
  if (root.empty()) return "";
  return std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(root[0]))));
}

std::string DriveKey(const std::string& root) {
  return "Show" + DriveLetter(root) + "drive";
}

}  // namespace sysvane
