// Disk figures from statvfs, and which file systems are asked on a worker of their own.
#include "platform/linux/disk_query.h"

#include <gtest/gtest.h>

namespace sysvane {
namespace {

TEST(DiskSpaceTest, CountsAreFragmentsTimesFragmentSize) {
  struct statvfs info {};
  info.f_bsize = 1 << 20;  // the preferred transfer size, not the unit of the counts
  info.f_frsize = 4096;
  info.f_blocks = 1'000'000'000;
  info.f_bavail = 300;
  info.f_bfree = 500;
  DiskSpace space = DiskSpaceFromStatvfs(info);
  EXPECT_EQ(space.TotalNumberOfBytes, 4'096'000'000'000ull);  // beyond 32 bits
  EXPECT_EQ(space.FreeBytesAvailableToCaller, 300u * 4096);
  EXPECT_EQ(space.TotalNumberOfFreeBytes, 500u * 4096);
  info.f_frsize = 0;  // an old file system: the block size is the unit
  EXPECT_EQ(DiskSpaceFromStatvfs(info).TotalNumberOfFreeBytes, 500ull << 20);
  for (const char* local : {"ext4", "btrfs", "zfs", "vfat", "overlay"})
    EXPECT_FALSE(QueryMayBlock(local)) << local;
  for (const char* slow : {"nfs4", "cifs", "fuseblk", "fuse.sshfs", "", "ext"})
    EXPECT_TRUE(QueryMayBlock(slow)) << slow;
}

}  // namespace
}  // namespace sysvane
