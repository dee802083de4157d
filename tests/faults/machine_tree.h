// A whole machine's /proc, /sys and /etc in a temporary folder, for the Linux backend pointed at
// it: a laptop with four processors, 16 GB of memory, two disks and a battery at 60%.
#pragma once

#include <map>
#include <string>

#include "platform/linux/tests/linux_test_support.h"

namespace sysvane::faults {

inline const std::map<std::string, std::string>& GoodMachineFiles() {
  static const std::map<std::string, std::string> files = {
      {"proc/stat", "cpu  1000 20 300 40000 500 0 10 0 0 0\ncpu0 250 5 75 10000 125 0 3 0 0 0\nctxt 123\n"},
      {"proc/meminfo",
       "MemTotal:       16000000 kB\nMemFree:         2000000 kB\nMemAvailable:    8000000 kB\n"},
      {"proc/self/mountinfo",
       "21 1 8:2 / / rw,relatime shared:1 - ext4 /dev/sda2 rw\n22 21 0:4 / /proc rw - proc proc rw\n"
       "23 21 8:3 / /home rw shared:2 - ext4 /dev/sda3 rw\n24 21 8:17 / /mnt/win rw - fuseblk /dev/sdb1 "
       "rw\n"},
      {"proc/sys/kernel/osrelease", "6.1.0-18-amd64\n"},
      {"proc/cpuinfo", "processor\t: 0\nmodel name\t: Test CPU 3000\ncpu MHz\t\t: 2100.000\n\n"},
      {"proc/42/stat", "42 (init) S 0 42 42 0 -1 4194560 100 0 0 0 5 3 0 0 20 0 3 0 10 1000000 200\n"},
      {"proc/43/stat", "43 (sh) S 42 43 43 0 -1 4194560 100 0 0 0 5 3 0 0 20 0 5 0 10 1000000 200\n"},
      {"proc/44/status", "Name:\tbash\nThreads:\t2\n"},  // no stat file: its status tells
      {"sys/devices/system/cpu/online", "0-3\n"},
      {"sys/devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq", "4200000\n"},
      {"sys/class/power_supply/AC/uevent", "POWER_SUPPLY_TYPE=Mains\nPOWER_SUPPLY_ONLINE=0\n"},
      {"sys/class/power_supply/BAT0/uevent",
       "POWER_SUPPLY_TYPE=Battery\nPOWER_SUPPLY_STATUS=Discharging\nPOWER_SUPPLY_ENERGY_NOW=30000000\n"
       "POWER_SUPPLY_ENERGY_FULL=50000000\nPOWER_SUPPLY_POWER_NOW=10000000\n"},
      {"etc/os-release", "PRETTY_NAME=\"Test Linux 1\"\nID=test\n"},
  };
  return files;
}

inline void WriteGoodMachine(const testing::TempTree& tree) {
  for (const auto& [path, text] : GoodMachineFiles()) tree.Write(path, text);
}

}  // namespace sysvane::faults
