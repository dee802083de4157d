// Drive letters over any mount table: c:\ is "/", the other drives follow from d:\ on, fixed disks
// first, each mount point and each device once.
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "platform/kernel.h"
#include "platform/linux/drives.h"

using namespace sysvane;
using sysvane::fuzz::AsText;

namespace {

// Devices named after their /dev path; a name holding "usb" is removable media.
class NamedDevices : public BlockDevices {
 public:
  std::string DeviceName(const std::string& source) override {
    return source.starts_with("/dev/") ? source.substr(5) : std::string();
  }
  bool IsRemovable(const std::string& device) override { return device.find("usb") != std::string::npos; }
};

bool IsMemoryOrImage(const std::string& type) {
  return type == "tmpfs" || type == "ramfs" || type == "squashfs" || type == "overlay" || type == "devtmpfs";
}

void CheckLettering(const std::vector<DriveEntry>& drives, const std::vector<MountEntry>& mounts) {
  FUZZ_CHECK(!drives.empty() && drives.size() <= 24);  // c: to z:
  std::string systemType;
  for (const MountEntry& mount : mounts) {
    if (mount.mountPoint == "/") systemType = mount.type;
  }
  FUZZ_CHECK(drives[0].root == "c:\\" && drives[0].mountPoint == "/" && drives[0].type == DRIVE_FIXED);
  FUZZ_CHECK(drives[0].fsType == systemType);

  std::set<std::string> mountPoints;
  bool othersBegun = false;
  for (size_t i = 0; i < drives.size(); ++i) {
    const DriveEntry& drive = drives[i];
    FUZZ_CHECK(mountPoints.insert(drive.mountPoint).second);
    if (i == 0) continue;
    FUZZ_CHECK(drive.root == std::string(1, static_cast<char>('c' + i)) + ":\\");
    FUZZ_CHECK(drive.type == DRIVE_FIXED || drive.type == DRIVE_REMOVABLE || drive.type == DRIVE_REMOTE ||
               drive.type == DRIVE_CDROM || drive.type == DRIVE_RAMDISK);
    FUZZ_CHECK(!IsMemoryOrImage(drive.fsType));
    // Fixed disks take the first letters.
    if (drive.type != DRIVE_FIXED) othersBegun = true;
    FUZZ_CHECK(!(othersBegun && drive.type == DRIVE_FIXED));
    bool mounted = false;
    for (const MountEntry& mount : mounts)
      mounted = mounted || (mount.mountPoint == drive.mountPoint && mount.type == drive.fsType);
    FUZZ_CHECK(mounted);
  }

  // The Windows drive strings hold the same roots in the same order.
  const std::string strings = DriveStrings(drives);
  FUZZ_CHECK(strings.size() >= 2 && strings.ends_with(std::string(2, '\0')));
  size_t at = 0;
  for (const DriveEntry& drive : drives) {
    FUZZ_CHECK(strings.compare(at, drive.root.size() + 1, drive.root + '\0') == 0);
    at += drive.root.size() + 1;
  }
  FUZZ_CHECK(at + 1 == strings.size());
}

bool SameDrive(const DriveEntry& a, const DriveEntry& b) {
  return a.mountPoint == b.mountPoint && a.fsType == b.fsType && a.type == b.type;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(AsText(data, size));
  NamedDevices devices;
  const auto mounts = ParseMountTable(text);
  const auto drives = AssignDriveLetters(mounts, devices);
  CheckLettering(drives, mounts);

  // File systems that are no drives change nothing.
  const std::string noDrives =
      "proc /proc proc rw 0 0\ntmpfs /run tmpfs rw 0 0\n/dev/loop7 /snap/x/1 squashfs ro 0 0\n";
  const auto same = AssignDriveLetters(ParseMountTable(text + "\n" + noDrives), devices);
  FUZZ_CHECK(same.size() == drives.size());
  for (size_t i = 0; i < drives.size(); ++i)
    FUZZ_CHECK(SameDrive(same[i], drives[i]) && same[i].root == drives[i].root);

  // A new fixed disk mounted last goes after the other fixed disks; the later drives move one
  // letter on, and the one past z: drops out.
  const std::string newPoint = "/mnt/fuzz-new-disk";
  for (const MountEntry& mount : mounts) {
    if (mount.mountPoint == newPoint || mount.source == "/dev/fuzzdisk9") return 0;
  }
  const auto grown =
      AssignDriveLetters(ParseMountTable(text + "\n/dev/fuzzdisk9 " + newPoint + " ext4 rw 0 0\n"), devices);
  size_t fixedCount = 1;
  while (fixedCount < drives.size() && drives[fixedCount].type == DRIVE_FIXED) ++fixedCount;
  if (fixedCount >= 24) {
    FUZZ_CHECK(grown.size() == drives.size());
    return 0;
  }
  FUZZ_CHECK(grown.size() == std::min<size_t>(drives.size() + 1, 24));
  for (size_t i = 0; i < grown.size(); ++i) {
    if (i < fixedCount) {
      FUZZ_CHECK(SameDrive(grown[i], drives[i]));
    } else if (i == fixedCount) {
      FUZZ_CHECK(grown[i].mountPoint == newPoint && grown[i].type == DRIVE_FIXED);
    } else {
      FUZZ_CHECK(SameDrive(grown[i], drives[i - 1]));
    }
  }
  return 0;
}
