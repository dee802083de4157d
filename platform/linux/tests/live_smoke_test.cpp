// The backend on the machine the tests run on: ranges only, never this machine's own figures.
#include <gtest/gtest.h>

#include "platform/linux/linux_kernel.h"

namespace sysvane {
namespace {

TEST(LiveMachineTest, FiguresAreInRange) {
  LinuxKernel kernel;
  MEMORYSTATUS memory;
  ASSERT_TRUE(kernel.GlobalMemoryStatus(memory));
  EXPECT_GT(memory.dwTotalPhys, memory.dwAvailPhys);
  EXPECT_GT(memory.dwTotalVirtual, memory.dwAvailVirtual);
  EXPECT_TRUE(kernel.GetLogicalDriveStrings().starts_with(std::string("c:\\\0", 4)));
  const auto space = kernel.GetDiskFreeSpaceEx("c:\\");
  ASSERT_TRUE(space);
  EXPECT_GE(space->TotalNumberOfBytes, space->TotalNumberOfFreeBytes);
  EXPECT_GE(space->TotalNumberOfFreeBytes, space->FreeBytesAvailableToCaller);
  EXPECT_GE(kernel.QueryProcessorCount().value_or(0), 1u);
  EXPECT_TRUE(kernel.QueryIdleTime());
  const auto counts = kernel.CountProcesses();
  ASSERT_TRUE(counts);
  EXPECT_GE(counts->threads, counts->processes);
  EXPECT_GE(counts->processes, 1u);
  SYSTEM_POWER_STATUS power;
  ASSERT_TRUE(kernel.GetSystemPowerStatus(power));
  EXPECT_TRUE(power.BatteryLifePercent <= 100 || power.BatteryLifePercent == 255);
}

}  // namespace
}  // namespace sysvane
