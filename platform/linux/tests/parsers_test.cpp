// Every parser of the texts of /proc and /sys, one row per case: the text and what is read from it.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "platform/linux/drives.h"
#include "platform/linux/linux_outside.h"
#include "platform/linux/proc_parsers.h"
#include "platform/linux/system_release.h"

namespace sysvane {
namespace {

using namespace std::literals;

const auto Show = [](const auto& value) -> std::string { return value ? std::to_string(*value) : "-"; };
std::string Memory(std::string_view t) {
  const auto m = ParseMeminfo(t);
  return m ? std::to_string(m->total) + "/" + std::to_string(m->available) : "-";
}
std::string Mounts(std::string_view t) {
  std::string out;
  for (const MountEntry& e : ParseMountInfo(t))
    for (const std::string& field : {e.device, e.root, e.mountPoint, e.type, e.source, e.superOptions})
      out += field + "|";
  return out;
}
const auto Idle = [](std::string_view t) -> std::string { return Show(ParseProcStatIdle(t)); };
const auto Online = [](std::string_view t) -> std::string { return Show(ParseOnlineCpus(t)); };
const auto Threads = [](std::string_view t) -> std::string { return Show(ParseProcessThreads(t)); };
const auto Disk = [](std::string_view t) -> std::string { return PartitionDiskName(t); };
const auto Unescape = [](std::string_view t) -> std::string { return UnescapeMountField(t); };
const auto Name = [](std::string_view t) -> std::string { return ParseProcessorName(t, ""); };
const auto NameOnBoard = [](std::string_view t) -> std::string {
  return ParseProcessorName(t, " Pine64 RockPro64 v2.1\0junk"sv);
};
const auto Pretty = [](std::string_view t) -> std::string { return ParsePrettyName(t).value_or("-"); };
const auto Release = [](std::string_view t) -> std::string {
  const auto r = ParseKernelRelease(t);
  return r ? std::to_string(r->major) + "." + std::to_string(r->minor) + "." + std::to_string(r->patch) : "-";
};
const auto Khz = [](std::string_view t) -> std::string { return KilohertzAsMegahertz(*ParseUnsigned(t)); };

TEST(ParsersTest, EachTextReadsAsItSays) {
  const struct {
    std::string (*read)(std::string_view);
    std::string_view text;
    std::string expected;
  } rows[] = {
      // clang-format off
      {Idle, "cpu0 1 2 3 40 5\ncpu  9 9 9 100 7 0 0\nintr 1\n", "107"},  // the aggregate line only
      {Idle, "cpu 1 2 3 4\n", "-"},                        // no iowait
      {Idle, "cpu 1 2 3 18446744073709551616 5\n", "-"},  // past 64 bits
      {Memory, "MemTotal: 1000 kB\nMemFree: 1 kB\nMemAvailable: 500 kB\nMemAvailable: 9 kB",
       "1024000/512000"},
      {Memory, "MemTotal: 1000 kB\nMemAvailable: 2000 kB\n", "1024000/1024000"},  // never more than all
      {Memory, "MemTotal: 18014398509481983 kB\nMemAvailable: 1 kB\n", "18446744073709550592/1024"},
      {Memory, "MemTotal: 18014398509481984 kB\nMemAvailable: 1 kB\n", "-"},  // past 64 bits of bytes
      {Memory, "MemFree: 100 kB\nMemAvailable: 1 kB\n", "-"},
      {Mounts, "36 35 98:0 /a /b\\0402 rw master:1 shared:2 - ext3 /dev/root rw,x",
       "98:0|/a|/b 2|ext3|/dev/root|rw,x|"},
      {Mounts, "1 0 8:1 / / rw - ext4 /dev/s rw\n\nbroken\n2 1 0:5 / /x rw shared:1 nfs4 a:/b rw",
       "8:1|/|/|ext4|/dev/s|rw|"},
      {Unescape, "a\\011b\\012c\\134d\\0401\\101", "a\tb\nc\\d 1A"},
      {Unescape, "a\\9bc\\400\\04\\048\\047", "a\\9bc\\400\\04\\048'"},  // no escapes but the last
      // A partition's disk: its name without the number, and without a "p" after a disk's own digit.
      {Disk, "sdb9", "sdb"}, {Disk, "nvme0n1p10", "nvme0n1"}, {Disk, "mmcblk0p2", "mmcblk0"}, {Disk, "sdp1", "sdp"},
      {Disk, "sda", "sda"}, {Disk, "p1", "p"}, {Disk, "0p1", "0"}, {Disk, "123", "123"},
      {Online, "0-3,5\n", "5"}, {Online, "3-1", "-"}, {Online, "0", "1"},
      {Online, "0-4294967294", "4294967295"}, {Online, "0-4294967295", "-"},  // more than 32 bits can count
      {Name, "processor\t: 0\nmodel name\t:AMD EPYC 7B13\nModel\t: x\n",
       "AMD EPYC 7B13"},  // no space after the colon
      {NameOnBoard, "Hardware\t: BCM2835\n", "Pine64 RockPro64 v2.1"},
      {Name, "processor\t: 0\nCPU implementer\t: 0x41\nCPU part\t: 0xd08\n", "ARM Cortex-A72"},
      {Name, "CPU implementer\t: 0x41\nCPU part\t: 0xfff\n", "ARM part 0xfff"},
      {Name, "CPU implementer\t: 0x99\nCPU part\t: 0x1\n", "ARM implementer 0x99 part 0x001"},
      {Name, "CPU implementer\t: 0x4e\nCPU part\t: 0x4\n", "NVIDIA Carmel"},
      {Name, "CPU implementer\t: 0x41z\nCPU part\t: 0xd08\n", ""}, {Name, "CPU implementer\t: 0x41\nCPU part\t: 0x\n", ""}, {Name, "processor : 0\nmodel : 142\n", ""},
      {Threads, "42 (Web (Content) x) S 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 0 123", "17"},
      {Threads, "42 (a) S 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 4294967295 0", "4294967295"},
      {Threads, "42 (a) S 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 4294967296 0", "-"},
      {Pretty, "PRETTY_NAME='Arch \\Linux'", "Arch \\Linux"},
      {Pretty, "PRETTY_NAME=\"\"\nPRETTY_NAME=Solus\\ OS", "Solus OS"},  // an empty name is none
      {Pretty, "PRETTY_NAME=\"Say \\\"hi\\\"\"\r\n", "Say \"hi\""},  // a line ended the Windows way
      {Release, "42949672950.1", "-"}, {Release, "4294967296", "-"},  // more than 32 bits
      {Release, "4294967295.07-rc1", "4294967295.7.0"}, {Release, "6", "6.0.0"},
      {Khz, "1800050", "1800.05"},
      // clang-format on
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.text));
    EXPECT_EQ(row.read(row.text), row.expected);
  }
}

}  // namespace
}  // namespace sysvane
