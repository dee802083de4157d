#include "platform/linux/drives.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "platform/kernel.h"
#include "temp_tree.h"

namespace sysvane {
namespace {

using testing::TempTree;

// Devices named by their source ("/dev/sda1" -> "sda1"); removable ones listed.
class ScriptedDevices : public BlockDevices {
 public:
  std::set<std::string> removable;
  std::map<std::string, std::string> links;  // "/dev/mapper/root" -> "dm-0"
  std::string DeviceName(const std::string& source) override {
    if (const auto link = links.find(source); link != links.end()) return link->second;
    return source.starts_with("/dev/") ? source.substr(5) : "";
  }
  bool IsRemovable(const std::string& device) override { return removable.contains(device); }
};

std::vector<std::string> Roots(const std::vector<DriveEntry>& drives) {
  std::vector<std::string> roots;
  for (const auto& drive : drives) roots.push_back(drive.root + " " + drive.mountPoint);
  return roots;
}

TEST(DriveLettersTest, FixedDisksFirstThenTheOthersInTableOrder) {
  ScriptedDevices devices;
  devices.removable = {"sdb1"};
  const std::vector<MountEntry> mounts = {
      {"/dev/sdb1", "/media/stick", "vfat"},
      {"nas:/x", "/mnt/nas", "nfs"},
      {"/dev/sda2", "/", "ext4"},
      {"/dev/sr0", "/media/cd", "udf"},
      {"/dev/sda3", "/home", "xfs"},
      {"/dev/zram1", "/var/tmp", "ext4"},
      {"/dev/mapper/data", "/data", "btrfs"},
  };
  devices.links["/dev/mapper/data"] = "dm-0";
  const auto drives = AssignDriveLetters(mounts, devices);
  EXPECT_EQ(Roots(drives),
            (std::vector<std::string>{"c:\\ /", "d:\\ /home", "e:\\ /data", "f:\\ /media/stick",
                                      "g:\\ /mnt/nas", "h:\\ /media/cd", "i:\\ /var/tmp"}));
  std::vector<uint32_t> types;
  for (const auto& drive : drives) types.push_back(drive.type);
  EXPECT_EQ(types, (std::vector<uint32_t>{DRIVE_FIXED, DRIVE_FIXED, DRIVE_FIXED, DRIVE_REMOVABLE,
                                          DRIVE_REMOTE, DRIVE_CDROM, DRIVE_RAMDISK}));
  EXPECT_EQ(drives[0].fsType, "ext4");
}

TEST(DriveLettersTest, SystemFolderIsDriveCEvenWithoutADeviceAndNeverTwice) {
  ScriptedDevices devices;
  // A container: "/" is an overlay; the root device shows up again as a bind mount.
  const std::vector<MountEntry> mounts = {
      {"overlay", "/", "overlay"},
      {"/dev/vda", "/etc/hosts", "ext4"},
      {"/dev/vda", "/etc/hostname", "ext4"},
      {"/dev/loop3", "/snap/x/1", "squashfs"},
      {"/dev/loop4", "/mnt/image", "ext4"},
      {"tmpfs", "/tmp", "tmpfs"},
      {"gvfsd-fuse", "/run/user/1000/gvfs", "fuse.gvfsd-fuse"},
  };
  const auto drives = AssignDriveLetters(mounts, devices);
  EXPECT_EQ(Roots(drives), (std::vector<std::string>{"c:\\ /", "d:\\ /etc/hosts"}));
  EXPECT_EQ(drives[0].fsType, "overlay");

  // Without any mount table drive C is still there.
  EXPECT_EQ(Roots(AssignDriveLetters({}, devices)), (std::vector<std::string>{"c:\\ /"}));
  EXPECT_EQ(DriveStrings(AssignDriveLetters({}, devices)), std::string("c:\\\0\0", 5));
}

TEST(DriveLettersTest, LettersStopAtZ) {
  ScriptedDevices devices;
  std::vector<MountEntry> mounts{{"/dev/sda1", "/", "ext4"}};
  for (int i = 0; i < 30; ++i)
    mounts.push_back({"/dev/sdx" + std::to_string(i), "/m" + std::to_string(i), "ext4"});
  const auto drives = AssignDriveLetters(mounts, devices);
  ASSERT_EQ(drives.size(), 24u);  // c: and d: to z:
  EXPECT_EQ(drives.back().root, "z:\\");
  EXPECT_EQ(drives.back().mountPoint, "/m22");
}

TEST(SysfsBlockDevicesTest, PartitionsFindTheirDiskThroughTheClassFolder) {
  // The live layout: sys/class/block entries link into sys/devices, a partition's folder lies
  // inside its disk's folder, and only the disk has "removable".
  TempTree tree;
  const std::string disk = "sys/devices/pci0000:00/usb1/block/sdc";
  tree.Write(disk + "/removable", "1\n");
  tree.Write(disk + "/sdc1/partition", "1\n");
  tree.Link("../../devices/pci0000:00/usb1/block/sdc", "sys/class/block/sdc");
  tree.Link("../../devices/pci0000:00/usb1/block/sdc/sdc1", "sys/class/block/sdc1");
  tree.Link("../devices/pci0000:00/usb1/block/sdc", "sys/block/sdc");
  // An odd name the name rule would get wrong: the class folder decides.
  const std::string nbd = "sys/devices/virtual/block/weird7";
  tree.Write(nbd + "/removable", "0\n");
  tree.Write(nbd + "/weird7x1/partition", "1\n");
  tree.Link("../../devices/virtual/block/weird7/weird7x1", "sys/class/block/weird7x1");
  tree.Link("../devices/virtual/block/weird7", "sys/block/weird7");

  SysfsBlockDevices devices(tree.Path());
  EXPECT_EQ(devices.DiskOf("sdc1"), "sdc");
  EXPECT_EQ(devices.DiskOf("sdc"), "sdc");
  EXPECT_EQ(devices.DiskOf("weird7x1"), "weird7");
  EXPECT_TRUE(devices.IsRemovable("sdc1"));
  EXPECT_FALSE(devices.IsRemovable("weird7x1"));
  EXPECT_FALSE(devices.IsRemovable("unknown9"));
}

TEST(SysfsBlockDevicesTest, DeviceLinksAreFollowed) {
  TempTree tree;
  tree.Write("dev/dm-0", "");
  tree.Link("../dm-0", "dev/mapper/cryptroot");
  tree.Link("../../dm-0", "dev/disk/by-uuid/1234");
  SysfsBlockDevices devices(tree.Path());
  EXPECT_EQ(devices.DeviceName("/dev/mapper/cryptroot"), "dm-0");
  EXPECT_EQ(devices.DeviceName("/dev/disk/by-uuid/1234"), "dm-0");
  EXPECT_EQ(devices.DeviceName("/dev/sda1"), "sda1");  // not there: the name as written
  EXPECT_EQ(devices.DeviceName("nas:/export"), "");
  EXPECT_EQ(devices.DeviceName("tmpfs"), "");
}

}  // namespace
}  // namespace sysvane
