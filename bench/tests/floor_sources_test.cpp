// The floor must show what the Monitor window shows, or the comparison measures different work.
#include <gtest/gtest.h>

#include "bench/qt_floor/floor_sources.h"
#include "platform/fake/fake_platform.h"

namespace sysvane::floor {
namespace {

using fake::FakeKernel;

constexpr uint64_t kGiB = uint64_t(1) << 30;

std::vector<std::string> Captions(const Sources& sources) {
  std::vector<std::string> captions;
  for (const Row& row : sources.Rows()) captions.push_back(row.caption);
  return captions;
}

TEST(FloorRows, FollowTheMonitorOrderWithDriveCFirstAndStopAtEight) {
  FakeKernel kernel;
  kernel.SetFixedDrives({{"d:\\", {kGiB, 0}},
                         {"c:\\", {kGiB, 0}},
                         {"e:\\", {kGiB, 0}},
                         {"f:\\", {kGiB, 0}},
                         {"g:\\", {kGiB, 0}},
                         {"h:\\", {kGiB, 0}}});
  kernel.driveRoots.push_back("z:\\");
  kernel.driveTypes["z:\\"] = DRIVE_REMOTE;  // a network share is no row
  kernel.power = SYSTEM_POWER_STATUS{0, 1, 80, 0, 3600, 7200};

  Sources sources(kernel);
  EXPECT_EQ(Captions(sources),
            (std::vector<std::string>{"CPU usage:", "Physical memory usage:", "Virtual memory usage:",
                                      "Battery status:", "C: drive disk usage:", "D: drive disk usage:",
                                      "E: drive disk usage:", "F: drive disk usage:"}));
  EXPECT_EQ(sources.Rows()[5].root, "d:\\");
}

TEST(FloorRows, HaveNoBatteryRowWithoutABattery) {
  FakeKernel kernel;  // mains power, battery flag 128
  kernel.SetFixedDrives({{"c:\\", {kGiB, 0}}});
  Sources sources(kernel);
  EXPECT_EQ(sources.Rows().size(), 4u);
  EXPECT_EQ(sources.Rows()[3].caption, "C: drive disk usage:");
}

TEST(FloorSample, ComputesEachPercentageFromTheKernelCounts) {
  FakeKernel kernel;
  kernel.SetFixedDrives({{"c:\\", {4 * kGiB, kGiB}}});  // free to caller 1 of 4: 75 % used
  kernel.memory = MEMORYSTATUS{};
  kernel.memory->dwTotalPhys = 1000;
  kernel.memory->dwAvailPhys = 125;  // 87.5 -> 88 (halves to even)
  kernel.memory->dwTotalVirtual = 1000;
  kernel.memory->dwAvailVirtual = 975;  // 2.5 -> 2
  kernel.processorCount = 2;
  kernel.idleTime = 1'000'000;
  kernel.systemTime = 5'000'000;
  Sources sources(kernel);

  // 0.9 s on two processors, 0.45 s of them idle: a quarter idle, 75 % busy.
  kernel.systemTime = 5'000'000 + 9'000'000;
  kernel.idleTime = 1'000'000 + 4'500'000;
  std::vector<int> values;
  sources.Sample(values);
  EXPECT_EQ(values, (std::vector<int>{75, 88, 2, 75}));
}

TEST(FloorSample, KeepsTheLastValueOfAStatisticTheKernelCouldNotAnswer) {
  FakeKernel kernel;
  kernel.SetFixedDrives({{"c:\\", {4 * kGiB, 2 * kGiB}}});
  kernel.memory->dwTotalPhys = 100;
  kernel.memory->dwAvailPhys = 40;
  kernel.memory->dwTotalVirtual = 100;
  kernel.memory->dwAvailVirtual = 90;
  kernel.systemTime = 1'000'000;
  Sources sources(kernel);
  kernel.systemTime = 2'000'000;
  kernel.idleTime = 300'000;
  std::vector<int> values;
  sources.Sample(values);
  ASSERT_EQ(values, (std::vector<int>{70, 60, 10, 50}));

  kernel.memory.reset();
  kernel.disks.clear();
  kernel.idleTime.reset();
  sources.Sample(values);
  EXPECT_EQ(values, (std::vector<int>{70, 60, 10, 50}));
}

}  // namespace
}  // namespace sysvane::floor
