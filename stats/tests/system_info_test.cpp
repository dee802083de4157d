#include "stats/system_info.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_platform.h"

namespace sysvane {
namespace {

struct SystemInfoTest : testing::Test {
  fake::FakeKernel kernel;
  fake::FakeProcessorLibrary processor;
  fake::FakeResourceMeter resources;
  SystemInfoModule info{kernel, processor, resources};
};

TEST_F(SystemInfoTest, FixedDrivesLeaveOutDriveCAndOtherKinds) {
  kernel.driveRoots = {"C:\\", "D:\\", "E:\\", "F:\\", "G:\\"};
  // clang-format off
  kernel.driveTypes = {{"c:\\", DRIVE_FIXED}, {"d:\\", DRIVE_FIXED}, {"e:\\", DRIVE_CDROM}, {"f:\\", DRIVE_REMOTE},
                       {"g:\\", DRIVE_FIXED}};
  // clang-format on
  info.ListFixedDrives();
  EXPECT_TRUE(info.FixedDrives == std::vector<std::string>({"d:\\", "g:\\"}) && info.FixedDriveCount == 2);
}

// The name stops before a quoted nickname; the speed rounds up to a multiple of ten, read as far as
// it is a number (an exponent only with its digits).
TEST_F(SystemInfoTest, TheProcessorsDescription) {
  // clang-format off
  const std::tuple<const char*, const char*, const char*> rows[] = {
      {"Q7 \"Tallow\"", "733M", "Q7 (740 MHz)"}, {"Q7", "990M", "Q7 (990 MHz)"}, {"Q7", "991M", "Q7 (1,00 GHz)"},
      {"Q7", "2.53G", "Q7 (2,60 GHz)"}, {"Q7", "2e+3Mhz", "Q7 (2,00 GHz)"}, {"Q7", "fastM", "Q7 (0 MHz)"},
      {"\"Tallow\"", "1600", ""}};
  // clang-format on
  for (const auto& [name, speed, description] : rows) {
    processor.name = name;
    processor.speed = speed;
    EXPECT_EQ(info.GetProcessorDescription(LocaleInfo{".", ","}), description) << speed;
  }
}

// The systems a user may run: each named by its version (by the build alone every later one would
// read "Windows XP"), none of them of the Windows 95 family (code 0). Windows 95's own rows went with
// the last user of that family.
TEST_F(SystemInfoTest, VersionCodesNamesAndLines) {
  // clang-format off
  const std::tuple<uint32_t, uint32_t, uint32_t, uint32_t, const char*> rows[] = {
      {2, 6, 0, 6002, "Windows Vista"}, {2, 6, 1, 7601, "Windows 7"}, {2, 10, 0, 19045, "Windows 10"},
      {2, 10, 0, 22000, "Windows 11"}, {3, 10, 0, 19045, ""}};
  // clang-format on
  for (const auto& [platform, major, minor, build, name] : rows) {
    kernel.version = OSVERSIONINFO{148, major, minor, build, platform, ""};
    EXPECT_EQ(info.GetWindowsVersionCode(), 0) << name << " " << build;
    EXPECT_EQ(WindowsVersionName(*kernel.version), name) << build;
  }
  EXPECT_EQ(WindowsVersionLine(OSVERSIONINFO{148, 10, 0, 22631, 2, ""}), "Version 10.0 Build 22631");
  kernel.version.reset();
  EXPECT_TRUE(info.GetWindowsVersionCode() == 0 && !info.IsWindowsNT());
}

}  // namespace
}  // namespace sysvane
