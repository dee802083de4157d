#include "stats/system_info.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_platform.h"

namespace sysvane {
namespace {

using fake::FakeKernel;
using fake::FakeProcessorLibrary;
using fake::FakeResourceMeter;

struct SystemInfoTest : testing::Test {
  FakeKernel kernel;
  FakeProcessorLibrary processor;
  FakeResourceMeter resources;
  SystemInfoModule info{kernel, processor, resources};

  std::string Describe(const std::string& name, const std::string& speed, const LocaleInfo& locale = {}) {
    processor.name = name;
    processor.speed = speed;
    return info.GetProcessorDescription(locale);
  }
  void SetVersion(uint32_t platform, uint32_t major, uint32_t minor, uint32_t build = 0) {
    kernel.version = OSVERSIONINFO{0, major, minor, build, platform, ""};
  }
};

TEST_F(SystemInfoTest, FixedDrivesLeaveOutDriveCAndOtherKinds) {
  kernel.driveRoots = {"C:\\", "D:\\", "E:\\", "F:\\", "G:\\"};
  kernel.driveTypes = {{"c:\\", DRIVE_FIXED},
                       {"d:\\", DRIVE_FIXED},
                       {"e:\\", DRIVE_CDROM},
                       {"f:\\", DRIVE_REMOTE},
                       {"g:\\", DRIVE_FIXED}};
  info.ListFixedDrives();
  EXPECT_EQ(info.FixedDriveCount, 2);
  EXPECT_EQ(info.FixedDrives, (std::vector<std::string>{"d:\\", "g:\\"}));

  kernel.driveRoots = {"c:\\"};  // a second listing starts afresh
  info.ListFixedDrives();
  EXPECT_EQ(info.FixedDriveCount, 0);
  EXPECT_TRUE(info.FixedDrives.empty());
}

TEST_F(SystemInfoTest, DriveListStartingWithNulIsEmpty) {
  kernel.driveRoots = {"", "d:\\"};
  kernel.driveTypes = {{"d:\\", DRIVE_FIXED}};
  info.ListFixedDrives();
  EXPECT_EQ(info.FixedDriveCount, 0);
}

TEST_F(SystemInfoTest, ProcessorSpeedRoundsUpToTen) {
  const std::pair<const char*, const char*> cases[] = {
      {"733M", "Q7 (740 MHz)"},
      {"1995M", "Q7 (2.00 GHz)"},
      {"999M", "Q7 (1.00 GHz)"},
      {"2.53G", "Q7 (2.60 GHz)"},
      {"2.4G", "Q7 (2.40 GHz)"},
      {"1000M", "Q7 (1.00 GHz)"},
      {"990M", "Q7 (990 MHz)"},
      {"991M", "Q7 (1.00 GHz)"},
      {"  1000.5 MHz", "Q7 (1.00 GHz)"},
      {"fastM", "Q7 (0 MHz)"},
      {"1600", "Q7"},
  };
  for (const auto& [speed, expected] : cases) EXPECT_EQ(Describe("Q7", speed), expected) << speed;
  EXPECT_EQ(Describe("Q7", "2.53G", LocaleInfo{".", ","}), "Q7 (2,60 GHz)");
}

TEST_F(SystemInfoTest, ProcessorNameStopsBeforeAQuotedPart) {
  EXPECT_EQ(Describe("Quorvale Q7 \"Tallow\"", "733M"), "Quorvale Q7 (740 MHz)");
  EXPECT_EQ(Describe("Quorvale Q7", "733M"), "Quorvale Q7 (740 MHz)");
  EXPECT_EQ(Describe("\"Tallow\"", ""), "");
}

TEST_F(SystemInfoTest, VersionCodeTable) {
  struct Case {
    uint32_t platform, major, minor;
    int16_t code;
  };
  const Case cases[] = {{1, 4, 0, 3}, {1, 4, 10, 4}, {1, 4, 90, 0}, {2, 3, 51, 1},
                        {2, 4, 0, 2}, {2, 5, 0, 0},  {2, 5, 1, 0},  {0, 3, 10, 0}};
  for (const Case& c : cases) {
    SetVersion(c.platform, c.major, c.minor);
    EXPECT_EQ(info.GetWindowsVersionCode(), c.code) << c.platform << " " << c.major << "." << c.minor;
  }
  kernel.version.reset();
  EXPECT_EQ(info.GetWindowsVersionCode(), 0);
  EXPECT_FALSE(info.IsWindowsNT());
  SetVersion(2, 5, 0);
  EXPECT_TRUE(info.IsWindowsNT());
}

TEST(WindowsVersionName, NamesByPlatformAndBuild) {
  struct Case {
    uint32_t platform, major, minor, build;
    const char* name;
  };
  const Case cases[] = {
      {2, 5, 1, 2600, "Windows XP"},
      {2, 5, 2, 3790, "Windows XP"},
      {2, 5, 0, 2195, "Windows 2000"},
      {2, 5, 0, 2000, "Windows 2000"},
      {2, 4, 0, 1999, "Windows NT"},
      {2, 6, 0, 6000, "Windows XP"},
      {1, 4, 10, 0x040A07CE, "Windows 98"},  // build 1998 with the version in the high word
      {1, 4, 0, 1997, "Windows 95"},
      {1, 4, 90, 3000, "Windows ME"},
      {0, 3, 10, 0, "WIN32S"},
      {3, 10, 0, 19045, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WindowsVersionName(OSVERSIONINFO{148, c.major, c.minor, c.build, c.platform, ""}), c.name)
        << c.platform << " " << c.build;
  }
  EXPECT_EQ(WindowsVersionLine(OSVERSIONINFO{148, 4, 10, 0x040A07CE, 1, ""}), "Version 4.10 Build 1998");
}

TEST_F(SystemInfoTest, FailedQueriesLeaveTheDocumentedValues) {
  kernel.memory = MEMORYSTATUS{0, 0, 8ull << 30, 3ull << 30, 0, 0, 0, 0};
  info.RefreshMemoryAndPower();
  kernel.memory.reset();
  info.RefreshMemoryAndPower();
  EXPECT_EQ(info.MemStatus.dwLength, 32u);
  EXPECT_EQ(info.MemStatus.dwTotalPhys, 8ull << 30);

  kernel.processes = Kernel::ProcessCounts{70000, 900000};
  info.CountProcessesAndThreads();
  EXPECT_EQ(info.ProcessCount, 70000u);
  kernel.processes.reset();
  info.CountProcessesAndThreads();
  EXPECT_EQ(info.ProcessCount, 0u);
  EXPECT_EQ(info.ThreadCount, 0u);
}

}  // namespace
}  // namespace sysvane
