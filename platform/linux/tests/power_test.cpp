// The power record from the supplies' own words: line status, flags, the combined charge and times.
#include "platform/linux/power.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "linux_test_support.h"

namespace sysvane {
namespace {

// "TYPE=Battery;STATUS=Full" as the uevent file the kernel writes.
std::string Uevent(std::string_view fields) {
  std::string text = "POWER_SUPPLY_";
  for (char c : fields) text += c == ';' ? std::string("\nPOWER_SUPPLY_") : std::string(1, c);
  return text + "\n";
}

// A discharging battery with its energy now and full (µWh) and its rate (µW).
std::string Discharging(const std::string& now, const std::string& full, const std::string& rate) {
  return "TYPE=Battery;STATUS=Discharging;ENERGY_NOW=" + now + ";ENERGY_FULL=" + full + ";POWER_NOW=" + rate;
}

constexpr const char* kAcOff = "TYPE=Mains;ONLINE=0";
const std::string kQuarter = Discharging("10000000", "40000000", "-5000000");  // some drivers sign the rate

// Two batteries weigh by their energy, not by their percentages: the captured laptop with two.
TEST(PowerStatusTest, SuppliesMakeTheRecord) {
  const struct {
    std::vector<std::string> supplies;
    std::string expected;
  } rows[] = {
      {{kAcOff, kQuarter}, "0 2 25 7200 28800"},
      {{kAcOff, "TYPE=USB_PD;ONLINE=1", kQuarter}, "1 2 25 ? ?"},  // a USB-C charger is line power
      // One battery of two without a rate: no time.
      {{kAcOff, kQuarter, "TYPE=Battery;ENERGY_NOW=10000000;ENERGY_FULL=40000000"}, "0 2 25 ? ?"},
      {{"TYPE=USB;ONLINE=0"}, "255 128 255 ? ?"},  // a desktop's empty USB-C port tells nothing
      {{kAcOff, "TYPE=Battery;STATUS=Charging;ENERGY_NOW=40;ENERGY_FULL=50;POWER_NOW=15"}, "1 9 80 ? ?"},
      {{kAcOff, "TYPE=Battery;STATUS=Full;CAPACITY=100"}, "0 1 100 ? ?"},  // just unplugged
      {{"TYPE=Mains;ONLINE=1", "TYPE=Battery;STATUS=Unknown"}, "1 255 255 ? ?"},
      {{"TYPE=Battery;SCOPE=Device;CAPACITY=5", "TYPE=Battery;PRESENT=0;CAPACITY=5"}, "255 128 255 ? ?"},
      {{"TYPE=Battery;STATUS=Discharging;CHARGE_NOW=2000000;CHARGE_FULL=4000000;CURRENT_NOW=1000000"},
       "0 0 50 7200 14400"},
      {{"TYPE=Battery;ENERGY_NOW=25;ENERGY_FULL=1000"}, "255 6 2 ? ?"},  // 2.5 %: halves to even
      {{"TYPE=Battery;ENERGY_NOW=5;ENERGY_FULL=100"}, "255 2 5 ? ?"},
      {{"TYPE=Battery;ENERGY_NOW=32;ENERGY_FULL=100"}, "255 2 32 ? ?"},
      {{"TYPE=Battery;ENERGY_NOW=33;ENERGY_FULL=100"}, "255 0 33 ? ?"},
      {{"TYPE=Battery;ENERGY_NOW=66;ENERGY_FULL=100"}, "255 0 66 ? ?"},
      {{"TYPE=Battery;ENERGY_NOW=67;ENERGY_FULL=100"}, "255 1 67 ? ?"},
      {{"TYPE=Battery;CAPACITY=0x40;ENERGY_NOW=;ENERGY_FULL=100"}, "255 255 255 ? ?"},  // no number: none
      // Without energy or charge: the mean of what each says, each at most 100 (50.5 % to even).
      {{"TYPE=Battery;CAPACITY=40", "TYPE=Battery;CAPACITY=61;ENERGY_NOW=1"}, "255 0 50 ? ?"},
      {{"TYPE=Battery;CAPACITY=250"}, "255 1 100 ? ?"},
      // A full charge of 0 tells nothing: the battery's own percentage.
      {{"TYPE=Battery;ENERGY_NOW=0;ENERGY_FULL=0;CAPACITY=40"}, "255 0 40 ? ?"},
      {{"TYPE=Battery;ENERGY_NOW=100000000000000000000;ENERGY_FULL=1"}, "255 255 255 ? ?"},  // not a number
      // Wild figures: whole hours first, so that no product overflows into a short time.
      {{Discharging("1000000000000000000", "2000000000000000000", "1000000000000000")},
       "0 0 50 3600000 7200000"},
      {{Discharging("1", "2", "7000")}, "0 0 50 1 1"},  // 0.51 s rounds up to a second
      {{Discharging("1000000000000", "2000000000000", "1")},
       "0 0 50 ? ?"},  // more hours than the record holds
      {{"TYPE=Battery;STATUS=Discharging;CHARGE_NOW=1;CHARGE_FULL=2;CURRENT_NOW=-9223372036854775808"},
       "0 0 50 0 0"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE("row " + std::to_string(&row - rows));
    std::vector<PowerSupplyReading> supplies;
    for (const std::string& supply : row.supplies)
      supplies.push_back(ReadingFromUevent(ParseUevent(Uevent(supply))));
    EXPECT_EQ(testing::PowerText(ComputePowerStatus(supplies)), row.expected);
  }
}

// A battery docked is found at the next look at the folder, ten seconds after the last one.
TEST(PowerStatusTest, ADockedBatteryIsFoundTenSecondsAfterTheLastLook) {
  testing::TempTree tree;
  tree.Write("AC/uevent", Uevent(kAcOff));
  PowerSupplies supplies(tree.Path());
  std::string shown = testing::PowerText(supplies.Read(1000));
  tree.Write("BAT0/uevent", Uevent(kQuarter));
  for (uint64_t now : {10'999, 11'000}) shown += " | " + testing::PowerText(supplies.Read(now));
  EXPECT_EQ(shown, "255 128 255 ? ? | 255 128 255 ? ? | 0 2 25 7200 28800");
}

}  // namespace
}  // namespace sysvane
