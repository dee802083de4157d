// The floor must show what the Monitor window shows, or the comparison measures different work.
#include <gtest/gtest.h>

#include "bench/qt_floor/floor_sources.h"
#include "platform/fake/fake_platform.h"

namespace sysvane::floor {
namespace {

constexpr uint64_t kGiB = uint64_t(1) << 30;

TEST(FloorSources, RowsFollowTheMonitorOrderWithDriveCFirstAndStopAtEight) {
  fake::FakeKernel kernel;
  kernel.SetFixedDrives({{"d:\\", {kGiB, 0}},
                         {"c:\\", {kGiB, 0}},
                         {"e:\\", {kGiB, 0}},
                         {"f:\\", {kGiB, 0}},
                         {"g:\\", {kGiB, 0}}});
  kernel.driveRoots.push_back("z:\\");
  kernel.driveTypes["z:\\"] = DRIVE_REMOTE;  // a network share is no row
  const std::vector<std::string> withoutBattery{
      "CPU usage:",           "Physical memory usage:", "Virtual memory usage:", "C: drive disk usage:",
      "D: drive disk usage:", "E: drive disk usage:",   "F: drive disk usage:",  "G: drive disk usage:"};
  std::vector<std::string> withBattery = withoutBattery;
  withBattery.insert(withBattery.begin() + 3, "Battery status:");
  withBattery.pop_back();
  for (const bool battery : {false, true}) {
    SCOPED_TRACE(battery ? "battery" : "mains only");
    if (battery) kernel.power = SYSTEM_POWER_STATUS{0, 1, 80, 0, 3600, 7200};
    const Sources sources(kernel);
    std::vector<std::string> captions;
    for (const Row& row : sources.Rows()) captions.push_back(row.caption);
    EXPECT_EQ(captions, battery ? withBattery : withoutBattery);
  }
}

TEST(FloorSources, SampleComputesEachPercentageAndKeepsWhatTheKernelCouldNotAnswer) {
  fake::FakeKernel kernel;
  kernel.SetFixedDrives({{"c:\\", {4 * kGiB, kGiB}}});  // free to caller 1 of 4: 75 % used
  kernel.memory = MEMORYSTATUS{};
  kernel.memory->dwTotalPhys = kernel.memory->dwTotalVirtual = 1000;
  kernel.memory->dwAvailPhys = 125;     // 87.5 -> 88 (halves to even)
  kernel.memory->dwAvailVirtual = 975;  // 2.5 -> 2
  kernel.processorCount = 2;
  kernel.idleTime = 1'000'000;
  kernel.systemTime = 5'000'000;
  Sources sources(kernel);
  // 0.9 s on two processors, 0.45 s of them idle: 75 % busy.
  kernel.systemTime = 14'000'000;
  kernel.idleTime = 5'500'000;
  std::vector<int> values;
  sources.Sample(values);
  EXPECT_EQ(values, (std::vector<int>{75, 88, 2, 75}));

  kernel.memory.reset();
  kernel.disks.clear();
  kernel.idleTime.reset();
  sources.Sample(values);
  EXPECT_EQ(values, (std::vector<int>{75, 88, 2, 75}));
}

}  // namespace
}  // namespace sysvane::floor
