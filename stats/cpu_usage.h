// CPU usage samplers: one interface, two sources.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "platform/kernel.h"
#include "platform/registry.h"

namespace sysvane {

class CPUSampler {
 public:
  virtual ~CPUSampler() = default;
  virtual void Initialize() = 0;
  // Whole percent; -1 from the NT sampler when a system query failed (callers show it as 0).
  virtual int32_t Query() = 0;
  virtual void Terminate() = 0;
};

// Windows 9x family: reads the kernel's own figure from the dynamic performance statistics.
class clsCPUUsage : public CPUSampler {
 public:
  explicit clsCPUUsage(Registry& registry) : registry_(registry) {}
  ~clsCPUUsage() override;
  clsCPUUsage(const clsCPUUsage&) = delete;
  clsCPUUsage& operator=(const clsCPUUsage&) = delete;
  void Initialize() override;
  int32_t Query() override;
  void Terminate() override;

 private:
  // Reads "KERNEL\CPUUsage" of an open key into the data field; a failed read changes nothing.
  void ReadValue(HKEY key);

  Registry& registry_;
  std::optional<HKEY> keyHandle_;
  uint32_t data_ = 0;
};

// NT family (and Linux): derives usage from the accumulated idle time and the system clock.
class clsCPUUsageNT : public CPUSampler {
 public:
  explicit clsCPUUsageNT(Kernel& kernel) : kernel_(kernel) {}
  void Initialize() override;
  int32_t Query() override;
  void Terminate() override {}

 private:
  Kernel& kernel_;
  uint64_t lastIdleTime_ = 0;
  uint64_t lastSystemTime_ = 0;
  int32_t lastResult_ = 0;
};

// The sampler that fits the running system (IsWindowsNT), already initialized.
class SystemInfoModule;
std::unique_ptr<CPUSampler> CreateCPUSampler(SystemInfoModule& info, Registry& registry);

}  // namespace sysvane
