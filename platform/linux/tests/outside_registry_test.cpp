#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/linux/linux_outside.h"
#include "platform/linux/linux_registry.h"
#include "temp_tree.h"

namespace sysvane {
namespace {

using testing::TempTree;

TEST(ProcessorLibraryTest, BuffersAreOverwrittenFromTheStartAndNeverGrow) {
  TempTree tree;
  tree.Write("proc/cpuinfo", "model name\t: AMD Ryzen 7 5800X 8-Core Processor\ncpu MHz\t\t: 2112.0\n");
  LinuxProcessorLibrary library(tree.Path());

  std::string name(255, '\0'), second(255, '\0'), third(255, '\0');
  library.GetProcessor(name, second, third);
  EXPECT_EQ(name.size(), 255u);
  EXPECT_EQ(name.substr(0, name.find('\0')), "AMD Ryzen 7 5800X 8-Core Processor");
  EXPECT_EQ(second, std::string(255, '\0'));

  // A short buffer keeps its size and a NUL at the end of what fits.
  std::string tiny(5, '\0');
  library.GetProcessor(tiny, second, third);
  EXPECT_EQ(tiny, std::string("AMD \0", 5));

  // Without cpufreq the speed comes from "cpu MHz".
  std::string speed(255, '\0');
  library.GetProcessorRawSpeed(speed);
  EXPECT_EQ(speed.substr(0, speed.find('\0')), "2112.0M");
  EXPECT_EQ(speed.size(), 255u);
}

TEST(ProcessorLibraryTest, NothingKnownLeavesTheBuffersEmpty) {
  TempTree tree;
  tree.Write("proc/cpuinfo", "processor\t: 0\nBogoMIPS\t: 108.00\n");
  LinuxProcessorLibrary library(tree.Path());
  std::string name(255, '\0'), second(255, '\0'), third(255, '\0'), speed(255, '\0');
  library.GetProcessor(name, second, third);
  library.GetProcessorRawSpeed(speed);
  EXPECT_EQ(name, std::string(255, '\0'));
  EXPECT_EQ(speed, std::string(255, '\0'));

  LinuxProcessorLibrary missing(tree.Path("no-such-root"));
  missing.GetProcessor(name, second, third);
  missing.GetProcessorRawSpeed(speed);
  EXPECT_EQ(name, std::string(255, '\0'));
  EXPECT_EQ(speed, std::string(255, '\0'));
}

class RegistryTest : public ::testing::Test {
 protected:
  void Program(const std::string& relative, bool executable = true) {
    tree.Write(relative, "#!/bin/sh\n");
    chmod(tree.Path(relative).c_str(), executable ? 0755 : 0644);
  }
  TempTree tree;
};

TEST_F(RegistryTest, FirstPreferredProgramOnThePathIsTheSystemInformationProgram) {
  Program("a/lxtask");
  Program("b/gnome-system-monitor");
  Program("c/hardinfo", /*executable=*/false);
  const std::string path =
      "relative/dir::/no/such/folder:" + tree.Path("a") + ":" + tree.Path("b") + ":" + tree.Path("c");
  // The order of preference beats the order of the folders; a file that cannot run does not count.
  EXPECT_EQ(FindSystemInformationProgram(path), tree.Path("b/gnome-system-monitor"));

  LinuxRegistry registry(path);
  const auto key =
      registry.RegOpenKeyEx(HKEY_LOCAL_MACHINE, "software\\microsoft\\shared tools\\msinfo", KEY_READ);
  ASSERT_TRUE(key);
  const auto value = registry.RegQueryValueEx(*key, "PATH", 255);
  ASSERT_TRUE(value);
  EXPECT_EQ(value->type, REG_SZ);
  EXPECT_EQ(value->data, tree.Path("b/gnome-system-monitor") + '\0');
  EXPECT_EQ(registry.RegQueryValueEx(*key, "PATH", 4), std::nullopt);  // does not fit
  EXPECT_EQ(registry.RegQueryValueEx(*key, "MSINFO", 255), std::nullopt);
  registry.RegCloseKey(*key);
  EXPECT_EQ(registry.RegQueryValueEx(*key, "PATH", 255), std::nullopt);
}

TEST_F(RegistryTest, EveryOtherKeyFailsToOpen) {
  Program("bin/hardinfo");
  LinuxRegistry registry(tree.Path("bin"));
  EXPECT_TRUE(registry.RegOpenKeyEx(HKEY_LOCAL_MACHINE, kSystemInformationKey, KEY_READ));
  EXPECT_EQ(registry.RegOpenKeyEx(HKEY_DYN_DATA, "PerfStats\\StartStat", KEY_ALL_ACCESS), std::nullopt);
  EXPECT_EQ(registry.RegOpenKeyEx(HKEY_DYN_DATA, "PerfStats\\StatData", KEY_READ), std::nullopt);
  EXPECT_EQ(registry.RegOpenKeyEx(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools Location", KEY_READ),
            std::nullopt);
  EXPECT_EQ(registry.RegOpenKeyEx(HKEY_DYN_DATA, kSystemInformationKey, KEY_READ), std::nullopt);

  LinuxRegistry nothingInstalled(tree.Path("empty"));
  EXPECT_EQ(nothingInstalled.RegOpenKeyEx(HKEY_LOCAL_MACHINE, kSystemInformationKey, KEY_READ), std::nullopt);
}

}  // namespace
}  // namespace sysvane
