#include "platform/windows/windows_kernel.h"

// clang-format off
#include "platform/windows/win32.h"
#include <tlhelp32.h>
// clang-format on

#include <cctype>
#include <vector>

#include "platform/windows/wide_text.h"

namespace sysvane::windows {

namespace {

uint64_t FileTimeValue(const FILETIME& time) {
  return (uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
}

// RtlGetVersion tells the truth to every program; GetVersionEx answers a program without a manifest
// naming the newest systems with the version of Windows 8.
using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);

// One processor's times as the kernel keeps them (SYSTEM_PROCESSOR_PERFORMANCE_INFORMATION).
struct ProcessorTimes {
  LARGE_INTEGER idle, kernel, user, reserved1[2];
  ULONG reserved2;
};
constexpr int kProcessorPerformanceClass = 8;
using QueryGroupFunction = LONG(WINAPI*)(int, void*, ULONG, void*, ULONG, ULONG*);

// Every group's processors, one group at a time: GetSystemTimes covers one group of at most 64
// processors, so an idle 128-thread machine would read half busy.
std::optional<std::vector<std::vector<uint64_t>>> IdleOfEveryGroup() {
  static const auto query = reinterpret_cast<QueryGroupFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformationEx")));
  if (!query) return std::nullopt;
  std::vector<std::vector<uint64_t>> groups;
  for (USHORT group = 0; group < GetActiveProcessorGroupCount(); ++group) {
    std::vector<ProcessorTimes> times(GetActiveProcessorCount(group));
    ULONG length = 0;
    if (times.empty() || query(kProcessorPerformanceClass, &group, sizeof group, times.data(),
                               ULONG(times.size() * sizeof(ProcessorTimes)), &length) < 0)
      return std::nullopt;
    auto& idle = groups.emplace_back();
    for (size_t i = 0; i < length / sizeof(ProcessorTimes); ++i)
      idle.push_back(uint64_t(times[i].idle.QuadPart));
  }
  return groups;
}

}  // namespace

IdleTotal SumOverGroups(const std::vector<std::vector<uint64_t>>& groups) {
  IdleTotal total;
  for (const auto& group : groups) {
    for (const uint64_t idle : group) total.time += idle;
    total.processors += uint32_t(group.size());
  }
  return total;
}

std::optional<IdleTotal> SystemIdle() {
  // One group (every machine up to 64 logical processors): GetSystemTimes over all of them.
  if (GetActiveProcessorGroupCount() > 1) {
    const auto groups = IdleOfEveryGroup();
    if (!groups) return std::nullopt;
    return SumOverGroups(*groups);
  }
  FILETIME idle{}, kernel{}, user{};
  if (!GetSystemTimes(&idle, &kernel, &user)) return std::nullopt;
  return IdleTotal{FileTimeValue(idle), GetActiveProcessorCount(ALL_PROCESSOR_GROUPS)};
}

QuietDriveErrors::QuietDriveErrors() {
  DWORD previous = 0;
  SetThreadErrorMode(GetThreadErrorMode() | SEM_FAILCRITICALERRORS, &previous);
  previous_ = previous;
}

QuietDriveErrors::~QuietDriveErrors() {
  SetThreadErrorMode(previous_, nullptr);
}

uint64_t HundredNanoseconds(uint64_t ticks, uint64_t ticksPerSecond) {
  return ticks / ticksPerSecond * 10'000'000 + ticks % ticksPerSecond * 10'000'000 / ticksPerSecond;
}

std::string SystemDriveFirst(const std::string& roots) {
  std::string first;
  std::string others;
  for (size_t start = 0; start < roots.size() && roots[start] != '\0';) {
    const size_t end = roots.find('\0', start);
    std::string root = roots.substr(start, end - start);
    for (char& c : root) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    (root == "c:\\" ? first : others) += root + '\0';
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return first + others + '\0';
}

bool WindowsKernel::GlobalMemoryStatus(MEMORYSTATUS& status) {
  MEMORYSTATUSEX memory{};
  memory.dwLength = sizeof memory;
  if (!GlobalMemoryStatusEx(&memory)) return false;
  status.dwMemoryLoad = memory.dwMemoryLoad;
  status.dwTotalPhys = memory.ullTotalPhys;
  status.dwAvailPhys = memory.ullAvailPhys;
  status.dwTotalPageFile = memory.ullTotalPageFile;
  status.dwAvailPageFile = memory.ullAvailPageFile;
  status.dwTotalVirtual = memory.ullTotalVirtual;
  status.dwAvailVirtual = memory.ullAvailVirtual;
  return true;
}

bool WindowsKernel::GetSystemPowerStatus(SYSTEM_POWER_STATUS& status) {
  ::SYSTEM_POWER_STATUS power{};
  if (!::GetSystemPowerStatus(&power)) return false;
  status.ACLineStatus = power.ACLineStatus;
  status.BatteryFlag = power.BatteryFlag;
  status.BatteryLifePercent = power.BatteryLifePercent;
  status.BatteryLifeTime = power.BatteryLifeTime;
  status.BatteryFullLifeTime = power.BatteryFullLifeTime;
  return true;
}

bool WindowsKernel::GetVersionEx(OSVERSIONINFO& info) {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  const auto rtlGetVersion = ntdll ? reinterpret_cast<RtlGetVersionFunction>(
                                         reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")))
                                   : nullptr;
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (!rtlGetVersion || rtlGetVersion(&version) != 0) return false;
  info.dwMajorVersion = version.dwMajorVersion;
  info.dwMinorVersion = version.dwMinorVersion;
  info.dwBuildNumber = version.dwBuildNumber;
  info.dwPlatformId = version.dwPlatformId;
  info.szCSDVersion = Narrow(version.szCSDVersion);
  return true;
}

std::string WindowsKernel::GetLogicalDriveStrings() {
  wchar_t roots[4 * 26 + 1] = {};  // "X:\<NUL>" for every letter, and the closing NUL
  const DWORD length = GetLogicalDriveStringsW(sizeof roots / sizeof roots[0], roots);
  if (length == 0 || length >= sizeof roots / sizeof roots[0]) return std::string(1, '\0');
  return SystemDriveFirst(Narrow(std::wstring(roots, length)));
}

uint32_t WindowsKernel::GetDriveType(const std::string& root) {
  return GetDriveTypeW(Wide(root).c_str());
}

std::optional<DiskSpace> WindowsKernel::GetDiskFreeSpaceEx(const std::string& root) {
  ULARGE_INTEGER available{}, total{}, free{};
  const QuietDriveErrors quiet;
  if (!GetDiskFreeSpaceExW(Wide(root).c_str(), &available, &total, &free)) return std::nullopt;
  return DiskSpace{available.QuadPart, total.QuadPart, free.QuadPart};
}

std::string WindowsKernel::DriveMountPoint(const std::string&) {
  return "";  // a drive letter is its own place: nothing more to tell
}

std::optional<uint32_t> WindowsKernel::QueryProcessorCount() {
  const auto idle = SystemIdle();
  if (!idle || idle->processors == 0) return std::nullopt;
  return idle->processors;
}

std::optional<uint64_t> WindowsKernel::QueryIdleTime() {
  const auto idle = SystemIdle();
  if (!idle) return std::nullopt;
  return idle->time;
}

std::optional<uint64_t> WindowsKernel::QuerySystemTime() {
  // The performance counter: monotonic, unlike the wall clock the user may set.
  LARGE_INTEGER count{}, frequency{};
  if (!QueryPerformanceCounter(&count) || !QueryPerformanceFrequency(&frequency) || frequency.QuadPart <= 0)
    return std::nullopt;
  return HundredNanoseconds(uint64_t(count.QuadPart), uint64_t(frequency.QuadPart));
}

uint64_t WindowsKernel::IdleTimeResolution() {
  // The idle counters move by one clock tick at a time.
  DWORD adjustment = 0, increment = 0;
  BOOL disabled = FALSE;
  if (!GetSystemTimeAdjustment(&adjustment, &increment, &disabled)) return 156'250;
  return increment;
}

std::optional<Kernel::ProcessCounts> WindowsKernel::CountProcesses() {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return std::nullopt;
  ProcessCounts counts;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
    ++counts.processes;
    counts.threads += entry.cntThreads;
  }
  CloseHandle(snapshot);
  if (counts.processes == 0) return std::nullopt;
  return counts;
}

uint32_t WindowsKernel::GetNumberOfProcessors() {
  SYSTEM_INFO system{};
  GetNativeSystemInfo(&system);
  return system.dwNumberOfProcessors;
}

}  // namespace sysvane::windows
