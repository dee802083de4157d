// Drive letters over mount tables (the captured machines of fixtures/ hold the common cases).
#include "platform/linux/drives.h"

#include <gtest/gtest.h>

#include <sstream>

#include "platform/kernel.h"

namespace sysvane {
namespace {

// Lines of "device root mount-point type source options" as mountinfo writes them.
std::string MountInfo(const std::string& lines) {
  std::istringstream in(lines);
  std::string out, dev, root, point, type, source, options;
  while (in >> dev >> root >> point >> type >> source >> options)
    out += "1 0 " + dev + " " + root + " " + point + " rw shared:1 - " + type + " " + source + " " + options +
           "\n";
  return out;
}

std::string Show(const std::vector<DriveEntry>& drives) {
  std::string out;
  for (const DriveEntry& d : drives)
    out += d.root + " " + d.mountPoint + " " + d.fsType + " " + std::to_string(d.type) + "|";
  return out;
}

TEST(DriveLettersTest, MountTablesGiveTheirDrives) {
  const struct {
    const char* name;
    std::string mounts;
    std::string expected;
  } rows[] = {
      {"a point mounted over is its first drive",
       "8:1 / / ext4 /dev/sda1 rw 8:2 / /a xfs /dev/sda2 rw 8:3 / /a ext4 /dev/sda3 rw",
       "c:\\ / ext4 3|d:\\ /a xfs 3|"},
      {"btrfs: a subvolume is its volume, a folder inside one a bind mount",
       "0:33 /@ / btrfs /dev/sda1 rw,subvol=/@ 0:33 /@home /home btrfs /dev/sda1 rw,subvolid=5,subvol=/@home "
       "0:34 /@/var/x /x btrfs /dev/sdc1 rw,subvol=/@ 0:35 /@data /data btrfs /dev/sdd1 rw,subvol=@data "
       "0:36 /@b /b btrfs /dev/sde1 rw 0:37 /@c /c btrfs /dev/sdf1 rw,subvol=/@cc "
       "0:38 / /bc bcachefs /dev/sdg:/dev/sdh rw 0:38 / /bc2 bcachefs /dev/sdg:/dev/sdh rw",
       "c:\\ / btrfs 3|d:\\ /data btrfs 3|e:\\ /bc bcachefs 3|"},
  };
  SysfsBlockDevices devices("/nonexistent");  // every device fixed, as named
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(Show(AssignDriveLetters(ParseMountInfo(MountInfo(row.mounts)), devices)), row.expected);
  }
}

TEST(DriveLettersTest, LettersStopAtZAndTheStringsEndTwice) {
  std::string mounts = "8:1 / / ext4 /dev/sda1 rw ";
  for (int i = 0; i < 30; ++i)
    mounts += "9:" + std::to_string(i) + " / /m" + std::to_string(i) + " ext4 /dev/x rw ";
  SysfsBlockDevices devices("/nonexistent");
  const auto drives = AssignDriveLetters(ParseMountInfo(MountInfo(mounts)), devices);
  ASSERT_EQ(drives.size(), 24u);
  EXPECT_EQ(drives.back().root + drives.back().mountPoint, "z:\\/m22");
  EXPECT_EQ(DriveStrings({drives[0], drives[1]}), std::string("c:\\\0d:\\\0\0", 9));
}

}  // namespace
}  // namespace sysvane
