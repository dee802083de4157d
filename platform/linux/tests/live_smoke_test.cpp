// The backend on the machine the tests run on: ranges only, never this machine's own figures.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>

#include "platform/linux/linux_kernel.h"

namespace sysvane {

// The captured machines hold the parsing; here only what a capture cannot: the process's own limits.
TEST(LiveMachineTest, FiguresAreInRange) {
  LinuxKernel kernel;
  MEMORYSTATUS memory;
  ASSERT_TRUE(kernel.GlobalMemoryStatus(memory) && memory.dwTotalPhys > memory.dwAvailPhys);
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
