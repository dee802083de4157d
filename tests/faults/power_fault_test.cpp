// Batteries that come and go (a laptop docked and undocked, a battery taken out), two batteries
// at once, and the unknown charge (255) and flags (255) of the power record, with the Monitor
// window, the roll-up, the Options dialog and the tray tip reading them.
#include <gtest/gtest.h>

#include <regex>

#include "monitor/display.h"
#include "monitor/popup.h"
#include "options/options_dialog.h"
#include "platform/linux/linux_kernel.h"
#include "shell/menu.h"
#include "tests/faults/fault_program.h"
#include "tests/faults/machine_tree.h"

namespace sysvane::faults {
namespace {

// No window ever shows a charge that cannot be: above 100%, or the unknown 255 as a number.
void CheckNoImpossibleCharge(Program& program, fake::FakeRuntime& runtime, const std::string& when) {
  const std::regex impossible(".*\\b(10[1-9]|1[1-9][0-9]|2[0-9][0-9])%.*");
  if (program.display().Loaded()) {
    const int row = program.display().StatRow[Display::kSlotBattery];
    if (row != Display::kNoRow) {
      const int value = program.display().StatBar[row].Value();
      EXPECT_TRUE(value <= 100 || value == 255) << when << ": Monitor battery bar " << value;
    }
  }
  if (program.options().Loaded()) {
    EXPECT_LE(program.options().ProgressBar1[6].Value(), 100) << when;
  }
  if (program.popup().Loaded()) {
    for (int i = 0; i <= program.popup().Stat.UBound(); ++i) {
      EXPECT_FALSE(std::regex_match(program.popup().Stat[i].Caption(), impossible))
          << when << ": " << program.popup().Stat[i].Caption();
    }
  }
  EXPECT_FALSE(std::regex_match(runtime.TrayTip(), impossible)) << when << ": " << runtime.TrayTip();
}

std::string PopupBatteryLine(Program& program) {
  Popup& popup = program.popup();
  for (int i = 0; popup.Loaded() && i <= popup.Stat.UBound(); ++i) {
    if (popup.Stat[i].Caption().starts_with("Battery")) return popup.Stat[i].Caption();
  }
  return "";
}

const char* const kBattery0 =
    "POWER_SUPPLY_TYPE=Battery\nPOWER_SUPPLY_PRESENT=1\nPOWER_SUPPLY_STATUS=%s\n"
    "POWER_SUPPLY_ENERGY_NOW=30000000\nPOWER_SUPPLY_ENERGY_FULL=50000000\nPOWER_SUPPLY_POWER_NOW=10000000\n";

std::string Battery0(const std::string& status) {
  std::string text = kBattery0;
  return text.replace(text.find("%s"), 2, status);
}

// The laptop of the machine tree, driven through its power supplies on the Linux backend while
// every window that shows the battery is open.
class DockingTest : public ::testing::Test {
 protected:
  DockingTest() {
    WriteGoodMachine(tree);
    // The backend's clock is the virtual clock of the windows: its ten-second rescans follow it.
    kernel.SetClock([this] { return uint64_t(runtime.Now() + 1) * 10'000; });
    settings.values = {{"Defined", "Yes"}, {"ShowSplash", "0"}, {"ShowCPU", "1"}, {"ShowBattery", "1"}};
    program.menu().Load();
  }

  void OpenWindows() {
    program.display().Show();
    program.options().Show();
    program.options().SSTab1.SetTab(1);
    program.popup().Show();
  }

  // Ten seconds and a refresh, the roll-up reopened whenever it has gone.
  void Settle(const std::string& when) {
    for (int step = 0; step < 12; ++step) {
      runtime.Advance(1000);
      if (!program.popup().Loaded()) program.popup().Show();
      CheckNoImpossibleCharge(program, runtime, when);
    }
  }

  std::string Tip() {
    program.UnloadPopup();
    runtime.DeliverTray(forms::WM_MOUSEMOVE);
    return runtime.TrayTip();
  }

  testing::TempTree tree;
  fake::ProgramOn<LinuxKernel> machine{tree.Path()};
  LinuxKernel& kernel = machine.kernel;
  fake::FakeSettingsBackend& settings = machine.settings;
  fake::FakeRuntime& runtime = machine.runtime;
  Program& program = machine.program;
};

TEST_F(DockingTest, BatteriesThatComeAndGoAreFollowed) {
  ASSERT_TRUE(program.menu().HasBattery);
  OpenWindows();
  Display& display = program.display();
  Options& options = program.options();
  const int row = display.StatRow[Display::kSlotBattery];
  ASSERT_NE(row, Display::kNoRow);
  EXPECT_EQ(display.StatText[row].Caption(), "Battery status (unplugged):");
  EXPECT_EQ(display.StatBar[row].Value(), 60);

  // Docked: mains power and the dock's own battery, both charging; the two count as one.
  tree.Write("sys/class/power_supply/AC/uevent", "POWER_SUPPLY_TYPE=Mains\nPOWER_SUPPLY_ONLINE=1\n");
  tree.Write("sys/class/power_supply/BAT0/uevent", Battery0("Charging"));
  tree.Write("sys/class/power_supply/BAT1/uevent",
             "POWER_SUPPLY_TYPE=Battery\nPOWER_SUPPLY_STATUS=Charging\nPOWER_SUPPLY_ENERGY_NOW=10000000\n"
             "POWER_SUPPLY_ENERGY_FULL=50000000\n");
  Settle("docked");
  EXPECT_EQ(display.StatText[row].Caption(), "Battery status (charging):");
  EXPECT_EQ(display.StatBar[row].Value(), 40);
  EXPECT_EQ(options.ProgressBar1[6].Value(), 40);
  EXPECT_EQ(options.Check1[6].Caption(), "Battery status (charging):");
  EXPECT_EQ(PopupBatteryLine(program), "Battery (charging): 40%");

  // Undocked: the dock's battery is gone with it.
  tree.Remove("sys/class/power_supply/BAT1");
  tree.Write("sys/class/power_supply/AC/uevent", "POWER_SUPPLY_TYPE=Mains\nPOWER_SUPPLY_ONLINE=0\n");
  tree.Write("sys/class/power_supply/BAT0/uevent", Battery0("Discharging"));
  Settle("undocked");
  EXPECT_EQ(display.StatText[row].Caption(), "Battery status (unplugged):");
  EXPECT_EQ(display.StatBar[row].Value(), 60);
  EXPECT_EQ(options.ProgressBar1[6].Value(), 60);
  EXPECT_EQ(PopupBatteryLine(program), "Battery (unplugged): 60%");

  // The battery taken out: every window keeps what it showed rather than making a figure up.
  tree.Remove("sys/class/power_supply/BAT0");
  Settle("battery out");
  EXPECT_EQ(display.StatBar[row].Value(), 60);
  EXPECT_EQ(options.ProgressBar1[6].Value(), 60);
  // A roll-up opened since has no figure of its own to keep.
  EXPECT_TRUE(PopupBatteryLine(program) == "Battery (unplugged): 60%" || PopupBatteryLine(program) == "")
      << PopupBatteryLine(program);

  // And put back.
  tree.Write("sys/class/power_supply/BAT0/uevent", Battery0("Discharging"));
  Settle("battery back");
  EXPECT_EQ(display.StatBar[row].Value(), 60);

  program.UnloadDisplay();
  program.UnloadOptions();
  EXPECT_TRUE(Tip().ends_with(", Battery(unplugged): 60%")) << runtime.TrayTip();
  tree.Remove("sys/class/power_supply/BAT0");
  runtime.Advance(11000);
  // A battery gone is an unknown charge, no longer labelled.
  EXPECT_TRUE(Tip().ends_with(", ?")) << runtime.TrayTip();
}

TEST(PowerRecordFaultTest, UnknownChargesAndFlagsNeverShowAsFigures) {
  FaultProgram fp;
  fp.settings.values = {{"Defined", "Yes"}, {"ShowSplash", "0"}, {"ShowCPU", "1"}, {"ShowBattery", "1"}};
  fp.kernel.power = SYSTEM_POWER_STATUS{0, 0, 50, 0, 3600, 7200};
  Program& program = fp.program;
  program.menu().Load();
  ASSERT_TRUE(program.menu().HasBattery);

  const std::vector<std::pair<SYSTEM_POWER_STATUS, std::string>> records = {
      {{1, 8, 255, 0, BATTERY_LIFE_UNKNOWN, BATTERY_LIFE_UNKNOWN}, "charging, charge unknown"},
      {{255, 255, 255, 0, BATTERY_LIFE_UNKNOWN, BATTERY_LIFE_UNKNOWN}, "everything unknown"},
      {{0, 255, 50, 0, 3600, 7200}, "flags unknown"},
      {{1, 128, 255, 0, BATTERY_LIFE_UNKNOWN, BATTERY_LIFE_UNKNOWN}, "no battery"},
      {{0, 0, 0, 0, 0, 0}, "all zero"},
      {{0, 2 | 4, 3, 0, 60, 7200}, "critical"},
      {{1, 1, 100, 0, BATTERY_LIFE_UNKNOWN, BATTERY_LIFE_UNKNOWN}, "full"},
  };
  for (int round = 0; round < 2; ++round) {
    for (const auto& [record, name] : records) {
      fp.kernel.power = record;
      program.display().Show();
      program.options().Show();
      program.options().SSTab1.SetTab(1);
      for (int step = 0; step < 8; ++step) {
        fp.runtime.Advance(1000);
        if (!program.popup().Loaded()) program.popup().Show();
        CheckNoImpossibleCharge(program, fp.runtime, name);
      }
      const std::string line = PopupBatteryLine(program);
      if (record.BatteryLifePercent == 255 && record.BatteryFlag != 128 && !line.empty()) {
        EXPECT_TRUE(line.ends_with(": ?")) << name << ": " << line;
      }
      program.UnloadPopup();
      program.UnloadOptions();
      program.UnloadDisplay();
      fp.runtime.DeliverTray(forms::WM_MOUSEMOVE);
      CheckNoImpossibleCharge(program, fp.runtime, name + ", tip");
      if (record.BatteryLifePercent == 255) {
        EXPECT_TRUE(fp.runtime.TrayTip().ends_with(" ?")) << name << ": " << fp.runtime.TrayTip();
      }
    }
  }
}

}  // namespace
}  // namespace sysvane::faults
