#include "stats/cpu_usage.h"

#include <algorithm>
#include <cmath>

#include "stats/format.h"
#include "stats/system_info.h"

namespace sysvane {

namespace {

constexpr const char* kStartStat = "PerfStats\\StartStat";
constexpr const char* kStatData = "PerfStats\\StatData";
constexpr const char* kStopStat = "PerfStats\\StopStat";
constexpr const char* kCPUUsageValue = "KERNEL\\CPUUsage";
constexpr uint32_t kDataLength = 4;

}  // namespace

clsCPUUsage::~clsCPUUsage() {
  // An owner that lets go without Terminate still gives the handle back.
  if (keyHandle_) registry_.RegCloseKey(*keyHandle_);
}

void clsCPUUsage::ReadValue(HKEY key) {
  const auto value = registry_.RegQueryValueEx(key, kCPUUsageValue, kDataLength);
  if (!value) return;  // a failed read keeps the last figure
  // The value lands in the data field little-endian, byte by byte, as far as it reaches.
  for (size_t i = 0; i < value->data.size() && i < kDataLength; ++i) {
    const uint32_t shift = 8 * static_cast<uint32_t>(i);
    data_ =
        (data_ & ~(0xFFu << shift)) | (static_cast<uint32_t>(static_cast<uint8_t>(value->data[i])) << shift);
  }
}

void clsCPUUsage::Initialize() {
  const auto start = registry_.RegOpenKeyEx(HKEY_DYN_DATA, kStartStat, KEY_ALL_ACCESS);
  if (!start) return;  // no statistics here: every Query answers the unchanged 0
  ReadValue(*start);   // reading the start key is what starts the kernel's collection
  registry_.RegCloseKey(*start);
  keyHandle_ = registry_.RegOpenKeyEx(HKEY_DYN_DATA, kStatData, KEY_READ);
}

int32_t clsCPUUsage::Query() {
  if (keyHandle_) ReadValue(*keyHandle_);
  return static_cast<int32_t>(data_);
}

void clsCPUUsage::Terminate() {
  if (keyHandle_) registry_.RegCloseKey(*keyHandle_);
  keyHandle_.reset();
  const auto stop = registry_.RegOpenKeyEx(HKEY_DYN_DATA, kStopStat, KEY_ALL_ACCESS);
  if (!stop) return;
  ReadValue(*stop);  // reading the stop key ends the collection
  registry_.RegCloseKey(*stop);
}

void clsCPUUsageNT::Initialize() {
  const auto systemTime = kernel_.QuerySystemTime();
  if (!systemTime) return;
  const auto idleTime = kernel_.QueryIdleTime();
  if (!idleTime) return;
  lastIdleTime_ = *idleTime;
  lastSystemTime_ = *systemTime;
}

int32_t clsCPUUsageNT::Query() {
  const auto processors = kernel_.QueryProcessorCount();
  if (!processors) return -1;
  const auto systemTime = kernel_.QuerySystemTime();
  if (!systemTime) return -1;
  const auto idleTime = kernel_.QueryIdleTime();
  if (!idleTime || *processors == 0) return -1;

  const auto idleDelta = static_cast<int64_t>(*idleTime - lastIdleTime_);
  const auto timeDelta = static_cast<int64_t>(*systemTime - lastSystemTime_);
  if (timeDelta < 0) {
    // The clock was set back: start measuring again from now rather than waiting for it.
    lastIdleTime_ = *idleTime;
    lastSystemTime_ = *systemTime;
    return lastResult_;
  }
  // Shorter than one step of the idle counter: any figure would be noise (100 right after
  // Initialize), so keep the sample and measure the whole interval later. The summed idle time
  // moves in single ticks however many processors add to it.
  if (timeDelta == 0 || static_cast<uint64_t>(timeDelta) < kernel_.IdleTimeResolution()) return lastResult_;

  const double ratio = RoundHalfEven(static_cast<double>(idleDelta) / static_cast<double>(timeDelta), 4);
  const double usage = std::floor(RoundHalfEven(100.0 - ratio * 100.0 / *processors, 4));
  lastIdleTime_ = *idleTime;
  lastSystemTime_ = *systemTime;
  lastResult_ = static_cast<int32_t>(std::clamp(usage, 0.0, 100.0));
  return lastResult_;
}

std::unique_ptr<CPUSampler> CreateCPUSampler(SystemInfoModule& info, Registry& registry) {
  std::unique_ptr<CPUSampler> sampler;
  if (info.IsWindowsNT()) {
    sampler = std::make_unique<clsCPUUsageNT>(info.kernel());
  } else {
    sampler = std::make_unique<clsCPUUsage>(registry);
  }
  sampler->Initialize();
  return sampler;
}

}  // namespace sysvane
