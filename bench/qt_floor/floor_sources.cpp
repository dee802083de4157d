#include "bench/qt_floor/floor_sources.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "stats/format.h"

namespace sysvane::floor {

std::vector<FixedDrive> ListFixedDrives(Kernel& kernel) {
  std::vector<FixedDrive> drives;
  const std::string strings = kernel.GetLogicalDriveStrings();
  for (size_t start = 0; start < strings.size();) {
    const size_t end = strings.find('\0', start);
    if (end == start || end == std::string::npos) break;
    std::string root = strings.substr(start, end - start);
    for (char& c : root) c = char(std::tolower(static_cast<unsigned char>(c)));
    if (kernel.GetDriveType(root) == DRIVE_FIXED) {
      FixedDrive drive{root, kernel.DriveMountPoint(root)};
      // Drive C is always the first drive row, wherever the kernel lists it.
      if (root == "c:\\") {
        drives.insert(drives.begin(), std::move(drive));
      } else {
        drives.push_back(std::move(drive));
      }
    }
    start = end + 1;
  }
  return drives;
}

Sources::Sources(Kernel& kernel) : kernel_(kernel) {
  rows_.push_back({RowKind::Cpu, "CPU usage:", ""});
  rows_.push_back({RowKind::PhysicalMemory, "Physical memory usage:", ""});
  rows_.push_back({RowKind::VirtualMemory, "Virtual memory usage:", ""});
  SYSTEM_POWER_STATUS power;
  if (kernel_.GetSystemPowerStatus(power) && ClassifyBattery(power).present) {
    rows_.push_back({RowKind::Battery, "Battery status:", ""});
  }
  for (const FixedDrive& drive : ListFixedDrives(kernel_)) {
    if (rows_.size() == kMaxRows) break;
    rows_.push_back({RowKind::Drive, DriveLetter(drive.root) + ": drive disk usage:", drive.root});
  }
  // The first CPU figure is measured from here.
  lastIdle_ = kernel_.QueryIdleTime().value_or(0);
  lastTime_ = kernel_.QuerySystemTime().value_or(0);
}

int Sources::SampleCpu(int last) {
  const auto processors = kernel_.QueryProcessorCount();
  const auto time = kernel_.QuerySystemTime();
  const auto idle = kernel_.QueryIdleTime();
  if (!processors || *processors == 0 || !time || !idle || *time <= lastTime_) return last;
  const double idleShare = double(*idle - lastIdle_) / double(*time - lastTime_) / *processors;
  lastIdle_ = *idle;
  lastTime_ = *time;
  return int(std::clamp(std::floor(100.0 - idleShare * 100.0), 0.0, 100.0));
}

void Sources::Sample(std::vector<int>& values) {
  values.resize(rows_.size(), 0);
  // Memory is read once for both memory rows, power once for the battery row.
  MEMORYSTATUS memory;
  const bool haveMemory = kernel_.GlobalMemoryStatus(memory);
  for (size_t i = 0; i < rows_.size(); ++i) {
    const Row& row = rows_[i];
    std::optional<int16_t> percent;
    switch (row.kind) {
      case RowKind::Cpu:
        percent = int16_t(SampleCpu(values[i]));
        break;
      case RowKind::PhysicalMemory:
        if (haveMemory) percent = UsedPercent(memory.dwTotalPhys, memory.dwAvailPhys);
        break;
      case RowKind::VirtualMemory:
        if (haveMemory) percent = UsedPercent(memory.dwTotalVirtual, memory.dwAvailVirtual);
        break;
      case RowKind::Battery: {
        SYSTEM_POWER_STATUS power;
        if (kernel_.GetSystemPowerStatus(power)) percent = int16_t(power.BatteryLifePercent);
        break;
      }
      case RowKind::Drive:
        if (const auto space = kernel_.GetDiskFreeSpaceEx(row.root)) {
          percent = UsedPercent(space->TotalNumberOfBytes, space->FreeBytesAvailableToCaller);
        }
        break;
    }
    if (percent) values[i] = *percent;
  }
}

}  // namespace sysvane::floor
