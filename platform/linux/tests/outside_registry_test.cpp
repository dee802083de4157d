// The processor library's buffers and the one registry key of Linux.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "linux_test_support.h"
#include "platform/linux/linux_outside.h"
#include "platform/linux/linux_registry.h"

namespace sysvane {
namespace {

TEST(ProcessorLibraryTest, BuffersAreWrittenFromTheStartAndNeverGrow) {
  testing::TempTree tree;
  tree.Write("proc/cpuinfo", "model name\t: AMD Ryzen 7 5800X\ncpu MHz\t\t: 2112.0\n");
  LinuxProcessorLibrary library(tree.Path());
  std::string name(5, '\0'), second(3, 'x'), third, speed(255, '\0');
  library.GetProcessor(name, second, third);
  library.GetProcessorRawSpeed(speed);  // without cpufreq, the speed of this moment
  EXPECT_EQ(name + second, std::string("AMD \0xxx", 8));
  EXPECT_EQ(speed, "2112.0M" + std::string(248, '\0'));
  tree.Write("proc/cpuinfo", "processor\t: 0\n");
  std::string nothing(9, '\0');
  library.GetProcessor(nothing, second, third);
  library.GetProcessorRawSpeed(nothing);
  EXPECT_EQ(nothing, std::string(9, '\0'));
}

TEST(RegistryTest, TheSystemInformationProgramIsThePreferredOneOnThePath) {
  testing::TempTree tree;
  for (const auto& [program, mode] :
       {std::pair{"a/lxtask", 0755}, {"b/gnome-system-monitor", 0755}, {"c/hardinfo", 0644}}) {
    tree.Write(program, "#!/bin/sh\n");
    chmod(tree.Path(program).c_str(), mode);
  }
  const std::string path = "relative/b::" + tree.Path("a") + ":" + tree.Path("b") + ":" + tree.Path("c");
  LinuxRegistry registry(path);
  const auto key =
      registry.RegOpenKeyEx(HKEY_LOCAL_MACHINE, "software\\microsoft\\shared tools\\msinfo", KEY_READ);
  ASSERT_TRUE(key);
  const std::string program = tree.Path("b/gnome-system-monitor");
  EXPECT_EQ(registry.RegQueryValueEx(*key, "path", 255)->data, program + '\0');
  EXPECT_EQ(registry.RegQueryValueEx(*key, "PATH", program.size() + 1)->data, program + '\0');
  EXPECT_EQ(registry.RegQueryValueEx(*key, "PATH", program.size()), std::nullopt);  // does not fit
  EXPECT_EQ(registry.RegQueryValueEx(*key, "MSINFO", 255), std::nullopt);
  registry.RegCloseKey(*key);
  EXPECT_EQ(registry.RegQueryValueEx(*key, "PATH", 255), std::nullopt);
  EXPECT_EQ(registry.RegOpenKeyEx(HKEY_DYN_DATA, "PerfStats\\StatData", KEY_READ), std::nullopt);
  EXPECT_EQ(registry.RegOpenKeyEx(HKEY_DYN_DATA, kSystemInformationKey, KEY_READ), std::nullopt);
  EXPECT_EQ(LinuxRegistry(tree.Path("c")).RegOpenKeyEx(HKEY_LOCAL_MACHINE, kSystemInformationKey, KEY_READ),
            std::nullopt);
}

}  // namespace
}  // namespace sysvane
