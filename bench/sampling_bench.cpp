// What one refresh of every statistic costs on the live machine, as a whole and part by part.
// A window refreshes every 900 ms; the goal is a whole refresh under 50 µs.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "platform/linux/linux_kernel.h"

namespace sysvane {
namespace {

// The roots the windows show: c:\ and every fixed drive.
std::vector<std::string> ShownDrives(LinuxKernel& kernel) {
  std::vector<std::string> roots;
  const std::string strings = kernel.GetLogicalDriveStrings();
  for (size_t start = 0; start < strings.size() && strings[start] != '\0';) {
    const size_t end = strings.find('\0', start);
    std::string root = strings.substr(start, end - start);
    if (kernel.GetDriveType(root) == DRIVE_FIXED) roots.push_back(std::move(root));
    start = end + 1;
  }
  return roots;
}

void FullSample(benchmark::State& state) {
  LinuxKernel kernel;
  MEMORYSTATUS memory;
  SYSTEM_POWER_STATUS power;
  for (auto _ : state) {
    kernel.GlobalMemoryStatus(memory);
    kernel.GetSystemPowerStatus(power);
    benchmark::DoNotOptimize(kernel.QueryProcessorCount());
    benchmark::DoNotOptimize(kernel.QuerySystemTime());
    benchmark::DoNotOptimize(kernel.QueryIdleTime());
    for (const std::string& root : ShownDrives(kernel))
      benchmark::DoNotOptimize(kernel.GetDiskFreeSpaceEx(root));
    benchmark::DoNotOptimize(memory);
    benchmark::DoNotOptimize(power);
  }
  state.counters["drives"] = static_cast<double>(ShownDrives(kernel).size());
}
BENCHMARK(FullSample);

void MemoryStatus(benchmark::State& state) {
  LinuxKernel kernel;
  MEMORYSTATUS memory;
  for (auto _ : state) {
    kernel.GlobalMemoryStatus(memory);
    benchmark::DoNotOptimize(memory);
  }
}
BENCHMARK(MemoryStatus);

void PowerStatus(benchmark::State& state) {
  LinuxKernel kernel;
  SYSTEM_POWER_STATUS power;
  for (auto _ : state) {
    kernel.GetSystemPowerStatus(power);
    benchmark::DoNotOptimize(power);
  }
}
BENCHMARK(PowerStatus);

// The live machine may have no battery: the captured laptop (mains, two batteries and a mouse)
// shows what reading and combining the supplies costs (its files live on a disk, not in sysfs).
void PowerStatusOfTheLaptopFixture(benchmark::State& state) {
  LinuxKernel kernel(std::string(SYSVANE_FIXTURES) + "/laptop-two-batteries");
  SYSTEM_POWER_STATUS power;
  for (auto _ : state) {
    kernel.GetSystemPowerStatus(power);
    benchmark::DoNotOptimize(power);
  }
}
BENCHMARK(PowerStatusOfTheLaptopFixture);

void CpuQuery(benchmark::State& state) {
  LinuxKernel kernel;
  for (auto _ : state) {
    benchmark::DoNotOptimize(kernel.QueryProcessorCount());
    benchmark::DoNotOptimize(kernel.QuerySystemTime());
    benchmark::DoNotOptimize(kernel.QueryIdleTime());
  }
}
BENCHMARK(CpuQuery);

void DriveListing(benchmark::State& state) {
  LinuxKernel kernel;
  for (auto _ : state) benchmark::DoNotOptimize(ShownDrives(kernel));
}
BENCHMARK(DriveListing);

// The first listing of a fresh kernel object: the mount table read and every drive lettered.
void DriveListingFromScratch(benchmark::State& state) {
  for (auto _ : state) {
    LinuxKernel kernel;
    benchmark::DoNotOptimize(ShownDrives(kernel));
  }
}
BENCHMARK(DriveListingFromScratch);

void DiskQueryOfDriveC(benchmark::State& state) {
  LinuxKernel kernel;
  for (auto _ : state) benchmark::DoNotOptimize(kernel.GetDiskFreeSpaceEx("c:\\"));
}
BENCHMARK(DiskQueryOfDriveC);

// Not part of a refresh: the Monitor window's detail view counts processes now and then.
void ProcessCount(benchmark::State& state) {
  LinuxKernel kernel;
  for (auto _ : state) benchmark::DoNotOptimize(kernel.CountProcesses());
}
BENCHMARK(ProcessCount);

}  // namespace
}  // namespace sysvane
