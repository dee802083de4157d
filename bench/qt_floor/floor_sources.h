// The statistics the floor program shows, sampled straight from the kernel queries with no
// window logic in between: CPU, physical and virtual memory, the battery when there is one,
// drive C and the other fixed drives, in the Monitor window's order, at most eight rows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/kernel.h"

namespace sysvane::floor {

enum class RowKind { Cpu, PhysicalMemory, VirtualMemory, Battery, Drive };

struct Row {
  RowKind kind = RowKind::Cpu;
  std::string caption;  // "CPU usage:", "d: drive disk usage:"
  std::string root;     // the drive root of a drive row ("d:\"), empty otherwise
};

struct FixedDrive {
  std::string root;        // "c:\"
  std::string mountPoint;  // "/"
};

// Drive C first when it is fixed, then every other fixed drive in the kernel's order.
std::vector<FixedDrive> ListFixedDrives(Kernel& kernel);

class Sources {
 public:
  static constexpr size_t kMaxRows = 8;

  explicit Sources(Kernel& kernel);

  const std::vector<Row>& Rows() const { return rows_; }

  // Writes one percentage per row into `values` (sized to the rows); a statistic the kernel
  // could not answer this time keeps the value it had.
  void Sample(std::vector<int>& values);

 private:
  int SampleCpu(int last);

  Kernel& kernel_;
  std::vector<Row> rows_;
  uint64_t lastIdle_ = 0;
  uint64_t lastTime_ = 0;
};

}  // namespace sysvane::floor
