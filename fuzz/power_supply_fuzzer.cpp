// Power-supply uevent files and the power record summed from them. The input holds the uevent
// texts of several supplies separated by NUL bytes (a file itself never holds one).
#include <algorithm>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "platform/kernel.h"
#include "platform/linux/power.h"
#include "platform/linux/proc_parsers.h"

using namespace sysvane;
using sysvane::fuzz::AsText;

namespace {

void CheckFields(const UeventFields& fields, std::string_view text) {
  size_t lines = 1;
  for (char c : text) lines += c == '\n';
  FUZZ_CHECK(fields.size() <= lines);
  for (const auto& [key, value] : fields) {
    FUZZ_CHECK(!key.empty() && key.find_first_of("=\n") == std::string_view::npos);
    FUZZ_CHECK(value.find('\n') == std::string_view::npos);
    // The first of repeated keys wins.
    FUZZ_CHECK(FindUevent(fields, key) && FindUevent(fields, key)->data() <= value.data());
  }
}

bool Same(const SYSTEM_POWER_STATUS& a, const SYSTEM_POWER_STATUS& b) {
  return a.ACLineStatus == b.ACLineStatus && a.BatteryFlag == b.BatteryFlag &&
         a.BatteryLifePercent == b.BatteryLifePercent && a.BatteryLifeTime == b.BatteryLifeTime &&
         a.BatteryFullLifeTime == b.BatteryFullLifeTime;
}

bool CountsAsBattery(const PowerSupplyReading& supply) {
  return supply.type == "Battery" && supply.scope != "Device" && supply.present.value_or(true);
}

// Whether the summed charge now is at most the summed full charge, the way the record sums them
// (energy when every battery tells it, else charge); nullopt when that is unknown or overflows.
std::optional<bool> ChargeAtMostFull(const std::vector<PowerSupplyReading>& supplies) {
  for (const bool energy : {true, false}) {
    uint64_t now = 0, full = 0;
    bool complete = true, fits = true;
    for (const PowerSupplyReading& supply : supplies) {
      if (!CountsAsBattery(supply)) continue;
      const auto& n = energy ? supply.energyNow : supply.chargeNow;
      const auto& f = energy ? supply.energyFull : supply.chargeFull;
      if (!n || !f) {
        complete = false;
        break;
      }
      fits = fits && !__builtin_add_overflow(now, *n, &now) && !__builtin_add_overflow(full, *f, &full);
    }
    if (complete) return fits ? std::optional<bool>(now <= full) : std::nullopt;
  }
  return std::nullopt;
}

void CheckStatus(const SYSTEM_POWER_STATUS& status, const std::vector<PowerSupplyReading>& supplies) {
  FUZZ_CHECK(status.ACLineStatus == AC_LINE_OFFLINE || status.ACLineStatus == AC_LINE_ONLINE ||
             status.ACLineStatus == AC_LINE_UNKNOWN);
  const bool anyBattery = std::any_of(supplies.begin(), supplies.end(), CountsAsBattery);
  if (!anyBattery) {
    FUZZ_CHECK(status.BatteryFlag == BATTERY_FLAG_NO_BATTERY);
    FUZZ_CHECK(status.BatteryLifePercent == BATTERY_PERCENTAGE_UNKNOWN);
  }
  const int percent = status.BatteryLifePercent;
  if (percent == BATTERY_PERCENTAGE_UNKNOWN) {
    FUZZ_CHECK(status.BatteryFlag == BATTERY_FLAG_NO_BATTERY || status.BatteryFlag == BATTERY_FLAG_UNKNOWN);
    FUZZ_CHECK(status.BatteryLifeTime == BATTERY_LIFE_UNKNOWN);
  } else {
    // A known charge is a percentage, and the flags tell the same level.
    FUZZ_CHECK(percent <= 100);
    const uint8_t flag = status.BatteryFlag;
    FUZZ_CHECK(((flag & BATTERY_FLAG_HIGH) != 0) == (percent > 66));
    FUZZ_CHECK(((flag & BATTERY_FLAG_LOW) != 0) == (percent < 33));
    FUZZ_CHECK(((flag & BATTERY_FLAG_CRITICAL) != 0) == (percent < 5));
    FUZZ_CHECK((flag & (BATTERY_FLAG_NO_BATTERY | 0x70)) == 0);
  }
  // Times are known only on battery power, and a charge that is not full lasts no longer than a
  // full one.
  if (status.BatteryLifeTime != BATTERY_LIFE_UNKNOWN || status.BatteryFullLifeTime != BATTERY_LIFE_UNKNOWN) {
    FUZZ_CHECK(status.ACLineStatus == AC_LINE_OFFLINE);
    if (ChargeAtMostFull(supplies).value_or(false))
      FUZZ_CHECK(status.BatteryLifeTime <= status.BatteryFullLifeTime);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text = AsText(data, size);
  std::vector<PowerSupplyReading> supplies;
  while (true) {
    const size_t end = text.find('\0');
    const std::string_view uevent = text.substr(0, end);
    const UeventFields fields = ParseUevent(uevent);
    CheckFields(fields, uevent);
    supplies.push_back(ReadingFromUevent(fields));
    if (end == std::string_view::npos || supplies.size() == 8) break;
    text.remove_prefix(end + 1);
  }

  const SYSTEM_POWER_STATUS status = ComputePowerStatus(supplies);
  CheckStatus(status, supplies);

  // The order the folder lists the supplies in does not matter.
  std::vector<PowerSupplyReading> reversed(supplies.rbegin(), supplies.rend());
  FUZZ_CHECK(Same(ComputePowerStatus(reversed), status));

  // A peripheral's own battery (a mouse) never counts.
  supplies.push_back(ReadingFromUevent(
      ParseUevent("POWER_SUPPLY_TYPE=Battery\nPOWER_SUPPLY_SCOPE=Device\nPOWER_SUPPLY_STATUS=Discharging\n"
                  "POWER_SUPPLY_CAPACITY=3\nPOWER_SUPPLY_ENERGY_NOW=1\nPOWER_SUPPLY_ENERGY_FULL=900\n")));
  FUZZ_CHECK(Same(ComputePowerStatus(supplies), status));
  return 0;
}
