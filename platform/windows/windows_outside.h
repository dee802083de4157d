// The outside libraries on Windows: the processor's name and speed as the system records them in
// the registry at start-up, and a resource meter that exists only on the Windows 95 family.
#pragma once

#include <string>

#include "platform/outside.h"

namespace sysvane::windows {

class WindowsProcessorLibrary : public ProcessorLibrary {
 public:
  // ProcessorNameString of the first processor, without the padding some makers give it.
  void GetProcessor(std::string& name, std::string& vendor, std::string& family) override;
  // ~MHz of the first processor followed by "M"; the buffer is left alone when it is unknown.
  void GetProcessorRawSpeed(std::string& speed) override;
};

// Never asked on the NT family (the free-resources statistics belong to the Windows 95 family).
class WindowsResourceMeter : public ResourceMeter {
 public:
  int MyGetFreeSystemResources32(int) override { return 0; }
};

// The first processor's key.
constexpr const char* kCentralProcessorKey = "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0";

}  // namespace sysvane::windows
