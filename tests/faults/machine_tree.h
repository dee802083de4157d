// A whole machine's /proc, /sys and /etc in a temporary folder, for the Linux backend pointed at
// it: a laptop with four processors, 16 GB of memory, two disks and a battery at 60%.
#pragma once

#include <map>
#include <string>

#include "platform/linux/tests/temp_tree.h"

namespace sysvane::faults {

inline const std::map<std::string, std::string>& GoodMachineFiles() {
  static const std::map<std::string, std::string> files = {
      {"proc/stat",
       "cpu  1000 20 300 40000 500 0 10 0 0 0\ncpu0 250 5 75 10000 125 0 3 0 0 0\nctxt 123\nbtime 1\n"
       "processes 10\nprocs_running 1\nprocs_blocked 0\n"},
      {"proc/meminfo",
       "MemTotal:       16000000 kB\nMemFree:         2000000 kB\nMemAvailable:    8000000 kB\n"
       "Buffers:          100000 kB\nCached:          3000000 kB\nSwapTotal:       1000000 kB\n"},
      {"proc/self/statm", "1000 200 100 10 0 500 0\n"},
      {"proc/self/mounts",
       "/dev/sda2 / ext4 rw,relatime 0 0\nproc /proc proc rw 0 0\n/dev/sda3 /home ext4 rw 0 0\n"
       "/dev/sdb1 /mnt/win fuseblk rw 0 0\n"},
      {"proc/sys/kernel/osrelease", "6.1.0-18-amd64\n"},
      {"proc/cpuinfo", "processor\t: 0\nmodel name\t: Test CPU 3000\ncpu MHz\t\t: 2100.000\n\n"},
      {"proc/42/stat", "42 (init) S 0 42 42 0 -1 4194560 100 0 0 0 5 3 0 0 20 0 3 0 10 1000000 200\n"},
      {"proc/43/stat", "43 (sh) S 42 43 43 0 -1 4194560 100 0 0 0 5 3 0 0 20 0 5 0 10 1000000 200\n"},
      {"sys/devices/system/cpu/online", "0-3\n"},
      {"sys/devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq", "4200000\n"},
      {"sys/block/sda/removable", "0\n"},
      {"sys/block/sdb/removable", "0\n"},
      {"sys/class/power_supply/AC/uevent",
       "POWER_SUPPLY_NAME=AC\nPOWER_SUPPLY_TYPE=Mains\nPOWER_SUPPLY_ONLINE=0\n"},
      {"sys/class/power_supply/BAT0/uevent",
       "POWER_SUPPLY_NAME=BAT0\nPOWER_SUPPLY_TYPE=Battery\nPOWER_SUPPLY_STATUS=Discharging\n"
       "POWER_SUPPLY_PRESENT=1\nPOWER_SUPPLY_ENERGY_NOW=30000000\nPOWER_SUPPLY_ENERGY_FULL=50000000\n"
       "POWER_SUPPLY_POWER_NOW=10000000\n"},
      {"etc/os-release", "PRETTY_NAME=\"Test Linux 1\"\nID=test\n"},
  };
  return files;
}

inline void WriteGoodMachine(const testing::TempTree& tree) {
  for (const auto& [path, text] : GoodMachineFiles()) tree.Write(path, text);
}

}  // namespace sysvane::faults
