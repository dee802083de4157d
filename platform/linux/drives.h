// Drive letters for the mounted file systems: "/" is c:\ always, the other local disks follow
// from d:\ on in mount-table order, then removable media, network shares, optical discs and RAM
// disks, so that every root the program can be asked about has a letter.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/linux/proc_parsers.h"

namespace sysvane {

struct DriveEntry {
  std::string root;        // "d:\"
  std::string mountPoint;  // "/home"
  std::string fsType;      // "ext4"
  uint32_t type = 0;       // DRIVE_FIXED, DRIVE_REMOVABLE ...
};

// What the lettering needs to know of the block devices behind the mounts.
class BlockDevices {
 public:
  virtual ~BlockDevices() = default;
  // The kernel's name of the device a mount source stands for, symbolic links followed
  // ("/dev/mapper/root" -> "dm-0"); empty when the source is not a device under /dev.
  virtual std::string DeviceName(const std::string& source) = 0;
  // Whether the disk holding the device (a partition's parent) is removable media.
  virtual bool IsRemovable(const std::string& device) = 0;
  // The whole disk of a device: its parent in sys/class/block when the kernel tells, else by name.
  virtual std::string DiskOf(const std::string& device) = 0;
};

// Block devices as the kernel describes them in sys/ below a root ("/" on the live system).
class SysfsBlockDevices : public BlockDevices {
 public:
  explicit SysfsBlockDevices(std::string root) : root_(std::move(root)) {}
  std::string DeviceName(const std::string& source) override;
  bool IsRemovable(const std::string& device) override;
  std::string DiskOf(const std::string& device) override;

 private:
  std::string root_;
};

// The disk a partition name belongs to: "nvme0n1p3" -> "nvme0n1", "mmcblk0p2" -> "mmcblk0",
// "sda1" -> "sda"; a name without a partition number is returned as it is.
std::string PartitionDiskName(std::string_view partition);

// Every drive with its letter, c:\ first. Bind mounts are no drives; a file system mounted more
// than once, and a ZFS pool, is one drive, at its first mount point.
std::vector<DriveEntry> AssignDriveLetters(const std::vector<MountEntry>& mounts, BlockDevices& devices);

// The drive strings of Windows: each root ended by a NUL, one more NUL after the last.
std::string DriveStrings(const std::vector<DriveEntry>& drives);

}  // namespace sysvane
