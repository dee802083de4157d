// SystemInfoModule: the program's one place that asks the operating system for raw facts, and
// the few values the windows share.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/kernel.h"
#include "platform/outside.h"
#include "stats/format.h"

namespace sysvane {

class SystemInfoModule {
 public:
  SystemInfoModule(Kernel& kernel, ProcessorLibrary& processor, ResourceMeter& resources);

  // Shared values; each is written only by the operation named beside it.
  std::vector<std::string> FixedDrives;  // ListFixedDrives: "d:\", "e:\" ... never "c:\"
  int16_t FixedDriveCount = 0;           // ListFixedDrives (the Options dialog may lower it)
  MEMORYSTATUS MemStatus;                // RefreshMemoryAndPower
  SYSTEM_POWER_STATUS PowerStatus;       // RefreshMemoryAndPower
  int16_t WindowsFamily = 2000;          // the start-up controller, once: 95 or 2000
  uint32_t ProcessCount = 0;             // CountProcessesAndThreads
  uint32_t ThreadCount = 0;              // CountProcessesAndThreads
  bool PopupShowing = false;             // the roll-up window is loaded
  bool MonitorOpenedFromTray = false;    // the Monitor window was opened by a double-click

  void ListFixedDrives();
  void RefreshMemoryAndPower();
  bool IsWindowsNT();
  int16_t GetWindowsVersionCode();
  void CountProcessesAndThreads();
  std::string GetProcessorDescription(const LocaleInfo& locale);

  // Free System (0), GDI (1) or User (2) resources in percent (Windows 95 family only).
  int16_t FreeResources(int kind);
  // Disk usage of a root: total bytes, free to the caller, total free; nullopt on failure.
  std::optional<DiskSpace> DiskFreeSpace(const std::string& root);

  Kernel& kernel() { return kernel_; }

 private:
  Kernel& kernel_;
  ProcessorLibrary& processor_;
  ResourceMeter& resources_;
};

// The text up to, not including, its first NUL; the whole text when it holds none.
std::string TrimAtNull(const std::string& text);

// The Windows version naming of the System page: platform and build to name, "" when unknown.
std::string WindowsVersionName(const OSVERSIONINFO& info);
// "Version " major "." minor " Build " build (the low 16 bits of dwBuildNumber).
std::string WindowsVersionLine(const OSVERSIONINFO& info);

}  // namespace sysvane
