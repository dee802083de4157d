// Outside libraries: what the program relies on from code that is not its own.
#pragma once

#include <string>

namespace sysvane {

// Processor identification. GetProcessor writes the processor's name into the first buffer
// (optionally followed by a space and a double-quoted part); GetProcessorRawSpeed writes a
// number followed by "M" (megahertz) or "G" (gigahertz) into its buffer. Buffers come in
// filled with NULs; the library overwrites them from the start.
class ProcessorLibrary {
 public:
  virtual ~ProcessorLibrary() = default;
  virtual void GetProcessor(std::string& name, std::string& vendor, std::string& family) = 0;
  virtual void GetProcessorRawSpeed(std::string& speed) = 0;
};

// The Windows 9x resource meter: percentage of System (0), GDI (1) or User (2) resources free.
class ResourceMeter {
 public:
  virtual ~ResourceMeter() = default;
  virtual int MyGetFreeSystemResources32(int kind) = 0;
};

}  // namespace sysvane
