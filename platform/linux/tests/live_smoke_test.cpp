// The backend on the machine the tests run on: ranges only, never this machine's own figures.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>

#include "platform/linux/linux_kernel.h"

namespace sysvane {

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
  // Under a limit on its address space (ulimit -v) the process's virtual memory is as large as the
  // limit, here a terabyte more than is mapped: room for what the test does meanwhile.
  rlimit saved{};
  getrlimit(RLIMIT_AS, &saved);
  const rlimit limit{
      std::min<rlim_t>(memory.dwTotalVirtual - memory.dwAvailVirtual + (1ull << 40), saved.rlim_max),
      saved.rlim_max};
  ASSERT_EQ(setrlimit(RLIMIT_AS, &limit), 0);
  EXPECT_TRUE(kernel.GlobalMemoryStatus(memory) && memory.dwTotalVirtual == limit.rlim_cur);
  setrlimit(RLIMIT_AS, &saved);
}

}  // namespace sysvane
