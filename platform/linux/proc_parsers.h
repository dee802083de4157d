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

// One line of /proc/self/mounts with its octal escapes (\040 \011 \012 \134) undone.
struct MountEntry {
  std::string source;
  std::string mountPoint;
  std::string type;
};
std::vector<MountEntry> ParseMountTable(std::string_view mounts);
std::string UnescapeMountField(std::string_view field);

// The number of processors in a CPU list such as "0-3,5" (sys/devices/system/cpu/online).
std::optional<uint32_t> ParseOnlineCpus(std::string_view list);

// The processor's name from /proc/cpuinfo: "model name", else the board's "Model", else
// "Hardware"; empty when none of them is there.
std::string ParseCpuinfoName(std::string_view cpuinfo);
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
