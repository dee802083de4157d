#include "platform/linux/drives.h"

#include <sys/stat.h>

#include <climits>
#include <cstdlib>
#include <optional>
#include <set>

#include "platform/kernel.h"
#include "platform/linux/kept_open_file.h"

namespace sysvane {

namespace {

constexpr std::string_view kDevPrefix = "/dev/";

bool Exists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0;
}

std::optional<std::string> RealPath(const std::string& path) {
  char resolved[PATH_MAX];
  if (realpath(path.c_str(), resolved) == nullptr) return std::nullopt;
  return std::string(resolved);
}

std::string BaseName(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool IsNetworkType(std::string_view type) {
  static const std::set<std::string_view, std::less<>> kNetwork = {
      "nfs",       "nfs4",           "cifs",        "smb3",           "smbfs",    "ncpfs",      "afs",
      "ceph",      "glusterfs",      "9p",          "davfs",          "sshfs",    "fuse.sshfs", "fuse.rclone",
      "fuse.s3fs", "fuse.glusterfs", "fuse.davfs2", "fuse.curlftpfs", "fuse.ceph"};
  return kNetwork.contains(type);
}

// File systems that are never a drive even when a block device stands behind them.
bool IsImageOrMemoryType(std::string_view type) {
  static const std::set<std::string_view, std::less<>> kExcluded = {
      "squashfs", "erofs", "tmpfs", "ramfs", "overlay", "devtmpfs", "swap", "cramfs"};
  return kExcluded.contains(type);
}

// The drive type of a mount other than "/"; nullopt when it is no drive at all. Media that holds the
// running system (a Raspberry Pi's boot partition on its root SD card) cannot be taken out: fixed.
std::optional<uint32_t> Classify(const MountEntry& mount, const std::string& device,
                                 const std::string& systemDisk, BlockDevices& devices) {
  if (IsNetworkType(mount.type)) return DRIVE_REMOTE;
  if (mount.type == "zfs") return DRIVE_FIXED;  // a dataset of a pool: its source is no device
  if (device.empty() || device.starts_with("loop") || IsImageOrMemoryType(mount.type)) return std::nullopt;
  if (device.starts_with("zram") || device.starts_with("ram")) return DRIVE_RAMDISK;
  if (device.starts_with("sr") || device.starts_with("scd")) return DRIVE_CDROM;
  if (devices.IsRemovable(device) && devices.DiskOf(device) != systemDisk) return DRIVE_REMOVABLE;
  return DRIVE_FIXED;
}

// What one drive stands for: a ZFS pool for all of its datasets, else the file system itself, whose
// device number its bind mounts and btrfs or bcachefs subvolumes share.
std::string Volume(const MountEntry& mount) {
  if (mount.type == "zfs") return "zfs:" + mount.source.substr(0, mount.source.find('/'));
  return mount.device.empty() ? mount.type + ":" + mount.source : mount.device;
}

// A mount of a folder or a single file from inside a file system (a container's /etc/hosts). A
// btrfs subvolume shows its own folder as root too, and names it again as its subvol option.
bool IsBindMount(const MountEntry& mount) {
  if (mount.root == "/") return false;
  if (mount.type != "btrfs") return true;
  const std::string options = "," + mount.superOptions + ",";
  const size_t at = options.find(",subvol=");
  if (at == std::string::npos) return true;
  // The option is written with the same octal escapes as the root field (a space as \040).
  std::string subvolume = UnescapeMountField(options.substr(at + 8, options.find(',', at + 1) - at - 8));
  if (!subvolume.starts_with('/')) subvolume = "/" + subvolume;
  return subvolume != mount.root;
}

}  // namespace

std::string PartitionDiskName(std::string_view partition) {
  size_t end = partition.size();
  while (end > 0 && partition[end - 1] >= '0' && partition[end - 1] <= '9') --end;
  if (end == partition.size() || end == 0) return std::string(partition);
  // Disks whose own names end in a digit number their partitions after a "p": nvme0n1p3, mmcblk0p2.
  if (partition[end - 1] == 'p' && end >= 2 && partition[end - 2] >= '0' && partition[end - 2] <= '9') --end;
  return std::string(partition.substr(0, end));
}

std::string SysfsBlockDevices::DeviceName(const std::string& source) {
  if (!source.starts_with(kDevPrefix)) return {};
  const std::string devFolder = JoinRoot(root_, "/dev");
  if (const auto resolved = RealPath(JoinRoot(root_, source))) {
    if (resolved->starts_with(devFolder + "/")) return resolved->substr(devFolder.size() + 1);
  }
  return source.substr(kDevPrefix.size());
}

std::string SysfsBlockDevices::DiskOf(const std::string& device) {
  const std::string classEntry = JoinRoot(root_, "/sys/class/block/" + device);
  if (Exists(classEntry + "/partition")) {
    if (const auto parent = RealPath(classEntry + "/..")) return BaseName(*parent);
  }
  if (Exists(JoinRoot(root_, "/sys/block/" + device))) return device;
  std::string disk = PartitionDiskName(device);
  return Exists(JoinRoot(root_, "/sys/block/" + disk)) ? disk : device;
}

// The kernel writes removable=0 for every card in a built-in reader (mmcblk*); only the card's own
// type tells an SD card, which comes and goes, from soldered eMMC ("MMC").
bool SysfsBlockDevices::IsRemovable(const std::string& device) {
  const std::string disk = JoinRoot(root_, "/sys/block/" + DiskOf(device));
  std::string removable, cardType;
  if (ReadWholeFile(disk + "/removable", removable) && Trim(removable) == "1") return true;
  return ReadWholeFile(disk + "/device/type", cardType) && Trim(cardType) == "SD";
}

std::vector<DriveEntry> AssignDriveLetters(const std::vector<MountEntry>& mounts, BlockDevices& devices) {
  DriveEntry system{"c:\\", "/", "", DRIVE_FIXED};
  std::set<std::string> seenVolumes;
  const MountEntry* systemMount = nullptr;
  for (const MountEntry& mount : mounts) {
    if (mount.mountPoint == "/") systemMount = &mount;  // the last mount on "/" is the one in sight
  }
  std::string systemDisk;
  if (systemMount != nullptr) {
    system.fsType = systemMount->type;
    seenVolumes.insert(Volume(*systemMount));
    const std::string systemDevice = devices.DeviceName(systemMount->source);
    if (!systemDevice.empty()) systemDisk = devices.DiskOf(systemDevice);
  }

  std::vector<DriveEntry> fixed, others;
  std::set<std::string> seenMountPoints{"/"};
  for (const MountEntry& mount : mounts) {
    if (seenMountPoints.contains(mount.mountPoint) || IsBindMount(mount)) continue;
    const auto type = Classify(mount, devices.DeviceName(mount.source), systemDisk, devices);
    if (!type || !seenVolumes.insert(Volume(mount)).second) continue;
    seenMountPoints.insert(mount.mountPoint);
    (*type == DRIVE_FIXED ? fixed : others).push_back({"", mount.mountPoint, mount.type, *type});
  }

  std::vector<DriveEntry> drives{system};
  char letter = 'd';
  for (auto* group : {&fixed, &others}) {
    for (DriveEntry& drive : *group) {
      if (letter > 'z') return drives;
      drive.root = std::string(1, letter++) + ":\\";
      drives.push_back(std::move(drive));
    }
  }
  return drives;
}

std::string DriveStrings(const std::vector<DriveEntry>& drives) {
  std::string strings;
  for (const DriveEntry& drive : drives) {
    strings += drive.root;
    strings += '\0';
  }
  strings += '\0';
  return strings;
}

}  // namespace sysvane
