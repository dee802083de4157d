// Batteries docked, undocked, taken out and put back under the backend's ten-second rescans, and every kind
// of power record (two batteries, a charge of 255, flags of 255, no battery) in every window at once: no
// window or tip ever shows more than 100 %, and an unknown charge reads "?".
#include <gtest/gtest.h>

#include <functional>
#include <regex>

#include "monitor/display.h"
#include "monitor/popup.h"
#include "options/options_dialog.h"
#include "platform/bar_display.h"
#include "platform/linux/power.h"
#include "platform/linux/tests/linux_test_support.h"
#include "shell/menu.h"
#include "tests/faults/fault_program.h"

namespace sysvane::faults {
namespace {

std::string Battery(const char* status, int energyNow) {
  return "POWER_SUPPLY_TYPE=Battery\nPOWER_SUPPLY_STATUS=" + std::string(status) +
         "\nPOWER_SUPPLY_ENERGY_FULL=50000000\nPOWER_SUPPLY_POWER_NOW=10000000\nPOWER_SUPPLY_ENERGY_NOW=" +
         std::to_string(energyNow) + "000000\n";
}

TEST(PowerFaultTest, SuppliesThatComeAndGoAreFollowed) {
  testing::TempTree tree;
  tree.Write("AC/uevent", "POWER_SUPPLY_TYPE=Mains\nPOWER_SUPPLY_ONLINE=1\n");
  tree.Write("BAT0/uevent", Battery("Charging", 40));
  PowerSupplies supplies(tree.Path());
  const struct {
    uint64_t ms;
    std::function<void()> change;
    std::string expected;
  } steps[] = {
      {0, [] {}, "1 9 80 ? ?"},
      {1, [&] { tree.Write("BAT1/uevent", Battery("Charging", 0)); }, "1 9 80 ? ?"},  // docked
      {9999, [] {}, "1 9 80 ? ?"},
      {10000, [] {}, "1 8 40 ? ?"},  // seen at the rescan; two batteries are one, by their energy
      {20000,
       [&] {
         tree.Remove("BAT1");  // undocked
         tree.Write("AC/uevent", "POWER_SUPPLY_TYPE=Mains\nPOWER_SUPPLY_ONLINE=0\n");
         tree.Write("BAT0/uevent", Battery("Discharging", 40));
       },
       "0 1 80 14400 18000"},
      {30000, [&] { tree.Remove("BAT0"); }, "255 128 255 ? ?"},  // taken out
      {39999, [&] { tree.Write("BAT0/uevent", Battery("Discharging", 10)); }, "255 128 255 ? ?"},
      {40000, [] {}, "0 2 20 3600 18000"},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.ms);
    step.change();
    EXPECT_EQ(testing::PowerText(supplies.Read(step.ms)), step.expected);
  }
}

// No window draws a charge that cannot be: above 100 %, or the unknown 255 as a number.
void CheckNoImpossibleCharge(Program& program, fake::FakeRuntime& runtime) {
  const std::regex impossible(".*\\b(10[1-9]|1[1-9][0-9]|2[0-9][0-9])%.*");
  std::vector<std::string> texts{runtime.TrayTip()};
  for (int i = 0; i <= program.popup().Stat.UBound(); ++i) texts.push_back(program.popup().Stat[i].Caption());
  std::vector<const forms::ProgressBar*> bars{&program.options().ProgressBar1[6]};
  for (int row = 0; row <= program.display().LastRow; ++row) bars.push_back(&program.display().StatBar[row]);
  for (const forms::ProgressBar* bar : bars)
    texts.push_back(forms::DescribeBar(bar->Value(), bar->TextAfterCaption()).text);
  for (const std::string& text : texts) EXPECT_FALSE(std::regex_match(text, impossible)) << text;
}

TEST(PowerFaultTest, NoWindowShowsMoreThanAHundredPercent) {
  FaultProgram fp;
  fp.settings.values = {{"Defined", "Yes"}, {"ShowSplash", "0"}, {"ShowCPU", "1"}, {"ShowBattery", "1"}};
  fp.kernel.power = SYSTEM_POWER_STATUS{0, 0, 50, 0, 3600, 7200};
  Program& program = fp.program;
  program.menu().Load();
  ASSERT_TRUE(program.menu().HasBattery);
  const SYSTEM_POWER_STATUS records[] = {
      {1, 8, 255, 0, BATTERY_LIFE_UNKNOWN, BATTERY_LIFE_UNKNOWN},  // charging, charge unknown
      {255, 255, 255, 0, BATTERY_LIFE_UNKNOWN, BATTERY_LIFE_UNKNOWN},
      {0, 255, 50, 0, 3600, 7200},                                   // flags unknown
      {1, 128, 255, 0, BATTERY_LIFE_UNKNOWN, BATTERY_LIFE_UNKNOWN},  // undocked: no battery
      {0, 0, 0, 0, 0, 0},
      {0, 2 | 4, 3, 0, 60, 7200},
      {1, 1, 100, 0, BATTERY_LIFE_UNKNOWN, BATTERY_LIFE_UNKNOWN},
      {1, 9, 101, 0, BATTERY_LIFE_UNKNOWN, BATTERY_LIFE_UNKNOWN},  // a record no system should write
  };
  for (int round = 0; round < 2; ++round) {
    for (const SYSTEM_POWER_STATUS& record : records) {
      SCOPED_TRACE(testing::PowerText(record));
      fp.kernel.power = record;
      program.display().Show();
      program.options().Show();
      program.options().SSTab1.SetTab(1);
      for (int step = 0; step < 8; ++step) {
        fp.runtime.Advance(1000);
        if (!program.popup().Loaded()) program.popup().Show();
        CheckNoImpossibleCharge(program, fp.runtime);
      }
      program.UnloadPopup();
      program.UnloadOptions();
      program.UnloadDisplay();
      fp.runtime.DeliverTray(forms::WM_MOUSEMOVE);
      CheckNoImpossibleCharge(program, fp.runtime);
      EXPECT_EQ(fp.runtime.TrayTip().ends_with(" ?"), record.BatteryLifePercent > 100)
          << fp.runtime.TrayTip();
    }
  }
}

}  // namespace
}  // namespace sysvane::faults
