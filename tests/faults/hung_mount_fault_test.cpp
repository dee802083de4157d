// A fixed drive whose disk query hangs (a FUSE disk whose daemon stopped answering), asked again and
// again on the Linux backend as the windows' refreshes ask it: the first query comes back failed
// once its bound has passed, the queries after it come back at once without a second stuck call,
// and the other drives answer.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <future>
#include <thread>

#include "platform/linux/tests/linux_test_support.h"

namespace sysvane {

using namespace std::chrono_literals;

// Runs `queries` on a thread of its own and waits for them, ten seconds at most: a query that
// waits for the stuck call never returns, and the test then ends failed rather than hang.
void EndWithin10Seconds(const char* what, std::function<void()> queries) {
  auto done = std::make_shared<std::promise<void>>();
  std::future<void> finished = done->get_future();
  std::thread([queries, done] { queries(), done->set_value(); }).detach();
  if (finished.wait_for(10s) == std::future_status::ready) return;
  std::fprintf(stderr, "HungMountFaultTest: %s never came back\n", what);
  std::_Exit(1);
}

TEST(HungMountFaultTest, TheStuckQueryIsAnsweredAsFailedAndAskedOnce) {
  const std::string root = SYSVANE_FIXTURES "/fault-laptop";
  LinuxKernel kernel(root);
  std::promise<void> answer;
  std::shared_future<void> answered = answer.get_future().share();
  std::atomic<int> calls = 0;
  kernel.SetStatvfs([&, answered](const char* path, struct statvfs* info) {
    *info = {};
    info->f_bsize = 1, info->f_blocks = 100;  // an old file system without a fragment size
    if (std::string(path) == root + "/mnt/win") ++calls, answered.wait();
    return 0;
  });
  kernel.SetDiskTimeout(200ms);
  EndWithin10Seconds("the first query of the hung mount", [&] {
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(kernel.GetDiskFreeSpaceEx("e:"), std::nullopt);
    EXPECT_GE(std::chrono::steady_clock::now() - started, 200ms) << "failed before its bound";
  });
  // A bound no test could wait out: a later query that waited for the stuck call would never return.
  kernel.SetDiskTimeout(24h);
  EndWithin10Seconds("a query while the first was stuck", [&] {
    for (int refresh = 0; refresh < 20; ++refresh) {
      EXPECT_EQ(kernel.GetDiskFreeSpaceEx("e:"), std::nullopt);
      EXPECT_TRUE(kernel.GetDiskFreeSpaceEx("d:"));  // the others go on
    }
  });
  EXPECT_EQ(calls, 1);
  answer.set_value();  // the daemon answers again: the mount is asked again and answers
  std::optional<DiskSpace> space;
  EndWithin10Seconds("the mount that answers again", [&] {
    while (!(space = kernel.GetDiskFreeSpaceEx("e:"))) std::this_thread::sleep_for(1ms);
  });  // once the stuck call is back
  EXPECT_EQ(std::pair(space.value_or(DiskSpace{}).TotalNumberOfBytes, calls.load()),
            std::pair(uint64_t(100), 2))
      << "the mount answers once its daemon does, asked once more";
}

}  // namespace sysvane
