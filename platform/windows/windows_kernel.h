// The kernel queries on Windows, answered by the Win32 and native services the records are named
// after.
#pragma once

#include "platform/kernel.h"

namespace sysvane::windows {

class WindowsKernel : public Kernel {
 public:
  bool GlobalMemoryStatus(MEMORYSTATUS& status) override;
  bool GetSystemPowerStatus(SYSTEM_POWER_STATUS& status) override;
  bool GetVersionEx(OSVERSIONINFO& info) override;
  std::string GetLogicalDriveStrings() override;
  uint32_t GetDriveType(const std::string& root) override;
  std::optional<DiskSpace> GetDiskFreeSpaceEx(const std::string& root) override;
  std::string DriveMountPoint(const std::string& root) override;
  std::optional<uint32_t> QueryProcessorCount() override;
  std::optional<uint64_t> QueryIdleTime() override;
  std::optional<uint64_t> QuerySystemTime() override;
  uint64_t IdleTimeResolution() override;
  std::optional<ProcessCounts> CountProcesses() override;
  uint32_t GetNumberOfProcessors() override;
  // nullopt: the System page names Windows from the version record.
  std::optional<SystemName> GetSystemName() override { return std::nullopt; }
};

// Drive roots as Windows lists them ("A:\<NUL>C:\<NUL>D:\<NUL><NUL>") in the program's spelling:
// lower-case letters, drive C first (the program counts it as the system drive), the others in
// their order.
std::string SystemDriveFirst(const std::string& roots);

// The idle time of the machine's processors (100 ns units) and how many processors it sums: both
// over the same processors, so that the CPU usage divides the idle time by its own count.
struct IdleTotal {
  uint64_t time = 0;
  uint32_t processors = 0;
};
std::optional<IdleTotal> SystemIdle();

}  // namespace sysvane::windows
