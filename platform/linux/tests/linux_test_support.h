// What the Linux backend's tests share: a folder of files removed when the test ends (empty or a
// copy of a captured machine), the power record as one line, and all the backend says of a machine.
#pragma once

#include <unistd.h>

#include <cctype>
#include <string>

#include "platform/kernel.h"
#include "platform/linux/linux_kernel.h"
#include "platform/linux/linux_outside.h"
#include "stats/system_info.h"
#include "tests/temp_tree.h"

namespace sysvane::testing {

// "line flag percent time-left full-time", an unknown time as "?".
inline std::string PowerText(const SYSTEM_POWER_STATUS& s) {
  auto time = [](uint32_t t) { return t == BATTERY_LIFE_UNKNOWN ? std::string("?") : std::to_string(t); };
  return std::to_string(s.ACLineStatus) + " " + std::to_string(s.BatteryFlag) + " " +
         std::to_string(s.BatteryLifePercent) + " " + time(s.BatteryLifeTime) + " " +
         time(s.BatteryFullLifeTime);
}

// Everything the backend answers about the machine below `root`, field by field.
struct Answers {
  std::string drives;  // "root mount-point type|", "?|" when the disk query went elsewhere
  std::string memory, power, processor, processors, idle, version, name, processes;
  std::string Text() const {  // one field a line, as a fixture's ANSWERS file holds them
    return drives + "\n" + memory + "\n" + power + "\n" + processor + "\n" + processors + "\n" + idle + "\n" +
           version + "\n" + name + "\n" + processes + "\n";
  }
};

inline Answers ReadAnswers(LinuxKernel& kernel, const std::string& root) {
  kernel.SetStatvfs([](const char* path, struct statvfs* info) {
    *info = {};  // the size of every disk: the length of the path it was asked at
    info->f_bsize = 4096;
    info->f_frsize = 1;
    info->f_blocks = std::string(path).size();
    return 0;
  });
  Answers a;
  const std::string strings = kernel.GetLogicalDriveStrings();
  a.drives = strings.ends_with(std::string(2, '\0')) ? "" : "unended ";
  for (size_t at = 0; at < strings.size() && strings[at] != '\0'; at = strings.find('\0', at) + 1) {
    const std::string drive = strings.substr(at, strings.find('\0', at) - at);
    const std::string upper = std::string(1, char(std::toupper(drive[0]))) + ":";  // either way of naming it
    const std::string place = kernel.DriveMountPoint(drive);
    const auto space = kernel.GetDiskFreeSpaceEx(upper);
    const bool asked = space && space->TotalNumberOfBytes == JoinRoot(root, place).size();
    a.drives += drive + " " + place + " " + std::to_string(kernel.GetDriveType(upper)) + (asked ? "|" : "?|");
  }
  MEMORYSTATUS memory;  // total/available/pages the process has mapped
  a.memory = kernel.GlobalMemoryStatus(memory)
                 ? std::to_string(memory.dwTotalPhys) + "/" + std::to_string(memory.dwAvailPhys) + "/" +
                       std::to_string((memory.dwTotalVirtual - memory.dwAvailVirtual) / sysconf(_SC_PAGESIZE))
                 : "-";
  SYSTEM_POWER_STATUS power;
  a.power = kernel.GetSystemPowerStatus(power) ? PowerText(power) : "-";
  LinuxProcessorLibrary processor(root);
  LinuxResourceMeter meter;
  a.processor = SystemInfoModule(kernel, processor, meter).GetProcessorDescription(LocaleInfo{});
  a.processors = std::to_string(kernel.GetNumberOfProcessors());
  const auto idle = kernel.QueryIdleTime();
  a.idle = idle ? std::to_string(*idle / kernel.IdleTimeResolution()) : "-";
  OSVERSIONINFO version;
  a.version = kernel.GetVersionEx(version) ? WindowsVersionLine(version) : "-";
  const auto name = kernel.GetSystemName();
  a.name = name->prettyName + ", kernel " + std::to_string(name->kernelMajor) + "." +
           std::to_string(name->kernelMinor) + "." + std::to_string(name->kernelPatch);
  const auto counts = kernel.CountProcesses();
  a.processes = counts ? std::to_string(counts->processes) + "/" + std::to_string(counts->threads) : "-";
  return a;
}

}  // namespace sysvane::testing
