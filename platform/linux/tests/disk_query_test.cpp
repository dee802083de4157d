#include "platform/linux/disk_query.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace sysvane {
namespace {

using namespace std::chrono_literals;

struct statvfs Figures(uint64_t blocks, uint64_t available, uint64_t free) {
  struct statvfs info {};
  info.f_bsize = 1 << 20;  // the preferred transfer size, not the unit of the counts
  info.f_frsize = 4096;
  info.f_blocks = blocks;
  info.f_bavail = available;
  info.f_bfree = free;
  return info;
}

// A statvfs that hangs until the test lets it go, like a mount whose server went away.
class StuckStatvfs {
 public:
  int Call(const char* path, struct statvfs* info) {
    lastPath = path;
    ++calls;  // published after lastPath: a reader that saw the count may read the path
    {
      std::unique_lock lock(mutex_);
      released_.wait(lock, [this] { return released; });
    }
    *info = Figures(100, 40, 50);
    ++finished;  // the last touch of this object: the test may end once it sees it
    return 0;
  }
  void Release() {
    std::lock_guard lock(mutex_);
    released = true;
    released_.notify_all();
  }
  StatvfsFunction Function() {
    return [this](const char* path, struct statvfs* info) { return Call(path, info); };
  }
  std::atomic<int> calls{0};
  std::atomic<int> finished{0};
  std::string lastPath;
  bool released = false;

 private:
  std::mutex mutex_;
  std::condition_variable released_;
};

TEST(DiskSpaceTest, CountsAreFragmentsTimesFragmentSize) {
  const DiskSpace space = DiskSpaceFromStatvfs(Figures(1'000'000'000, 300, 500));
  EXPECT_EQ(space.TotalNumberOfBytes, 4'096'000'000'000ull);  // beyond 32 bits
  EXPECT_EQ(space.FreeBytesAvailableToCaller, 300u * 4096);
  EXPECT_EQ(space.TotalNumberOfFreeBytes, 500u * 4096);
}

TEST(DiskSpaceTest, OnlyKernelLocalFileSystemsAreAskedDirectly) {
  for (const char* local : {"ext4", "btrfs", "xfs", "vfat", "exfat", "f2fs"})
    EXPECT_FALSE(QueryMayBlock(local)) << local;
  for (const char* slow : {"nfs4", "cifs", "fuse.sshfs", "fuseblk", "fuse.gvfsd-fuse", "", "newfs"}) {
    EXPECT_TRUE(QueryMayBlock(slow)) << slow;
  }
}

TEST(DiskQueryTest, LocalFileSystemIsAskedOnTheCallersThread) {
  std::thread::id askedOn;
  DiskQuery query([&](const char*, struct statvfs* info) {
    askedOn = std::this_thread::get_id();
    *info = Figures(10, 1, 2);
    return 0;
  });
  const auto space = query.Query("/home", /*mayBlock=*/false);
  ASSERT_TRUE(space);
  EXPECT_EQ(space->TotalNumberOfBytes, 40960u);
  EXPECT_EQ(askedOn, std::this_thread::get_id());

  DiskQuery failing([](const char*, struct statvfs*) { return -1; });
  EXPECT_EQ(failing.Query("/gone", false), std::nullopt);
  EXPECT_EQ(failing.Query("/gone", true), std::nullopt);
}

TEST(DiskQueryTest, HungMountFailsWithinTheBoundAndIsNotAskedAgainUntilItAnswers) {
  StuckStatvfs stuck;
  DiskQuery query(stuck.Function(), 50ms);

  // The call does not come back, yet the query does: as a failure.
  EXPECT_EQ(query.Query("/mnt/nas", true), std::nullopt);
  while (stuck.calls == 0) std::this_thread::sleep_for(1ms);  // a busy machine may start it late
  EXPECT_EQ(stuck.lastPath, "/mnt/nas");

  // While that call is still outstanding, further queries fail at once and start no new call.
  for (int i = 0; i < 5; ++i) EXPECT_EQ(query.Query("/mnt/nas", true), std::nullopt);
  EXPECT_EQ(stuck.calls, 1);

  // When the stuck call finally returns, the mount may be asked again and answers.
  stuck.Release();
  while (stuck.finished == 0) std::this_thread::sleep_for(1ms);
  std::optional<DiskSpace> space;
  for (int attempt = 0; attempt < 1000 && !space; ++attempt) {
    space = query.Query("/mnt/nas", true);
    if (!space) std::this_thread::sleep_for(1ms);
  }
  ASSERT_TRUE(space);
  EXPECT_EQ(space->TotalNumberOfBytes, 100u * 4096);
  EXPECT_EQ(stuck.calls, 2);
}

TEST(DiskQueryTest, OneHungMountDoesNotHoldUpAnother) {
  StuckStatvfs stuck;
  DiskQuery query(
      [&](const char* path, struct statvfs* info) {
        if (std::string(path) == "/mnt/nas") return stuck.Call(path, info);
        *info = Figures(8, 2, 3);
        return 0;
      },
      50ms);
  EXPECT_EQ(query.Query("/mnt/nas", true), std::nullopt);
  const auto other = query.Query("/mnt/ssh", true);  // through a worker of its own
  ASSERT_TRUE(other);
  EXPECT_EQ(other->TotalNumberOfBytes, 8u * 4096);
  stuck.Release();
  while (stuck.finished == 0) std::this_thread::sleep_for(1ms);
}

}  // namespace
}  // namespace sysvane
