// The kernel queries on Linux, answered from /proc, /sys and statvfs. Every path is read below a
// root folder: "/" on the live system, a folder of captured files in tests.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "platform/kernel.h"
#include "platform/linux/disk_query.h"
#include "platform/linux/drives.h"
#include "platform/linux/kept_open_file.h"
#include "platform/linux/power.h"

namespace sysvane {

class LinuxKernel : public Kernel {
 public:
  // A monotonic clock in 100 ns units.
  using Clock = std::function<uint64_t()>;

  explicit LinuxKernel(std::string root = "/");

  // For tests: the clock behind QuerySystemTime and the power-supply rescans, the statvfs that
  // answers disk queries, and the bound on a disk query that may block.
  void SetClock(Clock clock) { clock_ = std::move(clock); }
  void SetStatvfs(StatvfsFunction statvfsFunction) { disks_.SetStatvfs(std::move(statvfsFunction)); }
  void SetDiskTimeout(std::chrono::milliseconds timeout) { disks_.SetTimeout(timeout); }

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
  std::optional<SystemName> GetSystemName() override;

 private:
  // Reads the mount table again and letters the drives when it changed.
  void RefreshDrives(bool force);
  // The drive of a root ("D:\" and "d:" alike), reading the mount table once more when unknown.
  const DriveEntry* FindDrive(const std::string& root);
  std::string Path(const std::string& path) const { return JoinRoot(root_, path); }

  std::string root_;
  bool live_;
  uint64_t ticksPerSecond_;
  Clock clock_;
  KeptOpenFile stat_;
  KeptOpenFile meminfo_;
  KeptOpenFile statm_;
  KeptOpenFile online_;
  KeptOpenFile mounts_;
  std::string text_;  // scratch buffer of the reads, kept to spare allocations
  PowerSupplies power_;
  DiskQuery disks_;
  SysfsBlockDevices devices_;
  std::vector<DriveEntry> drives_;
  std::string mountsText_;  // the mount table the drives were lettered from
  bool drivesRead_ = false;
};

// The size of a process's user address space on this architecture, in bytes.
uint64_t ArchitectureUserAddressSpace();

}  // namespace sysvane
