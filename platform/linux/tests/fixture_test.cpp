// The backend read against captured machines (tests/fixtures/*/EXPECTED.md tells what each holds).
#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/linux/linux_kernel.h"
#include "platform/linux/linux_outside.h"
#include "stats/format.h"
#include "stats/system_info.h"
#include "temp_tree.h"

namespace sysvane {
namespace {

using testing::TempTree;

const std::string kLaptop = std::string(SYSVANE_FIXTURES) + "/laptop-two-batteries";
const std::string kRaspberryPi = std::string(SYSVANE_FIXTURES) + "/raspberry-pi";

// The kernel, the processor library and the module that reads them, all on one fixture.
struct FixtureMachine {
  explicit FixtureMachine(const std::string& root)
      : kernel(root), processor(root), info(kernel, processor, meter) {}
  LinuxKernel kernel;
  LinuxProcessorLibrary processor;
  LinuxResourceMeter meter;
  SystemInfoModule info;
};

TEST(LaptopFixtureTest, DrivesHaveTheirLettersAndTypes) {
  LinuxKernel kernel(kLaptop);
  EXPECT_EQ(kernel.GetLogicalDriveStrings(), std::string("c:\\\0d:\\\0e:\\\0f:\\\0g:\\\0h:\\\0i:\\\0\0", 29));
  const std::vector<std::tuple<std::string, std::string, uint32_t>> expected = {
      {"c:\\", "/", DRIVE_FIXED},
      {"d:\\", "/boot/efi", DRIVE_FIXED},
      {"e:\\", "/home", DRIVE_FIXED},
      {"f:\\", "/mnt/Backup Disk", DRIVE_FIXED},
      {"g:\\", "/media/alex/USB STICK", DRIVE_REMOVABLE},
      {"h:\\", "/mnt/media", DRIVE_REMOTE},
      {"i:\\", "/media/alex/DVD", DRIVE_CDROM},
  };
  for (const auto& [root, mountPoint, type] : expected) {
    EXPECT_EQ(kernel.DriveMountPoint(root), mountPoint) << root;
    EXPECT_EQ(kernel.GetDriveType(root), type) << root;
  }
  EXPECT_EQ(kernel.GetDriveType("E:\\"), DRIVE_FIXED);  // roots are named in either case
  EXPECT_EQ(kernel.GetDriveType("j:\\"), DRIVE_NO_ROOT_DIR);
  EXPECT_EQ(kernel.DriveMountPoint("j:\\"), "");

  FixtureMachine machine(kLaptop);
  machine.info.ListFixedDrives();
  EXPECT_EQ(machine.info.FixedDrives, (std::vector<std::string>{"d:\\", "e:\\", "f:\\"}));
}

TEST(LaptopFixtureTest, DiskQueriesGoToTheMountPointBelowTheRoot) {
  LinuxKernel kernel(kLaptop);
  std::vector<std::string> asked;
  std::mutex mutex;
  kernel.SetStatvfs([&](const char* path, struct statvfs* info) {
    std::lock_guard lock(mutex);
    asked.push_back(path);
    *info = {};
    info->f_frsize = 4096;
    info->f_blocks = 1000;
    info->f_bavail = 250;
    info->f_bfree = 300;
    return 0;
  });
  const auto space = kernel.GetDiskFreeSpaceEx("f:\\");
  ASSERT_TRUE(space);
  EXPECT_EQ(space->TotalNumberOfBytes, 4'096'000u);
  EXPECT_EQ(space->FreeBytesAvailableToCaller, 1'024'000u);
  EXPECT_EQ(space->TotalNumberOfFreeBytes, 1'228'800u);
  EXPECT_TRUE(kernel.GetDiskFreeSpaceEx("h:\\"));  // the network share, through its worker
  EXPECT_EQ(kernel.GetDiskFreeSpaceEx("q:\\"), std::nullopt);
  std::lock_guard lock(mutex);
  EXPECT_EQ(asked, (std::vector<std::string>{kLaptop + "/mnt/Backup Disk", kLaptop + "/mnt/media"}));
}

TEST(LaptopFixtureTest, MemoryIsSixtyFourBitAndThirtyNinePercentUsed) {
  FixtureMachine machine(kLaptop);
  MEMORYSTATUS status;
  status.dwTotalVirtual = 77;  // the fixture has no process of its own: virtual is left alone
  status.dwAvailVirtual = 7;
  ASSERT_TRUE(machine.kernel.GlobalMemoryStatus(status));
  EXPECT_EQ(status.dwTotalPhys, 16'624'758'784u);
  EXPECT_EQ(status.dwAvailPhys, 10'108'112'896u);
  EXPECT_EQ(status.dwTotalVirtual, 77u);
  EXPECT_EQ(status.dwAvailVirtual, 7u);
  machine.info.RefreshMemoryAndPower();
  EXPECT_EQ(UsedPercent(machine.info.MemStatus.dwTotalPhys, machine.info.MemStatus.dwAvailPhys), 39);
}

TEST(LaptopFixtureTest, TwoBatteriesDischargeTogether) {
  LinuxKernel kernel(kLaptop);
  SYSTEM_POWER_STATUS status;
  ASSERT_TRUE(kernel.GetSystemPowerStatus(status));
  EXPECT_EQ(status.ACLineStatus, AC_LINE_OFFLINE);
  EXPECT_EQ(status.BatteryLifePercent, 75);  // combined energy, not the capacity files (64, 95)
  EXPECT_EQ(status.BatteryFlag, BATTERY_FLAG_HIGH);
  EXPECT_EQ(status.BatteryLifeTime, 20332u);
  EXPECT_EQ(status.BatteryFullLifeTime, 27276u);
}

TEST(LaptopFixtureTest, ProcessorSystemAndCpuCounters) {
  FixtureMachine machine(kLaptop);
  std::string name(255, '\0'), second(255, '\0'), third(255, '\0'), speed(255, '\0');
  machine.processor.GetProcessor(name, second, third);
  machine.processor.GetProcessorRawSpeed(speed);
  EXPECT_EQ(TrimAtNull(name), "Intel(R) Core(TM) i7-8650U CPU @ 1.90GHz");
  EXPECT_EQ(TrimAtNull(speed), "4200M");
  EXPECT_EQ(name.size(), 255u);
  EXPECT_EQ(machine.info.GetProcessorDescription(LocaleInfo{}),
            "Intel(R) Core(TM) i7-8650U CPU @ 1.90GHz (4.20 GHz)");

  EXPECT_EQ(machine.kernel.QueryProcessorCount(), 4u);
  EXPECT_EQ(machine.kernel.GetNumberOfProcessors(), 4u);
  const uint64_t hz = static_cast<uint64_t>(sysconf(_SC_CLK_TCK));
  EXPECT_EQ(machine.kernel.QueryIdleTime(), (36527522ull + 158311ull) * 10'000'000 / hz);
  EXPECT_EQ(machine.kernel.IdleTimeResolution(), 10'000'000 / hz);

  const auto system = machine.kernel.GetSystemName();
  ASSERT_TRUE(system);
  EXPECT_EQ(system->family, "Linux");
  EXPECT_EQ(system->prettyName, "Ubuntu 24.04.1 LTS");
  EXPECT_EQ(system->kernelMajor, 6u);
  EXPECT_EQ(system->kernelMinor, 8u);
  EXPECT_EQ(system->kernelPatch, 0u);
  OSVERSIONINFO version;
  ASSERT_TRUE(machine.kernel.GetVersionEx(version));
  EXPECT_EQ(version.dwPlatformId, VER_PLATFORM_WIN32_NT);
  EXPECT_EQ(WindowsVersionLine(version), "Version 6.8 Build 0");
  EXPECT_TRUE(machine.info.IsWindowsNT());
  EXPECT_EQ(machine.info.GetWindowsVersionCode(), 0);
}

TEST(RaspberryPiFixtureTest, DrivesSkipTheSecondSubvolume) {
  FixtureMachine machine(kRaspberryPi);
  EXPECT_EQ(machine.kernel.GetLogicalDriveStrings(), std::string("c:\\\0d:\\\0e:\\\0\0", 13));
  EXPECT_EQ(machine.kernel.DriveMountPoint("d:\\"), "/boot/firmware");
  EXPECT_EQ(machine.kernel.DriveMountPoint("e:\\"), "/srv/data");
  EXPECT_EQ(machine.kernel.GetDriveType("e:\\"), DRIVE_FIXED);
  machine.info.ListFixedDrives();
  EXPECT_EQ(machine.info.FixedDriveCount, 2);
}

TEST(RaspberryPiFixtureTest, NoBatteryAtAll) {
  FixtureMachine machine(kRaspberryPi);
  SYSTEM_POWER_STATUS status;
  ASSERT_TRUE(machine.kernel.GetSystemPowerStatus(status));
  EXPECT_EQ(status.BatteryFlag, BATTERY_FLAG_NO_BATTERY);
  EXPECT_EQ(status.ACLineStatus, AC_LINE_UNKNOWN);
  EXPECT_EQ(status.BatteryLifePercent, BATTERY_PERCENTAGE_UNKNOWN);
  EXPECT_FALSE(ClassifyBattery(status).present);  // so the battery statistic is never offered
}

TEST(RaspberryPiFixtureTest, BoardNameSpeedAndSystem) {
  FixtureMachine machine(kRaspberryPi);
  std::string name(255, '\0'), second(255, '\0'), third(255, '\0'), speed(255, '\0');
  machine.processor.GetProcessor(name, second, third);
  machine.processor.GetProcessorRawSpeed(speed);
  EXPECT_EQ(TrimAtNull(name), "Raspberry Pi 4 Model B Rev 1.1");
  EXPECT_EQ(TrimAtNull(speed), "1500M");
  EXPECT_EQ(machine.info.GetProcessorDescription(LocaleInfo{}), "Raspberry Pi 4 Model B Rev 1.1 (1.50 GHz)");
  EXPECT_EQ(machine.kernel.GetNumberOfProcessors(), 4u);

  const auto system = machine.kernel.GetSystemName();
  ASSERT_TRUE(system);
  EXPECT_EQ(system->prettyName, "Debian GNU/Linux 12 (bookworm)");
  EXPECT_EQ(system->kernelPatch, 51u);
  OSVERSIONINFO version;
  ASSERT_TRUE(machine.kernel.GetVersionEx(version));
  EXPECT_EQ(WindowsVersionLine(version), "Version 6.6 Build 51");

  MEMORYSTATUS memory;
  ASSERT_TRUE(machine.kernel.GlobalMemoryStatus(memory));
  EXPECT_EQ(memory.dwTotalPhys, 3884132ull * 1024);
  EXPECT_EQ(memory.dwAvailPhys, 3112400ull * 1024);
}

TEST(TreeKernelTest, KernelWithoutMemAvailable) {
  TempTree tree;
  tree.Write("proc/meminfo", "MemTotal: 2000 kB\nMemFree: 500 kB\nBuffers: 100 kB\nCached: 400 kB\n");
  LinuxKernel kernel(tree.Path());
  MEMORYSTATUS status;
  ASSERT_TRUE(kernel.GlobalMemoryStatus(status));
  EXPECT_EQ(status.dwTotalPhys, 2000u * 1024);
  EXPECT_EQ(status.dwAvailPhys, 1000u * 1024);

  tree.Write("proc/meminfo", "garbage\n");
  status.dwTotalPhys = 5;
  EXPECT_FALSE(kernel.GlobalMemoryStatus(status));
  EXPECT_EQ(status.dwTotalPhys, 5u);
}

TEST(TreeKernelTest, VirtualMemoryIsTheAddressSpaceLessWhatIsMapped) {
  TempTree tree;
  tree.Write("proc/meminfo", "MemTotal: 2000 kB\nMemAvailable: 500 kB\n");
  tree.Write("proc/self/statm", "1000 200 100 1 0 50 0\n");
  LinuxKernel kernel(tree.Path());
  MEMORYSTATUS status;
  ASSERT_TRUE(kernel.GlobalMemoryStatus(status));
  ASSERT_GT(status.dwTotalVirtual, 0u);
  EXPECT_LE(status.dwTotalVirtual, ArchitectureUserAddressSpace());
  EXPECT_EQ(status.dwTotalVirtual - status.dwAvailVirtual,
            1000u * static_cast<uint64_t>(sysconf(_SC_PAGESIZE)));
}

TEST(TreeKernelTest, MountTableChangesAreSeenAtTheNextListing) {
  TempTree tree;
  tree.Write("proc/self/mounts", "/dev/sda1 / ext4 rw 0 0\n");
  LinuxKernel kernel(tree.Path());
  EXPECT_EQ(kernel.GetLogicalDriveStrings(), std::string("c:\\\0\0", 5));
  tree.Write("proc/self/mounts", "/dev/sda1 / ext4 rw 0 0\n/dev/sdb1 /data xfs rw 0 0\n");
  // Asked about a drive it does not know yet, the kernel reads the table again.
  EXPECT_EQ(kernel.DriveMountPoint("d:\\"), "/data");
  tree.Write("proc/self/mounts", "/dev/sda1 / ext4 rw 0 0\n");
  EXPECT_EQ(kernel.GetLogicalDriveStrings(), std::string("c:\\\0\0", 5));
  EXPECT_EQ(kernel.GetDriveType("d:\\"), DRIVE_NO_ROOT_DIR);
}

TEST(TreeKernelTest, ClockAndProcesses) {
  TempTree tree;
  tree.Write("proc/1/stat", "1 (systemd) S 0 1 1 0 -1 4194560 1 2 3 4 5 6 7 8 20 0 1 0 9\n");
  tree.Write("proc/42/stat", "42 (Web (Content)) S 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 23 0 9\n");
  tree.Write("proc/77/status", "Name:\tbash\nThreads:\t2\n");  // no stat: the status file tells
  tree.Write("proc/self/stat", "not a process folder\n");
  tree.Write("proc/88/cmdline", "");  // gone while counted: nothing to read
  LinuxKernel kernel(tree.Path());
  const auto counts = kernel.CountProcesses();
  ASSERT_TRUE(counts);
  EXPECT_EQ(counts->processes, 3u);
  EXPECT_EQ(counts->threads, 1u + 23u + 2u);

  uint64_t now = 123'456'789;
  kernel.SetClock([&] { return now; });
  EXPECT_EQ(kernel.QuerySystemTime(), 123'456'789u);
  EXPECT_EQ(kernel.QueryIdleTime(), std::nullopt);  // no proc/stat
  EXPECT_EQ(kernel.QueryProcessorCount(), std::nullopt);
  EXPECT_EQ(kernel.GetNumberOfProcessors(), 1u);

  // Without os-release files the system is plain "Linux".
  const auto system = kernel.GetSystemName();
  ASSERT_TRUE(system);
  EXPECT_EQ(system->prettyName, "Linux");
  tree.Write("usr/lib/os-release", "PRETTY_NAME=\"Fedora Linux 40\"\n");
  EXPECT_EQ(kernel.GetSystemName()->prettyName, "Fedora Linux 40");
}

}  // namespace
}  // namespace sysvane
