// A fixed drive whose disk query hangs (a FUSE disk whose daemon stopped answering), asked again and
// again on the Linux backend as the windows' refreshes ask it: every query comes back failed within
// its bound, the stuck call is made once and not again until it returns, and the other drives answer.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

#include "platform/linux/tests/linux_test_support.h"

namespace sysvane {

using namespace std::chrono_literals;

TEST(HungMountFaultTest, TheStuckQueryIsAnsweredAsFailedAndAskedOnce) {
  const std::string root = SYSVANE_FIXTURES "/fault-laptop";
  LinuxKernel kernel(root);
  std::promise<void> answer;
  std::shared_future<void> answered = answer.get_future().share();
  std::atomic<int> calls = 0;
  kernel.SetDiskTimeout(50ms);
  kernel.SetStatvfs([&, answered](const char* path, struct statvfs* info) {
    *info = {};
    info->f_bsize = 1;  // an old file system without a fragment size: the block size is the unit
    info->f_blocks = 100;
    if (std::string(path) == root + "/mnt/win") {
      ++calls;
      answered.wait();
    }
    return 0;
  });
  const auto started = std::chrono::steady_clock::now();
  for (int refresh = 0; refresh < 20; ++refresh) {
    EXPECT_EQ(kernel.GetDiskFreeSpaceEx("e:"), std::nullopt);
    EXPECT_TRUE(kernel.GetDiskFreeSpaceEx("d:"));  // the others go on
  }
  EXPECT_LT(std::chrono::steady_clock::now() - started, 20 * 50ms + 5s);  // no query waited without bound
  EXPECT_EQ(calls, 1);
  answer.set_value();  // the daemon answers again: the mount is asked again and answers
  std::optional<DiskSpace> space;
  const auto deadline = std::chrono::steady_clock::now() + 5s;
  while (!(space = kernel.GetDiskFreeSpaceEx("e:")) && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(1ms);  // once the call is back
  EXPECT_EQ(space.value_or(DiskSpace{}).TotalNumberOfBytes, 100u) << "the mount answers once its daemon does";
  EXPECT_EQ(calls, 2);
}

}  // namespace sysvane
