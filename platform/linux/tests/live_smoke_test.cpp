// The backend on the machine the tests run on: ranges only, never this machine's own figures.
#include <gtest/gtest.h>

#include "platform/linux/linux_kernel.h"

namespace sysvane {
namespace {

TEST(LiveMachineTest, FiguresAreInRange) {
  LinuxKernel kernel;
  MEMORYSTATUS memory;
  SYSTEM_POWER_STATUS power;
  const auto space = kernel.GetDiskFreeSpaceEx("c:\\");
  const auto counts = kernel.CountProcesses();
  EXPECT_TRUE(kernel.GlobalMemoryStatus(memory) && memory.dwTotalPhys > memory.dwAvailPhys);
  EXPECT_TRUE(space && space->TotalNumberOfBytes >= space->TotalNumberOfFreeBytes);
  EXPECT_TRUE(counts && counts->threads >= counts->processes &&
              kernel.QueryProcessorCount().value_or(0) >= 1);
  EXPECT_TRUE(kernel.GetSystemPowerStatus(power) &&
              (power.BatteryLifePercent <= 100 || power.BatteryLifePercent == 255));
}

}  // namespace
}  // namespace sysvane
