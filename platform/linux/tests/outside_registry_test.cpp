// The one registry key of Linux. (The processor library's name is in every captured machine's answers.)
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "linux_test_support.h"
#include "platform/linux/linux_registry.h"

namespace sysvane {

TEST(RegistryTest, TheSystemInformationProgramIsThePreferredOneOnThePath) {
  testing::TempTree tree;
  // c's program cannot run.
  for (const char* program : {"a/lxtask", "b/gnome-system-monitor", "c/hardinfo", "d/hardinfo"}) {
    tree.Write(program, "#!/bin/sh\n");
    chmod(tree.Path(program).c_str(), program[0] == 'c' ? 0644 : 0755);
  }
  // A relative folder is never searched, not even one holding a preferred program, nor an empty one.
  const std::string relative = std::filesystem::relative(tree.Path("d")).string();
  LinuxRegistry registry(tree.Path("b") + ":" + relative + "::" + tree.Path("a") + ":" + tree.Path("c"));
  const auto key =
      registry.RegOpenKeyEx(HKEY_LOCAL_MACHINE, "software\\microsoft\\shared tools\\msinfo", KEY_READ);
  const std::string program = tree.Path("b/gnome-system-monitor") + '\0';
  EXPECT_EQ(registry.RegQueryValueEx(key.value(), "path", program.size()).value().data, program);
  EXPECT_EQ(registry.RegQueryValueEx(*key, "PATH", program.size() - 1), std::nullopt);  // does not fit
  registry.RegCloseKey(*key);
  EXPECT_EQ(LinuxRegistry(tree.Path("c")).RegOpenKeyEx(HKEY_LOCAL_MACHINE, kSystemInformationKey, KEY_READ),
            std::nullopt);
}

}  // namespace sysvane
