// The outside libraries on Linux: processor identification from /proc/cpuinfo, the device tree
// and cpufreq, and a resource meter that exists only on the Windows 95 family.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "platform/outside.h"

namespace sysvane {

class LinuxProcessorLibrary : public ProcessorLibrary {
 public:
  explicit LinuxProcessorLibrary(std::string root = "/") : root_(std::move(root)) {}
  // The processor's name into the first buffer; the other two are left as they came.
  void GetProcessor(std::string& name, std::string& vendor, std::string& family) override;
  // The speed in megahertz followed by "M"; the buffer is left alone when the speed is unknown.
  void GetProcessorRawSpeed(std::string& speed) override;

 private:
  std::string root_;
};

// Never asked on Linux (the free-resources statistics belong to the Windows 95 family).
class LinuxResourceMeter : public ResourceMeter {
 public:
  int MyGetFreeSystemResources32(int) override { return 0; }
};

// A frequency of cpufreq (kHz) as megahertz text: 4200000 -> "4200", 2601500 -> "2601.5".
std::string KilohertzAsMegahertz(uint64_t kilohertz);

// Writes `text` over the start of a NUL-filled buffer without growing it; a NUL stays after it.
void WriteIntoBuffer(std::string& buffer, const std::string& text);

}  // namespace sysvane
