// The backend read against captured machines: each folder of fixtures/ answers what its ANSWERS file
// holds (its EXPECTED.md tells what it holds and why).
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

#include "linux_test_support.h"
#include "platform/linux/kept_open_file.h"

namespace sysvane {

namespace fs = std::filesystem;

// Every file the backend keeps open is opened once, not at every read, and closed with it.
TEST(FixtureMachineTest, EachMachineAnswersAsCapturedAndLeavesNoFileOpen) {
  const auto openFiles = [] { return std::distance(fs::directory_iterator("/proc/self/fd"), {}); };
  const std::vector<fs::path> machines(fs::directory_iterator(SYSVANE_FIXTURES), {});
  const auto before = openFiles();
  for (const fs::path& machine : machines) {
    SCOPED_TRACE(machine.filename().string());
    std::string expected;
    ReadWholeFile(machine / "ANSWERS", expected);
    {
      LinuxKernel kernel(machine);
      EXPECT_EQ(testing::ReadAnswers(kernel, machine).Text(), expected);
      const auto kept = openFiles();
      EXPECT_EQ(testing::ReadAnswers(kernel, machine).Text(), expected);
      EXPECT_EQ(openFiles(), kept);
    }
    EXPECT_EQ(openFiles(), before);
  }
  EXPECT_FALSE(machines.empty());
  // A drive named either way, and names of none.
  LinuxKernel laptop(fs::path(SYSVANE_FIXTURES) / "fault-laptop");
  std::string shown;
  for (const char* root : {"D:", "d:/", "D:\\", "d", "d:x", "q:"})
    shown += laptop.DriveMountPoint(root) + "|";
  EXPECT_EQ(shown + (laptop.GetDiskFreeSpaceEx("q:") ? "asked" : "none"), "/home|/home|/home||||none");
}

}  // namespace sysvane
