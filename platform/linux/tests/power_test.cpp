#include "platform/linux/power.h"

#include <gtest/gtest.h>

#include <map>

#include "temp_tree.h"

namespace sysvane {
namespace {

using testing::TempTree;

// Writes one supply as separate attribute files (the way drivers without a uevent look).
void WriteSupply(const TempTree& tree, const std::string& name,
                 const std::map<std::string, std::string>& files) {
  for (const auto& [file, text] : files) tree.Write("power_supply/" + name + "/" + file, text + "\n");
}

SYSTEM_POWER_STATUS ReadTree(const TempTree& tree) {
  return PowerSupplies(tree.Path("power_supply")).Read(0);
}

PowerSupplyReading Battery(uint64_t now, uint64_t full, const std::string& status = "Discharging") {
  PowerSupplyReading battery;
  battery.type = "Battery";
  battery.status = status;
  battery.energyNow = now;
  battery.energyFull = full;
  return battery;
}

TEST(PowerTreeTest, OneBatteryChargingOnMains) {
  TempTree tree;
  WriteSupply(tree, "AC", {{"type", "Mains"}, {"online", "1"}});
  WriteSupply(tree, "BAT0",
              {{"type", "Battery"},
               {"present", "1"},
               {"status", "Charging"},
               {"energy_now", "40000000"},
               {"energy_full", "50000000"},
               {"power_now", "15000000"}});
  const auto status = ReadTree(tree);
  EXPECT_EQ(status.ACLineStatus, AC_LINE_ONLINE);
  EXPECT_EQ(status.BatteryLifePercent, 80);
  EXPECT_EQ(status.BatteryFlag, BATTERY_FLAG_HIGH | BATTERY_FLAG_CHARGING);
  // No time left is told while the battery charges.
  EXPECT_EQ(status.BatteryLifeTime, BATTERY_LIFE_UNKNOWN);
  EXPECT_EQ(status.BatteryFullLifeTime, BATTERY_LIFE_UNKNOWN);
}

TEST(PowerTreeTest, FullOnMains) {
  TempTree tree;
  WriteSupply(tree, "ADP1", {{"type", "Mains"}, {"online", "1"}});
  WriteSupply(tree, "BAT0", {{"type", "Battery"}, {"status", "Full"}, {"capacity", "100"}});
  const auto status = ReadTree(tree);
  EXPECT_EQ(status.ACLineStatus, AC_LINE_ONLINE);
  EXPECT_EQ(status.BatteryLifePercent, 100);
  EXPECT_EQ(status.BatteryFlag, BATTERY_FLAG_HIGH);
}

TEST(PowerTreeTest, MainsOnlineAndOfflineDecideTheLineStatus) {
  TempTree tree;
  WriteSupply(tree, "AC", {{"type", "Mains"}, {"online", "0"}});
  WriteSupply(tree, "BAT0",
              {{"type", "Battery"},
               {"status", "Discharging"},
               {"energy_now", "10000000"},
               {"energy_full", "40000000"},
               {"power_now", "-5000000"}});  // some drivers sign the discharge rate
  auto status = ReadTree(tree);
  EXPECT_EQ(status.ACLineStatus, AC_LINE_OFFLINE);
  EXPECT_EQ(status.BatteryLifePercent, 25);
  EXPECT_EQ(status.BatteryFlag, BATTERY_FLAG_LOW);
  EXPECT_EQ(status.BatteryLifeTime, 7200u);
  EXPECT_EQ(status.BatteryFullLifeTime, 28800u);

  tree.Write("power_supply/AC/online", "1\n");
  status = ReadTree(tree);
  EXPECT_EQ(status.ACLineStatus, AC_LINE_ONLINE);
  EXPECT_EQ(status.BatteryLifeTime, BATTERY_LIFE_UNKNOWN);

  // A USB-C supply that is online counts as line power as well.
  tree.Write("power_supply/AC/online", "0\n");
  WriteSupply(tree, "ucsi-source-psy-1", {{"type", "USB"}, {"online", "1"}});
  EXPECT_EQ(ReadTree(tree).ACLineStatus, AC_LINE_ONLINE);
}

TEST(PowerTreeTest, OfflineAdapterWithoutBatteryTellsNothing) {
  // A desktop's empty USB-C ports say offline; the machine still runs on mains.
  TempTree tree;
  WriteSupply(tree, "ucsi-source-psy-1", {{"type", "USB"}, {"online", "0"}});
  const auto status = ReadTree(tree);
  EXPECT_EQ(status.ACLineStatus, AC_LINE_UNKNOWN);
  EXPECT_EQ(status.BatteryFlag, BATTERY_FLAG_NO_BATTERY);
  EXPECT_EQ(status.BatteryLifePercent, BATTERY_PERCENTAGE_UNKNOWN);
}

TEST(PowerTreeTest, NoPowerSupplyFolderAtAll) {
  TempTree tree;
  const auto status = ReadTree(tree);
  EXPECT_EQ(status.ACLineStatus, AC_LINE_UNKNOWN);
  EXPECT_EQ(status.BatteryFlag, BATTERY_FLAG_NO_BATTERY);
  EXPECT_EQ(status.BatteryLifeTime, BATTERY_LIFE_UNKNOWN);
}

TEST(PowerTreeTest, BatteryThatTellsNoChargeIsUnknown) {
  TempTree tree;
  WriteSupply(tree, "BAT0", {{"type", "Battery"}, {"status", "Unknown"}});
  const auto status = ReadTree(tree);
  EXPECT_EQ(status.BatteryFlag, BATTERY_FLAG_UNKNOWN);
  EXPECT_EQ(status.BatteryLifePercent, BATTERY_PERCENTAGE_UNKNOWN);
  EXPECT_EQ(status.BatteryLifeTime, BATTERY_LIFE_UNKNOWN);
}

TEST(PowerTreeTest, ChargeAndCurrentWhenNoEnergyIsPublished) {
  TempTree tree;
  WriteSupply(tree, "BAT0",
              {{"type", "Battery"},
               {"status", "Discharging"},
               {"charge_now", "2000000"},
               {"charge_full", "4000000"},
               {"current_now", "1000000"}});
  const auto status = ReadTree(tree);
  EXPECT_EQ(status.ACLineStatus, AC_LINE_OFFLINE);
  EXPECT_EQ(status.BatteryLifePercent, 50);
  EXPECT_EQ(status.BatteryFlag, 0);  // between low and high no bit is set
  EXPECT_EQ(status.BatteryLifeTime, 7200u);
  EXPECT_EQ(status.BatteryFullLifeTime, 14400u);
}

TEST(PowerTreeTest, UeventFileIsReadWhenThere) {
  TempTree tree;
  tree.Write("power_supply/BAT0/uevent",
             "POWER_SUPPLY_TYPE=Battery\nPOWER_SUPPLY_STATUS=Discharging\nPOWER_SUPPLY_CAPACITY=3\n");
  tree.Write("power_supply/BAT0/capacity", "90\n");  // the uevent wins: one read per supply
  const auto status = ReadTree(tree);
  EXPECT_EQ(status.BatteryLifePercent, 3);
  EXPECT_EQ(status.BatteryFlag, BATTERY_FLAG_LOW | BATTERY_FLAG_CRITICAL);
}

TEST(PowerUeventTest, ANegativeRateCountsByItsSizeDownToTheMostNegativeNumber) {
  const auto reading = ReadingFromUevent(
      ParseUevent("POWER_SUPPLY_POWER_NOW=-9004000\nPOWER_SUPPLY_CURRENT_NOW=-9223372036854775808\n"));
  EXPECT_EQ(reading.powerNow, 9004000u);
  EXPECT_EQ(reading.currentNow, 9223372036854775808u);
}

TEST(PowerStatusTest, PeripheralAndAbsentBatteriesAreNotTheMachines) {
  PowerSupplyReading mouse = Battery(10, 100);
  mouse.scope = "Device";
  PowerSupplyReading emptyBay = Battery(0, 0);
  emptyBay.present = false;
  const auto status = ComputePowerStatus({mouse, emptyBay});
  EXPECT_EQ(status.BatteryFlag, BATTERY_FLAG_NO_BATTERY);
  EXPECT_EQ(status.ACLineStatus, AC_LINE_UNKNOWN);
}

TEST(PowerStatusTest, CombinedChargeRoundsHalvesToEven) {
  // 25 of 1000 is 2.5 %: halves go to the even neighbour.
  EXPECT_EQ(ComputePowerStatus({Battery(25, 1000)}).BatteryLifePercent, 2);
  EXPECT_EQ(ComputePowerStatus({Battery(35, 1000)}).BatteryLifePercent, 4);
  // Two batteries weigh by their energy, not by their own percentages (10 % and 90 %).
  EXPECT_EQ(ComputePowerStatus({Battery(10, 100), Battery(270, 300)}).BatteryLifePercent, 70);
  // A battery that reports more than its full energy is full, no more.
  EXPECT_EQ(ComputePowerStatus({Battery(120, 100)}).BatteryLifePercent, 100);
}

TEST(PowerStatusTest, AChargeFarAboveFullIsStillFull) {
  // 10^20 % does not fit an int: the cap has to come before the conversion.
  const auto status = ComputePowerStatus({Battery(1'000'000'000'000'000'000, 1)});
  EXPECT_EQ(status.BatteryLifePercent, 100);
  EXPECT_EQ(status.BatteryFlag, BATTERY_FLAG_HIGH);
}

TEST(PowerStatusTest, WildFiguresGiveTheTimesTheyMeanInsteadOfAnOverflow) {
  // 10^18 of 2 x 10^18 at 10^15 an hour: 1000 hours left, 2000 for a full charge. Multiplied by
  // 3600 before the division these wrapped round to a few hours, a full charge lasting less.
  PowerSupplyReading battery = Battery(1'000'000'000'000'000'000, 2'000'000'000'000'000'000);
  battery.powerNow = 1'000'000'000'000'000;
  auto status = ComputePowerStatus({battery});
  EXPECT_EQ(status.BatteryLifeTime, 3'600'000u);
  EXPECT_EQ(status.BatteryFullLifeTime, 7'200'000u);
  // A rate too large to multiply the rest of an hour by 3600.
  battery.powerNow = 4'000'000'000'000'000'000;
  status = ComputePowerStatus({battery});
  EXPECT_EQ(status.BatteryLifeTime, 900u);
  EXPECT_EQ(status.BatteryFullLifeTime, 1800u);
  // More hours than the record can hold are unknown.
  battery.powerNow = 1;
  EXPECT_EQ(ComputePowerStatus({battery}).BatteryLifeTime, BATTERY_LIFE_UNKNOWN);
}

TEST(PowerStatusTest, FlagThresholds) {
  auto flag = [](uint64_t percent) { return ComputePowerStatus({Battery(percent, 100)}).BatteryFlag; };
  EXPECT_EQ(flag(67), BATTERY_FLAG_HIGH);
  EXPECT_EQ(flag(66), 0);
  EXPECT_EQ(flag(33), 0);
  EXPECT_EQ(flag(32), BATTERY_FLAG_LOW);
  EXPECT_EQ(flag(5), BATTERY_FLAG_LOW);
  EXPECT_EQ(flag(4), BATTERY_FLAG_LOW | BATTERY_FLAG_CRITICAL);
}

TEST(PowerStatusTest, ChargingBatteryMeansLinePowerEvenWithoutAnAdapter) {
  const auto status = ComputePowerStatus({Battery(50, 100, "Charging")});
  EXPECT_EQ(status.ACLineStatus, AC_LINE_ONLINE);
  EXPECT_EQ(status.BatteryFlag, BATTERY_FLAG_CHARGING);
}

TEST(PowerSuppliesTest, DockedBatteryIsNoticedAtTheNextScanAndAVanishedOneAtOnce) {
  TempTree tree;
  WriteSupply(tree, "AC", {{"type", "Mains"}, {"online", "1"}});
  PowerSupplies supplies(tree.Path("power_supply"));
  EXPECT_EQ(supplies.Read(0).BatteryFlag, BATTERY_FLAG_NO_BATTERY);

  WriteSupply(tree, "BAT1", {{"type", "Battery"}, {"capacity", "80"}});
  // The layout is cached between scans ...
  EXPECT_EQ(supplies.Read(PowerSupplies::kRescanMs - 1).BatteryFlag, BATTERY_FLAG_NO_BATTERY);
  // ... and looked at again after ten seconds.
  EXPECT_EQ(supplies.Read(PowerSupplies::kRescanMs).BatteryLifePercent, 80);

  // Undocked: the supply cannot be read any more, which makes the next read scan again.
  tree.Remove("power_supply/BAT1");
  const auto status = supplies.Read(PowerSupplies::kRescanMs + 1);
  EXPECT_EQ(status.BatteryFlag, BATTERY_FLAG_NO_BATTERY);
  EXPECT_EQ(status.ACLineStatus, AC_LINE_ONLINE);
}

}  // namespace
}  // namespace sysvane
