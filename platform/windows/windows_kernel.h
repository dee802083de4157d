// The kernel queries on Windows, answered by the Win32 and native services the records are named
// after.
#pragma once

#include <vector>

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

// A performance-counter reading in 100 ns units, without overflow however long the machine has run.
uint64_t HundredNanoseconds(uint64_t ticks, uint64_t ticksPerSecond);

// The idle time of the machine's processors (100 ns units) and how many processors it sums: both
// over the same processors, so that the CPU usage divides the idle time by its own count.
struct IdleTotal {
  uint64_t time = 0;
  uint32_t processors = 0;
};
std::optional<IdleTotal> SystemIdle();

// While it lives, a drive that is not ready (an empty card reader) answers this thread's queries
// with an error instead of the system's "insert a disk" box. The thread's mode alone: the process's
// belongs to whoever else runs in the process.
class QuietDriveErrors {
 public:
  QuietDriveErrors();
  ~QuietDriveErrors();
  QuietDriveErrors(const QuietDriveErrors&) = delete;
  QuietDriveErrors& operator=(const QuietDriveErrors&) = delete;

 private:
  unsigned long previous_ = 0;
};

// The machine of several processor groups: every processor's idle time (each group's list as the
// kernel reports it) summed, and only the processors whose time was read counted.
IdleTotal SumOverGroups(const std::vector<std::vector<uint64_t>>& groups);

}  // namespace sysvane::windows
