// Batteries docked, undocked, telling nothing, taken out and wild, on the Linux backend under its
// ten-second rescans, with the Monitor window, the Options dialog and the roll-up all showing the
// battery: no window ever shows more than 100 %, and within a rescan every window shows the
// battery as it now is (the tray tip's texts are the tray's own tests').
#include <gtest/gtest.h>

#include <regex>

#include "monitor/display.h"
#include "monitor/popup.h"
#include "options/options_dialog.h"
#include "platform/bar_display.h"
#include "platform/fake/fake_program.h"
#include "platform/linux/tests/linux_test_support.h"
#include "shell/menu.h"

namespace sysvane {
namespace {

std::string Battery(const std::string& status, const std::string& energyNow) {
  return "POWER_SUPPLY_TYPE=Battery\nPOWER_SUPPLY_STATUS=" + status +
         "\nPOWER_SUPPLY_ENERGY_FULL=50000000\nPOWER_SUPPLY_POWER_NOW=10000000\nPOWER_SUPPLY_ENERGY_NOW=" +
         energyNow + "\n";
}

TEST(PowerFaultTest, SuppliesThatChangeAreFollowedAndNoWindowShowsMoreThanAHundredPercent) {
  testing::TempTree tree;
  tree.Write("sys/class/power_supply/AC/uevent", "POWER_SUPPLY_TYPE=Mains\nPOWER_SUPPLY_ONLINE=1\n");
  tree.Write("sys/class/power_supply/BAT0/uevent", Battery("Charging", "40000000"));
  fake::ProgramOn<LinuxKernel> machine(tree.Path());
  // The windows' clock.
  machine.kernel.SetClock([&] { return uint64_t(machine.runtime.Now() + 1) * 10'000; });
  machine.settings.values = {{"Defined", "Yes"}, {"ShowSplash", "0"}, {"ShowCPU", "1"}, {"ShowBattery", "1"}};
  Program& program = machine.program;
  program.menu().Load();
  program.display().Show();
  program.options().Show();
  program.options().SSTab1.SetTab(1);  // the page whose previews refresh
  const std::regex impossible(".*\\b(10[1-9]|1[1-9][0-9]|2[0-9][0-9])%.*");
  // The supply changed (its uevent written over, or the supply removed when empty); then the Options
  // dialog's bar, the Monitor window's battery row and the roll-up's line. An unknown charge leaves
  // the dialog's bar as it was; the roll-up drops a battery that is gone. (What the kernel makes of
  // each state is the power record's own test: here it must follow them.)
  const std::tuple<const char*, std::string, const char*> steps[] = {
      {"BAT1", Battery("Charging", "0"), "40% | 40% | Battery (charging): 40%"},  // docked: two are one
      {"BAT1", "", "80% | 80% | Battery (charging): 80%"},                        // undocked
      {"AC", "POWER_SUPPLY_TYPE=Mains\nPOWER_SUPPLY_ONLINE=0\n", "80% | 80% | Battery (charging): 80%"},
      {"BAT0", Battery("Discharging", "40000000"), "80% | 80% | Battery (unplugged): 80%"},
      {"BAT0", "POWER_SUPPLY_TYPE=Battery\n", "80% | ? | Battery (unplugged): ?"},  // charge, flags unknown
      {"BAT0", "", "80% | ?"},                                                      // taken out
      {"BAT0", Battery("Discharging", "9000000000000000000"), "100% | 100% | Battery (unplugged): 100%"},
  };
  for (const auto& [supply, uevent, expected] : steps) {
    SCOPED_TRACE(expected);
    const std::string file = "sys/class/power_supply/" + std::string(supply);
    uevent.empty() ? tree.Remove(file) : tree.Write(file + "/uevent", uevent);
    std::string shown;  // the battery in every window, at the end of the rescan
    auto see = [&](const std::string& text, bool battery) {
      EXPECT_FALSE(std::regex_match(text, impossible)) << text;
      if (battery) shown += " | " + text;
    };
    for (int second = 0; second < 11; ++second) {
      machine.runtime.Advance(1000);
      if (!program.popup().Loaded()) program.popup().Show();
      see(shown = forms::DescribeBar(program.options().ProgressBar1[6].Value(), "%").text, false);
      for (int row = 0; row <= program.display().LastRow; ++row)
        see(forms::DescribeBar(program.display().StatBar[row].Value(), "%").text,
            program.display().StatText[row].Caption().starts_with("Battery"));
      for (int i = 0; i <= program.popup().Stat.UBound(); ++i)
        see(program.popup().Stat[i].Caption(), program.popup().Stat[i].Caption().starts_with("Battery"));
    }
    EXPECT_EQ(shown, expected);
  }
}

}  // namespace
}  // namespace sysvane
