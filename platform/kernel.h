// Kernel queries: everything the program asks the operating system about the machine.
// The records keep the Windows field names the rest of the program is written against;
// memory counts are 64-bit, because the 32-bit fields overflow from 2 GiB up.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace sysvane {

struct MEMORYSTATUS {
  uint32_t dwLength = 0;
  uint32_t dwMemoryLoad = 0;
  uint64_t dwTotalPhys = 0;      // total physical memory, bytes
  uint64_t dwAvailPhys = 0;      // available physical memory, bytes
  uint64_t dwTotalPageFile = 0;  // not used
  uint64_t dwAvailPageFile = 0;  // not used
  uint64_t dwTotalVirtual = 0;   // size of this process's user address space, bytes
  uint64_t dwAvailVirtual = 0;   // part of it not yet mapped, bytes
};

constexpr uint8_t AC_LINE_OFFLINE = 0;
constexpr uint8_t AC_LINE_ONLINE = 1;
constexpr uint8_t AC_LINE_UNKNOWN = 255;
constexpr uint8_t BATTERY_FLAG_HIGH = 1;
constexpr uint8_t BATTERY_FLAG_LOW = 2;
constexpr uint8_t BATTERY_FLAG_CRITICAL = 4;
constexpr uint8_t BATTERY_FLAG_CHARGING = 8;
constexpr uint8_t BATTERY_FLAG_NO_BATTERY = 128;
constexpr uint8_t BATTERY_FLAG_UNKNOWN = 255;
constexpr uint8_t BATTERY_PERCENTAGE_UNKNOWN = 255;
constexpr uint32_t BATTERY_LIFE_UNKNOWN = 0xFFFFFFFFu;

struct SYSTEM_POWER_STATUS {
  uint8_t ACLineStatus = 0;        // 0 on battery, 1 on mains, 255 unknown
  uint8_t BatteryFlag = 0;         // bit set 1 high, 2 low, 4 critical, 8 charging, 128 none; 255 unknown
  uint8_t BatteryLifePercent = 0;  // 0..100, 255 unknown
  uint8_t Reserved1 = 0;
  uint32_t BatteryLifeTime = 0;      // seconds left, all bits set when unknown
  uint32_t BatteryFullLifeTime = 0;  // seconds of a full charge, all bits set when unknown
};

constexpr uint32_t VER_PLATFORM_WIN32s = 0;
constexpr uint32_t VER_PLATFORM_WIN32_WINDOWS = 1;
constexpr uint32_t VER_PLATFORM_WIN32_NT = 2;

struct OSVERSIONINFO {
  uint32_t dwOSVersionInfoSize = 0;
  uint32_t dwMajorVersion = 0;
  uint32_t dwMinorVersion = 0;
  uint32_t dwBuildNumber = 0;
  uint32_t dwPlatformId = 0;
  std::string szCSDVersion;
};

// GetDriveType answers.
constexpr uint32_t DRIVE_UNKNOWN = 0;
constexpr uint32_t DRIVE_NO_ROOT_DIR = 1;
constexpr uint32_t DRIVE_REMOVABLE = 2;
constexpr uint32_t DRIVE_FIXED = 3;
constexpr uint32_t DRIVE_REMOTE = 4;
constexpr uint32_t DRIVE_CDROM = 5;
constexpr uint32_t DRIVE_RAMDISK = 6;

struct DiskSpace {
  uint64_t FreeBytesAvailableToCaller = 0;
  uint64_t TotalNumberOfBytes = 0;
  uint64_t TotalNumberOfFreeBytes = 0;
};

// The running system's own name, for the System page on a system that is not Windows.
struct SystemName {
  std::string family;      // "Linux"
  std::string prettyName;  // "Debian GNU/Linux 12 (bookworm)"
  uint32_t kernelMajor = 0;
  uint32_t kernelMinor = 0;
  uint32_t kernelPatch = 0;
};

class Kernel {
 public:
  virtual ~Kernel() = default;

  // Each returns false (and leaves the record as it was) when the system could not answer.
  virtual bool GlobalMemoryStatus(MEMORYSTATUS& status) = 0;
  virtual bool GetSystemPowerStatus(SYSTEM_POWER_STATUS& status) = 0;
  virtual bool GetVersionEx(OSVERSIONINFO& info) = 0;

  // Drive roots, each ended by a NUL, with one more NUL after the last: "c:\<NUL>d:\<NUL><NUL>".
  virtual std::string GetLogicalDriveStrings() = 0;
  virtual uint32_t GetDriveType(const std::string& root) = 0;
  // Never blocks for long: an unresponsive drive is answered as a failed query.
  virtual std::optional<DiskSpace> GetDiskFreeSpaceEx(const std::string& root) = 0;
  // Where a drive root lives on this system ("/home" for "e:\"); empty when unknown.
  virtual std::string DriveMountPoint(const std::string& root) = 0;

  // The three system information classes the NT sampler reads.
  virtual std::optional<uint32_t> QueryProcessorCount() = 0;  // class 0
  virtual std::optional<uint64_t> QueryIdleTime() = 0;        // class 2: 100 ns units, all processors
  virtual std::optional<uint64_t> QuerySystemTime() = 0;      // class 3: 100 ns units
  // The step of one processor's idle counter, in 100 ns units (one clock tick); 0 when exact.
  virtual uint64_t IdleTimeResolution() = 0;

  // Toolhelp snapshot: number of processes and the sum of their threads; nullopt when it failed.
  struct ProcessCounts {
    uint32_t processes = 0;
    uint32_t threads = 0;
  };
  virtual std::optional<ProcessCounts> CountProcesses() = 0;

  virtual uint32_t GetNumberOfProcessors() = 0;  // GetSystemInfo's dwNumberOfProcessors
  virtual std::optional<SystemName> GetSystemName() = 0;
};

}  // namespace sysvane
