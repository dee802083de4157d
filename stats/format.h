// Shared arithmetic and text formats of every window that shows a statistic.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/kernel.h"
#include "platform/locale.h"

namespace sysvane {

// Rounds to the nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
double RoundHalfEven(double value);
// Rounds to `decimals` places, halves to even (used by the CPU sampler's 4-place rounding).
double RoundHalfEven(double value, int decimals);

// (total - free) / total x 100, rounded halves to even; nullopt when total is 0 or free exceeds
// total: a failed computation, after which the caller keeps what it showed.
std::optional<int16_t> UsedPercent(uint64_t total, uint64_t free);

// "##0" followed by "%": 7 -> "7%", 100 -> "100%".
std::string FormatPercent(int value);
// A battery charge as text: "57%", or "?" when the system does not know it (255), the same
// answer the percentage bar gives.
std::string FormatBatteryPercent(int value);

// "###,###,###,##0": whole number, the locale's separator between groups of three, at least one
// digit. 40007729152 -> "40,007,729,152".
std::string FormatGrouped(uint64_t value, const LocaleInfo& locale);

// "#0.00": at least one integer digit and exactly two decimals, rounded halves to even.
std::string FormatFixed2(double value, const LocaleInfo& locale);

// A time in seconds as hours "#0", minutes "00", seconds "00": 3725 -> "1:02:05".
std::string FormatDuration(uint32_t seconds);

// The one battery rule of every window: flag 0 with a percentage above 0 takes the percentage
// as its flag; a battery is present when the flag is above 0 and not 128.
struct BatteryState {
  bool present = false;
  enum class Kind { Unplugged, Plain, Charging } kind = Kind::Plain;
  int percent = 0;  // BatteryLifePercent as reported (255 when unknown)
};
BatteryState ClassifyBattery(const SYSTEM_POWER_STATUS& status);

// The settings key of a fixed drive: "d:\" -> "ShowDdrive".
std::string DriveKey(const std::string& root);
// The upper-cased drive letter of a root: "d:\" -> "D".
std::string DriveLetter(const std::string& root);

}  // namespace sysvane
