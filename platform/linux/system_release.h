// The running system's name and kernel version, from os-release and the kernel's release text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sysvane {

struct KernelRelease {
  uint32_t major = 0;
  uint32_t minor = 0;
  uint32_t patch = 0;
};
// "6.6.51+rpt-rpi-v8" -> 6, 6, 51; "6.8.0-45-generic" -> 6, 8, 0; nullopt without a major number.
std::optional<KernelRelease> ParseKernelRelease(std::string_view release);

// PRETTY_NAME of an os-release file, its quotes and backslash escapes undone.
std::optional<std::string> ParsePrettyName(std::string_view osRelease);

}  // namespace sysvane
