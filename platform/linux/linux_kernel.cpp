#include "platform/linux/linux_kernel.h"

#include <poll.h>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>

#include "platform/linux/proc_parsers.h"
#include "platform/linux/process_count.h"
#include "platform/linux/system_release.h"

namespace sysvane {

namespace {

constexpr uint64_t kUnitsPerSecond = 10'000'000;  // 100 ns units
constexpr uint64_t kUnitsPerMs = 10'000;

uint64_t MonotonicUnits() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<uint64_t>(now.tv_sec) * kUnitsPerSecond + static_cast<uint64_t>(now.tv_nsec) / 100;
}

// "D:\", "d:" and "d:/" all name drive d:\.
std::string NormalizeRoot(std::string root) {
  if (!root.empty()) root[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(root[0])));
  if (root.size() == 2 && root[1] == ':') root += '\\';
  if (root.size() == 3 && root[2] == '/') root[2] = '\\';
  return root;
}

// The mount table changed since the last look: the kernel flags /proc/self/mountinfo with POLLPRI.
bool MountTableChanged(int fd) {
  pollfd watch{fd, POLLPRI, 0};
  if (poll(&watch, 1, 0) < 0) return true;
  return (watch.revents & (POLLPRI | POLLERR)) != 0;
}

std::optional<KernelRelease> ReadKernelRelease(const std::string& path) {
  std::string text;
  if (!ReadWholeFile(path, text)) return std::nullopt;
  return ParseKernelRelease(text);
}

}  // namespace

uint64_t ArchitectureUserAddressSpace() {
#if defined(__x86_64__)
  return 0x7FFFFFFFF000ull;
#elif defined(__aarch64__)
  return 1ull << 48;
#else
  if constexpr (sizeof(void*) == 4) return 3ull << 30;
  return 1ull << 47;
#endif
}

LinuxKernel::LinuxKernel(std::string root)
    : root_(std::move(root)),
      live_(root_.empty() || root_ == "/"),
      ticksPerSecond_(static_cast<uint64_t>(std::max(1L, sysconf(_SC_CLK_TCK)))),
      clock_(MonotonicUnits),
      stat_(Path("/proc/stat")),
      meminfo_(Path("/proc/meminfo")),
      statm_(Path("/proc/self/statm")),
      online_(Path("/sys/devices/system/cpu/online")),
      mounts_(Path("/proc/self/mountinfo")),
      power_(Path("/sys/class/power_supply")),
      devices_(root_) {}

bool LinuxKernel::GlobalMemoryStatus(MEMORYSTATUS& status) {
  if (!meminfo_.Read(text_)) return false;
  const auto physical = ParseMeminfo(text_);
  if (!physical) return false;
  status.dwTotalPhys = physical->total;
  status.dwAvailPhys = physical->available;
  status.dwMemoryLoad =
      physical->total == 0
          ? 0
          : static_cast<uint32_t>((physical->total - physical->available) * 100 / physical->total);

  // Virtual memory is this process's own address space: its size and the part not yet mapped.
  uint64_t total = ArchitectureUserAddressSpace();
  rlimit limit{};
  if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) {
    total = std::min<uint64_t>(total, limit.rlim_cur);
  }
  if (statm_.Read(text_)) {
    if (const auto pages = ParseStatmSize(text_)) {
      const uint64_t mapped = *pages * static_cast<uint64_t>(sysconf(_SC_PAGESIZE));
      status.dwTotalVirtual = total;
      status.dwAvailVirtual = total > mapped ? total - mapped : 0;
    }
  }
  return true;
}

bool LinuxKernel::GetSystemPowerStatus(SYSTEM_POWER_STATUS& status) {
  status = power_.Read(clock_() / kUnitsPerMs);
  return true;
}

bool LinuxKernel::GetVersionEx(OSVERSIONINFO& info) {
  // Linux is of the NT kind whatever its release: it counts idle time the NT sampler needs.
  info.dwPlatformId = VER_PLATFORM_WIN32_NT;
  const auto release = ReadKernelRelease(Path("/proc/sys/kernel/osrelease"));
  info.dwMajorVersion = release ? release->major : 0;
  info.dwMinorVersion = release ? release->minor : 0;
  info.dwBuildNumber = release ? release->patch : 0;
  return true;
}

void LinuxKernel::RefreshDrives(bool force) {
  if (drivesRead_ && !force && live_ && mounts_.fd() >= 0 && !MountTableChanged(mounts_.fd())) return;
  if (!mounts_.Read(text_)) {
    if (!drivesRead_) drives_ = AssignDriveLetters({}, devices_);
    drivesRead_ = true;
    return;
  }
  if (drivesRead_ && text_ == mountsText_) return;
  mountsText_ = text_;
  drives_ = AssignDriveLetters(ParseMountInfo(mountsText_), devices_);
  drivesRead_ = true;
}

const DriveEntry* LinuxKernel::FindDrive(const std::string& root) {
  const std::string key = NormalizeRoot(root);
  auto find = [&]() -> const DriveEntry* {
    const auto found = std::find_if(drives_.begin(), drives_.end(),
                                    [&](const DriveEntry& drive) { return drive.root == key; });
    return found == drives_.end() ? nullptr : &*found;
  };
  const bool readNow = !drivesRead_;
  if (readNow) RefreshDrives(true);
  if (const DriveEntry* drive = find()) return drive;
  if (readNow) return nullptr;  // the table was just read: one read per call is enough
  RefreshDrives(true);
  return find();
}

std::string LinuxKernel::GetLogicalDriveStrings() {
  RefreshDrives(false);
  return DriveStrings(drives_);
}

uint32_t LinuxKernel::GetDriveType(const std::string& root) {
  const DriveEntry* drive = FindDrive(root);
  return drive ? drive->type : DRIVE_NO_ROOT_DIR;
}

std::string LinuxKernel::DriveMountPoint(const std::string& root) {
  const DriveEntry* drive = FindDrive(root);
  return drive ? drive->mountPoint : std::string();
}

std::optional<DiskSpace> LinuxKernel::GetDiskFreeSpaceEx(const std::string& root) {
  const DriveEntry* drive = FindDrive(root);
  if (drive == nullptr) return std::nullopt;
  return disks_.Query(Path(drive->mountPoint), QueryMayBlock(drive->fsType));
}

std::optional<uint32_t> LinuxKernel::QueryProcessorCount() {
  if (online_.Read(text_)) {
    if (const auto count = ParseOnlineCpus(text_); count && *count > 0) return count;
  }
  if (!live_) return std::nullopt;
  const long count = sysconf(_SC_NPROCESSORS_ONLN);
  if (count < 1) return std::nullopt;
  return static_cast<uint32_t>(count);
}

std::optional<uint64_t> LinuxKernel::QueryIdleTime() {
  if (!stat_.Read(text_)) return std::nullopt;
  const auto ticks = ParseProcStatIdle(text_);
  if (!ticks) return std::nullopt;
  // Split so that the product cannot overflow on machines with many processors and long uptimes.
  return *ticks / ticksPerSecond_ * kUnitsPerSecond +
         *ticks % ticksPerSecond_ * kUnitsPerSecond / ticksPerSecond_;
}

std::optional<uint64_t> LinuxKernel::QuerySystemTime() {
  return clock_();
}

uint64_t LinuxKernel::IdleTimeResolution() {
  return kUnitsPerSecond / ticksPerSecond_;
}

std::optional<Kernel::ProcessCounts> LinuxKernel::CountProcesses() {
  return CountProcessesIn(Path("/proc"));
}

uint32_t LinuxKernel::GetNumberOfProcessors() {
  return QueryProcessorCount().value_or(1);
}

std::optional<SystemName> LinuxKernel::GetSystemName() {
  SystemName name;
  name.family = "Linux";
  std::string text;
  for (const char* file : {"/etc/os-release", "/usr/lib/os-release"}) {
    if (!ReadWholeFile(Path(file), text)) continue;
    if (auto pretty = ParsePrettyName(text)) {
      name.prettyName = std::move(*pretty);
      break;
    }
  }
  if (name.prettyName.empty()) name.prettyName = "Linux";
  if (const auto release = ReadKernelRelease(Path("/proc/sys/kernel/osrelease"))) {
    name.kernelMajor = release->major;
    name.kernelMinor = release->minor;
    name.kernelPatch = release->patch;
  }
  return name;
}

}  // namespace sysvane
