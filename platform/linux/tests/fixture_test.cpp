// The backend read against captured machines (fixtures/*/EXPECTED.md tells what each holds and why).
#include <gtest/gtest.h>
#include <unistd.h>

#include <cctype>

#include "linux_test_support.h"
#include "platform/linux/linux_kernel.h"
#include "platform/linux/linux_outside.h"
#include "stats/system_info.h"

namespace sysvane {
namespace {

struct Answers {
  std::string drives;     // "root mount-point type|", each disk query asked at the mount point
  std::string memory;     // "total/available" bytes
  std::string power;      // testing::PowerText
  std::string processor;  // the description of the System page
  std::string system;     // "processors idle-ticks version-line name"
  bool operator==(const Answers&) const = default;
};

void PrintTo(const Answers& a, std::ostream* out) {
  *out << a.drives << "\n" << a.memory << "\n" << a.power << "\n" << a.processor << "\n" << a.system;
}

Answers Read(const std::string& root) {
  LinuxKernel kernel(root);
  // Every disk answers with the length of the path it was asked about as its size.
  kernel.SetStatvfs([](const char* path, struct statvfs* info) {
    *info = {};
    info->f_frsize = 1;
    info->f_blocks = std::string(path).size();
    return 0;
  });
  Answers a;
  const std::string strings = kernel.GetLogicalDriveStrings();
  for (size_t at = 0; at < strings.size() && strings[at] != '\0'; at = strings.find('\0', at) + 1) {
    const std::string drive = strings.substr(at, strings.find('\0', at) - at);
    const std::string upper = std::string(1, char(std::toupper(drive[0]))) + ":";  // either way of naming it
    const std::string mountPoint = kernel.DriveMountPoint(drive);
    const auto space = kernel.GetDiskFreeSpaceEx(upper);
    const bool asked = space && space->TotalNumberOfBytes == (root + mountPoint).size();
    a.drives +=
        drive + " " + mountPoint + " " + std::to_string(kernel.GetDriveType(upper)) + (asked ? "|" : "?|");
  }
  MEMORYSTATUS memory;
  a.memory = kernel.GlobalMemoryStatus(memory)
                 ? std::to_string(memory.dwTotalPhys) + "/" + std::to_string(memory.dwAvailPhys)
                 : "-";
  SYSTEM_POWER_STATUS power;
  kernel.GetSystemPowerStatus(power);
  a.power = testing::PowerText(power);
  LinuxProcessorLibrary processor(root);
  LinuxResourceMeter meter;
  SystemInfoModule info(kernel, processor, meter);
  a.processor = info.GetProcessorDescription(LocaleInfo{});
  OSVERSIONINFO version;
  kernel.GetVersionEx(version);
  const auto idle = kernel.QueryIdleTime();
  a.system = std::to_string(kernel.GetNumberOfProcessors()) + " " +
             (idle ? std::to_string(*idle / kernel.IdleTimeResolution()) : "-") + " " +
             WindowsVersionLine(version) + " " + kernel.GetSystemName()->prettyName;
  return a;
}

TEST(FixtureMachineTest, EachMachineAnswersAsCaptured) {
  const std::pair<const char*, Answers> rows[] = {
      {"laptop-two-batteries",
       {"c:\\ / 3|d:\\ /boot/efi 3|e:\\ /home 3|f:\\ /mnt/Backup Disk 3|g:\\ /media/alex/USB STICK 2|"
        "h:\\ /mnt/media 4|i:\\ /media/alex/DVD 5|",
        "16624758784/10108112896", "0 1 75 20332 27276",
        "Intel(R) Core(TM) i7-8650U CPU @ 1.90GHz (4.20 GHz)",
        "4 36685833 Version 6.8 Build 0 Ubuntu 24.04.1 LTS"}},
      {"raspberry-pi",
       {"c:\\ / 3|d:\\ /boot/firmware 3|e:\\ /srv/data 3|", "3977351168/3187097600", "255 128 255 ? ?",
        "Raspberry Pi 4 Model B Rev 1.1 (1.50 GHz)",
        "4 800400 Version 6.6 Build 51 Debian GNU/Linux 12 (bookworm)"}},
      {"arm64-mainline",
       {"c:\\ / 3|", "-", "255 128 255 ? ?", "Radxa ROCK 5 Model B (1.80 GHz)",
        "8 - Version 0.0 Build 0 Linux"}},
      {"kernel-4.19-laptop",
       {"c:\\ / 3|", "-", "1 0 50 ? ?", "", "1 - Version 4.19 Build 0 Debian GNU/Linux 10 (buster)"}},
      {"not-charging-laptop", {"c:\\ / 3|", "-", "1 1 80 ? ?", "", "1 - Version 0.0 Build 0 Linux"}},
      {"container", {"c:\\ / 3|", "-", "255 128 255 ? ?", "", "1 - Version 0.0 Build 0 Linux"}},
      {"zfs",
       {"c:\\ / 3|d:\\ /boot 3|e:\\ /boot/efi 3|f:\\ /srv/media 3|", "-", "255 128 255 ? ?", "",
        "1 - Version 0.0 Build 0 Linux"}},
  };
  for (const auto& [folder, expected] : rows) {
    SCOPED_TRACE(folder);
    EXPECT_EQ(Read(std::string(SYSVANE_FIXTURES) + "/" + folder), expected);
  }
}

// Virtual memory is this process's address space less what it has mapped, never the fixture's.
TEST(FixtureMachineTest, VirtualMemoryIsTheAddressSpaceLessWhatIsMapped) {
  testing::TempTree tree;
  tree.Write("proc/meminfo", "MemTotal: 2000 kB\nMemAvailable: 500 kB\n");
  tree.Write("proc/self/statm", "1000 200 100 1 0 50 0\n");
  MEMORYSTATUS status;
  ASSERT_TRUE(LinuxKernel(tree.Path()).GlobalMemoryStatus(status));
  EXPECT_LE(status.dwTotalVirtual, ArchitectureUserAddressSpace());
  EXPECT_EQ(status.dwTotalVirtual - status.dwAvailVirtual,
            1000u * static_cast<uint64_t>(sysconf(_SC_PAGESIZE)));
}

}  // namespace
}  // namespace sysvane
