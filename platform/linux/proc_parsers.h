// Pure parsers of the texts the kernel publishes in /proc and /sys. Each takes the file's text
// and answers nullopt (or an empty result) when the text does not hold what it looks for.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace sysvane {

// Idle plus iowait ticks of the aggregate "cpu" line of /proc/stat.
std::optional<uint64_t> ParseProcStatIdle(std::string_view stat);

// Physical memory in bytes from /proc/meminfo: MemTotal and MemAvailable, or MemFree + Buffers +
// Cached on a kernel that does not publish MemAvailable.
struct PhysicalMemory {
  uint64_t total = 0;
  uint64_t available = 0;
};
std::optional<PhysicalMemory> ParseMeminfo(std::string_view meminfo);

// One line of /proc/self/mountinfo with its octal escapes (\040 \011 \012 \134) undone.
struct MountEntry {
  std::string source;
  std::string mountPoint;
  std::string type;
  std::string root = "/";    // the folder of the file system seen at the mount point: "/" unless bound
  std::string device;        // "major:minor" of the file system, shared by all of its mounts
  std::string superOptions;  // "rw,subvol=/@home"
};
std::vector<MountEntry> ParseMountInfo(std::string_view mountinfo);
std::string UnescapeMountField(std::string_view field);

// The number of processors in a CPU list such as "0-3,5" (sys/devices/system/cpu/online).
std::optional<uint32_t> ParseOnlineCpus(std::string_view list);

// The processor's name: "model name" of /proc/cpuinfo ("Model Name" on LoongArch), else the
// board's "Model", else the device tree's model (its text up to the NUL), else "Hardware", else
// the ARM core named by "CPU implementer" and "CPU part"; empty when none of them is there.
std::string ParseProcessorName(std::string_view cpuinfo, std::string_view deviceTreeModel);
// "ARM Cortex-A72" for implementer 0x41, part 0xd08; a part not in the table by its number.
std::string ArmCoreName(uint64_t implementer, uint64_t part);
// The first "cpu MHz" value as written ("2112.0"); empty when there is none.
std::string ParseCpuinfoMHz(std::string_view cpuinfo);

// KEY=VALUE lines of a uevent file, as views into the text.
using UeventFields = std::vector<std::pair<std::string_view, std::string_view>>;
UeventFields ParseUevent(std::string_view uevent);
std::optional<std::string_view> FindUevent(const UeventFields& fields, std::string_view key);

// The number of threads of a process: field 20 of /proc/PID/stat.
std::optional<uint32_t> ParseProcessThreads(std::string_view stat);

// The first number of /proc/self/statm: the process's mapped size in pages.
std::optional<uint64_t> ParseStatmSize(std::string_view statm);

// A whole unsigned or signed decimal number, surrounding white space allowed.
std::optional<uint64_t> ParseUnsigned(std::string_view text);
std::optional<int64_t> ParseSigned(std::string_view text);

// Text without leading and trailing white space.
std::string_view Trim(std::string_view text);

}  // namespace sysvane
