// A fixed drive whose disk query hangs (a FUSE disk whose daemon stopped answering), asked again and
// again on the Linux backend as the windows' refreshes ask it: every query comes back failed within
// its bound, the stuck call is made once and not again until it returns, and the other drives answer.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "tests/faults/machine_tree.h"

namespace sysvane::faults {
namespace {

using namespace std::chrono_literals;

TEST(HungMountFaultTest, TheStuckQueryIsAnsweredAsFailedAndAskedOnce) {
  testing::TempTree tree;
  WriteGoodMachine(tree);
  LinuxKernel kernel(tree.Path());
  std::mutex mutex;
  std::condition_variable released;
  bool hanging = true;
  int calls = 0, finished = 0;
  kernel.SetDiskTimeout(50ms);
  kernel.SetStatvfs([&](const char* path, struct statvfs* info) {
    *info = {};
    info->f_frsize = 1;
    info->f_blocks = 100;
    if (std::string(path) != tree.Path("mnt/win")) return 0;
    std::unique_lock lock(mutex);
    ++calls;
    released.wait(lock, [&] { return !hanging; });
    ++finished;
    released.notify_all();
    return 0;
  });
  const auto started = std::chrono::steady_clock::now();
  for (int refresh = 0; refresh < 20; ++refresh) {
    EXPECT_EQ(kernel.GetDiskFreeSpaceEx("e:"), std::nullopt);
    ASSERT_TRUE(kernel.GetDiskFreeSpaceEx("c:"));  // the others go on
  }
  EXPECT_LT(std::chrono::steady_clock::now() - started, 20 * 50ms + 5s);  // no query waited without bound
  {
    std::unique_lock lock(mutex);
    EXPECT_EQ(calls, 1);
    hanging = false;  // the daemon answers again
    released.notify_all();
    released.wait(lock, [&] { return finished == 1; });
  }
  std::optional<DiskSpace> space;
  for (int attempt = 0; attempt < 1000 && !space; ++attempt) {
    if (!(space = kernel.GetDiskFreeSpaceEx("e:"))) std::this_thread::sleep_for(1ms);
  }
  ASSERT_TRUE(space);
  EXPECT_EQ(space->TotalNumberOfBytes, 100u);
  std::lock_guard lock(mutex);
  EXPECT_EQ(calls, 2);
}

}  // namespace
}  // namespace sysvane::faults
