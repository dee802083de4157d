// Power-supply uevent files and the power record summed from them. The input holds the uevent
// texts of several supplies separated by NUL bytes (a file itself never holds one).
#include <algorithm>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "platform/kernel.h"
#include "platform/linux/power.h"

using namespace sysvane;
using namespace sysvane::fuzz;

bool Same(const SYSTEM_POWER_STATUS& a, const SYSTEM_POWER_STATUS& b) {
  return a.ACLineStatus == b.ACLineStatus && a.BatteryFlag == b.BatteryFlag &&
         a.BatteryLifePercent == b.BatteryLifePercent && a.BatteryLifeTime == b.BatteryLifeTime &&
         a.BatteryFullLifeTime == b.BatteryFullLifeTime;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text = AsText(data, size);
  std::vector<PowerSupplyReading> supplies;
  for (size_t end = 0; end != std::string_view::npos && supplies.size() < 8; text.remove_prefix(end + 1)) {
    end = text.find('\0');
    for (const auto& [key, value] : ParseUevent(text.substr(0, end)))
      FUZZ_CHECK(!key.empty() && key.find_first_of("=\n") == std::string_view::npos &&
                 value.find('\n') == std::string_view::npos);
    supplies.push_back(ReadingFromUevent(ParseUevent(text.substr(0, end))));
    if (end == std::string_view::npos) break;
  }
  const SYSTEM_POWER_STATUS status = ComputePowerStatus(supplies);
  const int percent = status.BatteryLifePercent, flag = status.BatteryFlag;
  FUZZ_CHECK(status.ACLineStatus <= 1 || status.ACLineStatus == 255);
  if (percent == 255) {
    FUZZ_CHECK((flag == 128 || flag == 255) && status.BatteryLifeTime == BATTERY_LIFE_UNKNOWN);
  } else {  // a percentage, and flags that tell the same level
    FUZZ_CHECK(percent <= 100 && ((flag & 1) != 0) == (percent > 66) && ((flag & 2) != 0) == (percent < 33));
    FUZZ_CHECK(((flag & 4) != 0) == (percent < 5) && (flag & 0xF0) == 0);
  }
  if (status.BatteryLifeTime != BATTERY_LIFE_UNKNOWN) FUZZ_CHECK(status.ACLineStatus == 0);
  // Neither the order of the supplies nor a peripheral's own battery (a mouse) changes anything.
  std::reverse(supplies.begin(), supplies.end());
  supplies.push_back(
      ReadingFromUevent(ParseUevent("POWER_SUPPLY_TYPE=Battery\nPOWER_SUPPLY_SCOPE=Device\n"
                                    "POWER_SUPPLY_STATUS=Full\nPOWER_SUPPLY_CAPACITY=3\n")));
  FUZZ_CHECK(Same(ComputePowerStatus(supplies), status));
  return 0;
}
