// The backend on the machine the tests run on: only ranges and consistency, never its own figures.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "platform/linux/linux_kernel.h"
#include "platform/linux/linux_outside.h"

namespace sysvane {
namespace {

TEST(LiveMachineTest, MemoryFiguresAreConsistent) {
  LinuxKernel kernel;
  MEMORYSTATUS status;
  ASSERT_TRUE(kernel.GlobalMemoryStatus(status));
  EXPECT_GT(status.dwTotalPhys, status.dwAvailPhys);
  EXPECT_GT(status.dwAvailPhys, 0u);
  EXPECT_GT(status.dwTotalVirtual, status.dwAvailVirtual);
  EXPECT_GT(status.dwAvailVirtual, 0u);
  EXPECT_LE(status.dwTotalVirtual, ArchitectureUserAddressSpace());
}

TEST(LiveMachineTest, DriveCIsThereWithItsSpace) {
  LinuxKernel kernel;
  const std::string strings = kernel.GetLogicalDriveStrings();
  ASSERT_TRUE(strings.starts_with(std::string("c:\\\0", 4)));
  EXPECT_TRUE(strings.ends_with(std::string("\0\0", 2)));
  EXPECT_EQ(kernel.GetDriveType("c:\\"), DRIVE_FIXED);
  EXPECT_EQ(kernel.DriveMountPoint("c:\\"), "/");
  const auto space = kernel.GetDiskFreeSpaceEx("c:\\");
  ASSERT_TRUE(space);
  EXPECT_GT(space->TotalNumberOfBytes, 0u);
  EXPECT_GE(space->TotalNumberOfBytes, space->TotalNumberOfFreeBytes);
  EXPECT_GE(space->TotalNumberOfFreeBytes, space->FreeBytesAvailableToCaller);
  // A second listing of an unchanged table gives the same drives.
  EXPECT_EQ(kernel.GetLogicalDriveStrings(), strings);
}

// Idle plus iowait ticks as a plain reader of /proc/stat sees them, apart from the backend.
uint64_t IdleTicksSeenDirectly() {
  std::ifstream stat("/proc/stat");
  std::string cpu;
  uint64_t user = 0, nice = 0, system = 0, idle = 0, iowait = 0;
  stat >> cpu >> user >> nice >> system >> idle >> iowait;
  return idle + iowait;
}

TEST(LiveMachineTest, IdleTimeGrowsNoFasterThanTheProcessorsCanIdle) {
  LinuxKernel kernel;
  const auto count = kernel.QueryProcessorCount();
  ASSERT_TRUE(count);
  EXPECT_GE(*count, 1u);
  EXPECT_EQ(kernel.GetNumberOfProcessors(), *count);
  EXPECT_GT(kernel.IdleTimeResolution(), 0u);

  const auto idleBefore = kernel.QueryIdleTime();
  const auto timeBefore = kernel.QuerySystemTime();
  ASSERT_TRUE(idleBefore && timeBefore);
  // On a machine kept busy by other work no processor may idle for a while: wait until one did.
  const uint64_t ticksBefore = IdleTicksSeenDirectly();
  bool idled = false;
  for (int i = 0; i < 600 && !idled; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    idled = IdleTicksSeenDirectly() > ticksBefore;
  }
  const auto idleAfter = kernel.QueryIdleTime();
  const auto timeAfter = kernel.QuerySystemTime();
  ASSERT_TRUE(idleAfter && timeAfter);
  EXPECT_GE(*idleAfter, *idleBefore);
  EXPECT_GT(*timeAfter, *timeBefore);
  const uint64_t slack = 2 * kernel.IdleTimeResolution() * *count;
  EXPECT_LE(*idleAfter - *idleBefore, (*timeAfter - *timeBefore) * *count + slack);
  if (!idled) GTEST_SKIP() << "no processor idled for 30 s: the machine is saturated";
  // The system idled, so a fresh read must show it (a stale kept-open file would not).
  EXPECT_GT(*idleAfter, *idleBefore);
}

TEST(LiveMachineTest, SystemProcessesAndPowerAreInRange) {
  LinuxKernel kernel;
  const auto counts = kernel.CountProcesses();
  ASSERT_TRUE(counts);
  EXPECT_GE(counts->processes, 1u);
  EXPECT_GE(counts->threads, counts->processes);

  OSVERSIONINFO version;
  ASSERT_TRUE(kernel.GetVersionEx(version));
  EXPECT_EQ(version.dwPlatformId, VER_PLATFORM_WIN32_NT);
  EXPECT_GE(version.dwMajorVersion, 2u);
  const auto system = kernel.GetSystemName();
  ASSERT_TRUE(system);
  EXPECT_EQ(system->family, "Linux");
  EXPECT_FALSE(system->prettyName.empty());
  EXPECT_EQ(system->kernelMajor, version.dwMajorVersion);

  SYSTEM_POWER_STATUS power;
  ASSERT_TRUE(kernel.GetSystemPowerStatus(power));
  EXPECT_TRUE(power.ACLineStatus == 0 || power.ACLineStatus == 1 || power.ACLineStatus == 255);
  EXPECT_TRUE(power.BatteryLifePercent <= 100 || power.BatteryLifePercent == 255);
  if (power.BatteryFlag == BATTERY_FLAG_NO_BATTERY) {
    EXPECT_EQ(power.BatteryLifePercent, 255);
  }

  LinuxProcessorLibrary processor;
  std::string name(255, '\0'), second(255, '\0'), third(255, '\0'), speed(255, '\0');
  processor.GetProcessor(name, second, third);
  processor.GetProcessorRawSpeed(speed);
  EXPECT_EQ(name.size(), 255u);
  EXPECT_EQ(speed.size(), 255u);
  const std::string speedText = speed.substr(0, speed.find('\0'));
  if (!speedText.empty()) {
    EXPECT_EQ(speedText.back(), 'M');
  }
}

}  // namespace
}  // namespace sysvane
