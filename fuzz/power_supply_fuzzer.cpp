// Power-supply uevent files and the power record summed from them. The input holds the uevent
// texts of several supplies separated by NUL bytes (a file itself never holds one).
#include <algorithm>
#include <sstream>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "platform/linux/power.h"
#include "platform/linux/tests/linux_test_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<PowerSupplyReading> supplies;
  std::istringstream in(AsText(data, size));
  for (std::string uevent; supplies.size() < 8 && std::getline(in, uevent, '\0');)
    supplies.push_back(ReadingFromUevent(ParseUevent(uevent)));
  const SYSTEM_POWER_STATUS status = ComputePowerStatus(supplies);
  const int percent = status.BatteryLifePercent, flag = status.BatteryFlag;
  FUZZ_CHECK(status.ACLineStatus <= 1 || status.ACLineStatus == 255);
  FUZZ_CHECK(status.BatteryLifeTime == BATTERY_LIFE_UNKNOWN || (status.ACLineStatus == 0 && percent <= 100));
  FUZZ_CHECK(percent == 255 ? flag == 128 || flag == 255 : percent <= 100 && (flag & 0xF0) == 0);
  // Neither the order of the supplies nor a peripheral's own battery (a mouse) changes anything.
  std::reverse(supplies.begin(), supplies.end());
  supplies.push_back(ReadingFromUevent(
      ParseUevent("POWER_SUPPLY_TYPE=Battery\nPOWER_SUPPLY_SCOPE=Device\nPOWER_SUPPLY_CAPACITY=3\n")));
  FUZZ_CHECK(testing::PowerText(ComputePowerStatus(supplies)) == testing::PowerText(status));
  return 0;
}
