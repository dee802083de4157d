// A fixed drive whose disk query hangs (a FUSE disk whose daemon stopped answering), asked again and
// again on the Linux backend as the windows' refreshes ask it: the first query comes back failed
// once its bound has passed, the queries after it come back at once without a second stuck call,
// and the other drives answer.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <future>
#include <thread>

#include "platform/linux/tests/linux_test_support.h"

namespace sysvane {

using namespace std::chrono_literals;

TEST(HungMountFaultTest, TheStuckQueryIsAnsweredAsFailedAndAskedOnce) {
  // A query that waited for the stuck call would never return: the test then ends failed, saying
  // which, rather than hang.
  std::atomic<const char*> waiting = "the first query of the hung mount";
  std::promise<void> done;
  std::thread watchdog([&waiting, finished = done.get_future()] {
    if (finished.wait_for(10s) == std::future_status::ready) return;
    std::fprintf(stderr, "HungMountFaultTest: %s never came back\n", waiting.load()), std::_Exit(1);
  });
  const std::string root = SYSVANE_FIXTURES "/fault-laptop";
  LinuxKernel kernel(root);
  std::promise<void> answer;
  std::shared_future<void> answered = answer.get_future().share();
  std::atomic<int> calls = 0;
  kernel.SetStatvfs([&, answered](const char* path, struct statvfs* info) {
    *info = {};  // an old file system without a fragment size
    info->f_bsize = 1;
    info->f_blocks = 100;
    if (std::string(path) == root + "/mnt/win") {
      ++calls;
      answered.wait();
    }
    return 0;
  });
  kernel.SetDiskTimeout(200ms);
  const auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(kernel.GetDiskFreeSpaceEx("e:"), std::nullopt);
  EXPECT_GE(std::chrono::steady_clock::now() - started, 200ms) << "failed before its bound";
  // A bound no test could wait out: a later query that waited for the stuck call would never return.
  kernel.SetDiskTimeout(24h);
  waiting = "a query while the first was stuck";
  for (int refresh = 0; refresh < 20; ++refresh) {
    EXPECT_EQ(kernel.GetDiskFreeSpaceEx("e:"), std::nullopt);
    EXPECT_TRUE(kernel.GetDiskFreeSpaceEx("d:"));  // the others go on
  }
  EXPECT_EQ(calls, 1);
  answer.set_value();  // the daemon answers again: the mount is asked again and answers
  waiting = "the mount that answers again";
  std::optional<DiskSpace> space;  // once the stuck call is back
  while (!(space = kernel.GetDiskFreeSpaceEx("e:"))) std::this_thread::sleep_for(1ms);
  done.set_value();
  watchdog.join();
  EXPECT_EQ(std::pair(space.value_or(DiskSpace{}).TotalNumberOfBytes, calls.load()),
            std::pair(uint64_t(100), 2))
      << "the mount answers once its daemon does, asked once more";
}

}  // namespace sysvane
