#include "platform/linux/proc_parsers.h"

#include <gtest/gtest.h>

#include "platform/linux/drives.h"
#include "platform/linux/linux_outside.h"
#include "platform/linux/system_release.h"

namespace sysvane {
namespace {

TEST(ProcStatTest, IdleIsIdlePlusIowaitOfTheAggregateLine) {
  // The per-processor lines may come first on odd kernels; only "cpu" itself counts.
  const char* stat =
      "cpu0 1 2 3 40 5 0 0\n"
      "cpu  3209210 4620 799135 36527522 158311 0 20732 0 0 0\n"
      "intr 1 2 3\n";
  EXPECT_EQ(ParseProcStatIdle(stat), 36527522u + 158311u);
  EXPECT_EQ(ParseProcStatIdle("cpu 1 2 3\n"), std::nullopt);  // no iowait field
  EXPECT_EQ(ParseProcStatIdle("intr 1 2 3\n"), std::nullopt);
  EXPECT_EQ(ParseProcStatIdle(""), std::nullopt);
}

TEST(MeminfoTest, AvailableMemoryAndItsFallback) {
  const auto modern =
      ParseMeminfo("MemTotal:       16235116 kB\nMemFree:         1203344 kB\nMemAvailable:    9871204 kB\n");
  ASSERT_TRUE(modern);
  EXPECT_EQ(modern->total, 16235116ull * 1024);
  EXPECT_EQ(modern->available, 9871204ull * 1024);

  // A kernel before MemAvailable: free + buffers + page cache.
  const auto old =
      ParseMeminfo("MemTotal: 1000 kB\nMemFree: 100 kB\nBuffers: 20 kB\nCached: 300 kB\nSwapCached: 7 kB\n");
  ASSERT_TRUE(old);
  EXPECT_EQ(old->available, 420u * 1024);

  // Counts beyond 32 bits (a 1 TiB machine) stay exact.
  const auto big = ParseMeminfo("MemTotal: 1073741824 kB\nMemAvailable: 536870912 kB\n");
  ASSERT_TRUE(big);
  EXPECT_EQ(big->total, 1ull << 40);

  EXPECT_EQ(ParseMeminfo("MemFree: 100 kB\n"), std::nullopt);
  EXPECT_EQ(ParseMeminfo("MemTotal: 1000 kB\nMemFree: 100 kB\n"), std::nullopt);
}

TEST(MountTableTest, OctalEscapesAreUndone) {
  EXPECT_EQ(UnescapeMountField("/mnt/Backup\\040Disk"), "/mnt/Backup Disk");
  EXPECT_EQ(UnescapeMountField("a\\011b\\012c\\134d"), "a\tb\nc\\d");
  // A backslash that starts no escape stays as it is.
  EXPECT_EQ(UnescapeMountField("a\\9bc\\04"), "a\\9bc\\04");
  EXPECT_EQ(UnescapeMountField("end\\"), "end\\");

  const auto entries = ParseMountTable(
      "/dev/sda1 /mnt/Backup\\040Disk ext4 rw 0 0\n"
      "\n"
      "broken-line\n"
      "nas:/export /mnt/media nfs4 rw 0 0");
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].source, "/dev/sda1");
  EXPECT_EQ(entries[0].mountPoint, "/mnt/Backup Disk");
  EXPECT_EQ(entries[0].type, "ext4");
  EXPECT_EQ(entries[1].type, "nfs4");
}

TEST(OnlineCpusTest, ListsOfRangesAreCounted) {
  EXPECT_EQ(ParseOnlineCpus("0-3,5\n"), 5u);
  EXPECT_EQ(ParseOnlineCpus("0"), 1u);
  EXPECT_EQ(ParseOnlineCpus("0-3,8-11"), 8u);
  EXPECT_EQ(ParseOnlineCpus(""), std::nullopt);
  EXPECT_EQ(ParseOnlineCpus("3-1"), std::nullopt);
  EXPECT_EQ(ParseOnlineCpus("0-x"), std::nullopt);
}

TEST(OnlineCpusTest, ACountPastThirtyTwoBitsIsGarbageNotAFewProcessors) {
  // 2^32 + 1 processors once wrapped round to 1.
  EXPECT_EQ(ParseOnlineCpus("0-4294967295,0"), std::nullopt);
  EXPECT_EQ(ParseOnlineCpus("0-4294967295"), std::nullopt);
  EXPECT_EQ(ParseOnlineCpus("0-4294967294"), 4294967295u);
  EXPECT_EQ(ParseOnlineCpus("0-4294967293,7"), 4294967295u);
  EXPECT_EQ(ParseOnlineCpus("0-18446744073709551615"), std::nullopt);
}

TEST(CpuinfoTest, NameFromModelNameThenModelThenHardware) {
  EXPECT_EQ(ParseCpuinfoName("processor\t: 0\nmodel name\t: AMD EPYC 7B13\n"), "AMD EPYC 7B13");
  // "model" (a number on x86) is not "model name" and not the board's "Model".
  EXPECT_EQ(ParseCpuinfoName("model\t\t: 142\nHardware\t: BCM2835\nModel\t\t: Raspberry Pi 4\n"),
            "Raspberry Pi 4");
  EXPECT_EQ(ParseCpuinfoName("model\t\t: 142\nHardware\t: BCM2835\n"), "BCM2835");
  EXPECT_EQ(ParseCpuinfoName("processor : 0\n"), "");
  EXPECT_EQ(ParseCpuinfoMHz("cpu MHz\t\t: 2112.0\ncpu MHz\t\t: 799.9\n"), "2112.0");
  EXPECT_EQ(ParseCpuinfoMHz("bogomips : 10\n"), "");
}

TEST(ProcessStatTest, ThreadsAfterACommandNameWithParentheses) {
  const char* stat = "4242 (Web (Content) x) S 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 0 123";
  EXPECT_EQ(ParseProcessThreads(stat), 17u);
  EXPECT_EQ(ParseProcessThreads("1 (init) S 0"), std::nullopt);
  EXPECT_EQ(ParseStatmSize("5321 1200 800 10 0 300 0\n"), 5321u);
}

TEST(SystemReleaseTest, KernelNumbersAndPrettyName) {
  const auto pi = ParseKernelRelease("6.6.51+rpt-rpi-v8\n");
  ASSERT_TRUE(pi);
  EXPECT_EQ(pi->major, 6u);
  EXPECT_EQ(pi->minor, 6u);
  EXPECT_EQ(pi->patch, 51u);
  const auto ubuntu = ParseKernelRelease("6.8.0-45-generic");
  ASSERT_TRUE(ubuntu);
  EXPECT_EQ(ubuntu->minor, 8u);
  EXPECT_EQ(ubuntu->patch, 0u);
  const auto shortRelease = ParseKernelRelease("5.10-rc1");
  ASSERT_TRUE(shortRelease);
  EXPECT_EQ(shortRelease->minor, 10u);
  EXPECT_EQ(shortRelease->patch, 0u);
  EXPECT_EQ(ParseKernelRelease("unknown"), std::nullopt);

  EXPECT_EQ(ParsePrettyName("NAME=x\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n"),
            "Debian GNU/Linux 12 (bookworm)");
  EXPECT_EQ(ParsePrettyName("PRETTY_NAME='Arch Linux'"), "Arch Linux");
  EXPECT_EQ(ParsePrettyName("PRETTY_NAME=\"Say \\\"hi\\\"\""), "Say \"hi\"");
  EXPECT_EQ(ParsePrettyName("PRETTY_NAME=Gentoo"), "Gentoo");
  EXPECT_EQ(ParsePrettyName("NAME=x\nPRETTY_NAME=\"\"\n"), std::nullopt);
}

TEST(PartitionNameTest, PartitionsMapToTheirDisks) {
  EXPECT_EQ(PartitionDiskName("nvme0n1p3"), "nvme0n1");
  EXPECT_EQ(PartitionDiskName("mmcblk0p2"), "mmcblk0");
  EXPECT_EQ(PartitionDiskName("sda1"), "sda");
  EXPECT_EQ(PartitionDiskName("sdab12"), "sdab");
  EXPECT_EQ(PartitionDiskName("sda"), "sda");
}

TEST(SpeedTextTest, KilohertzBecomeMegahertz) {
  EXPECT_EQ(KilohertzAsMegahertz(4200000), "4200");
  EXPECT_EQ(KilohertzAsMegahertz(2601500), "2601.5");
  EXPECT_EQ(KilohertzAsMegahertz(1800050), "1800.05");
  EXPECT_EQ(KilohertzAsMegahertz(999), "0.999");
}

}  // namespace
}  // namespace sysvane
