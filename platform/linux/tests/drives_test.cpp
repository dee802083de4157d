// Drive letters over mount tables, and the block devices behind them as sys/ describes them.
#include "platform/linux/drives.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "linux_test_support.h"
#include "platform/kernel.h"

namespace sysvane {
namespace {

// The block devices of the rows below as the kernel links them in sys/ and dev/.
void WriteDevices(const testing::TempTree& tree) {
  for (const char* removable : {"sys/devices/usb1/block/sdc/removable", "sys/block/sdb/removable",
                                "sys/block/mmcblk0/removable", "sys/devices/virtual/block/weird7/removable"})
    tree.Write(removable, "1\n");
  tree.Write("sys/devices/usb1/block/sdc/sdc1/partition", "1\n");
  tree.Link("../../devices/usb1/block/sdc/sdc1", "sys/class/block/sdc1");
  tree.Link("../devices/usb1/block/sdc", "sys/block/sdc");
  // An odd name the name rule would get wrong: the class folder decides.
  tree.Write("sys/devices/virtual/block/weird7/weird7x1/partition", "1\n");
  tree.Link("../../devices/virtual/block/weird7/weird7x1", "sys/class/block/weird7x1");
  tree.Link("../devices/virtual/block/weird7", "sys/block/weird7");
  tree.Write("dev/loop3", "");
  tree.Link("../loop3", "dev/mapper/image");
}

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
      {"fixed disks first, then the others in table order; removable disks as sys/ tells",
       "8:17 / /media/stick vfat /dev/sdb1 rw 0:40 / /mnt/nas nfs nas:/x rw 8:2 / / ext4 /dev/sda2 rw "
       "11:0 / /media/cd udf /dev/sr0 ro 8:3 / /home xfs /dev/sda3 rw 252:1 / /var/tmp ext4 /dev/zram1 rw "
       "253:0 / /data btrfs /dev/mapper/data rw,subvol=/ 8:33 / /media/c vfat /dev/sdc1 rw 8:48 / /media/w "
       "ext4 "
       "/dev/weird7x1 rw 179:1 / /media/sd vfat /dev/mmcblk0p1 rw 7:3 / /img ext4 /dev/mapper/image rw",
       "c:\\ / ext4 3|d:\\ /home xfs 3|e:\\ /data btrfs 3|f:\\ /media/stick vfat 2|g:\\ /mnt/nas nfs 4|"
       "h:\\ /media/cd udf 5|i:\\ /var/tmp ext4 6|j:\\ /media/c vfat 2|k:\\ /media/w ext4 2|l:\\ /media/sd "
       "vfat 2|"},
      {"a bind mount after its file system counts once, over-mounted points once, images never",
       "8:1 / / ext4 /dev/sda1 rw 8:2 / /a ext4 /dev/sda2 rw 8:2 / /b ext4 /dev/sda2 rw 8:3 / /a ext4 "
       "/dev/sda3 rw "
       "8:4 /x /c ext4 /dev/sda4 rw 7:1 / /snap/x squashfs /dev/loop1 ro 7:2 / /img ext4 /dev/loop2 rw "
       "0:30 / /run/user/1000/gvfs fuse.gvfsd-fuse gvfsd-fuse rw 8:5 / /e ext4 /dev/sda5 rw",
       "c:\\ / ext4 3|d:\\ /a ext4 3|e:\\ /e ext4 3|"},
      {"btrfs: a subvolume is its volume, a folder inside one a bind mount",
       "0:33 /@ / btrfs /dev/sda1 rw,subvol=/@ 0:33 /@home /home btrfs /dev/sda1 rw,subvolid=5,subvol=/@home "
       "0:34 /@/var/x /x btrfs /dev/sdc1 rw,subvol=/@ 0:35 /@data /data btrfs /dev/sdd1 rw,subvol=@data "
       "0:36 /@b /b btrfs /dev/sde1 rw 0:37 /@c /c btrfs /dev/sdf1 rw,subvol=/@cc "
       "0:38 / /bc bcachefs /dev/sdg:/dev/sdh rw 0:38 / /bc2 bcachefs /dev/sdg:/dev/sdh rw",
       "c:\\ / btrfs 3|d:\\ /data btrfs 3|e:\\ /bc bcachefs 3|"},
      {"no mount table: drive C all the same", "", "c:\\ /  3|"},
  };
  testing::TempTree tree;
  WriteDevices(tree);
  SysfsBlockDevices devices(tree.Path());
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
