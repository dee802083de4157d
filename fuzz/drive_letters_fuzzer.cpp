// Drive letters over any mount table: c:\ is "/", the others follow from d:\ on, fixed disks first,
// each mount point once, and mounts that are no drives (memory, images, bind mounts) change nothing.
#include <set>

#include "fuzz/fuzz_support.h"
#include "platform/kernel.h"
#include "platform/linux/drives.h"

using namespace sysvane;
using namespace sysvane::fuzz;

// Devices named after their /dev path; a name holding "usb" is removable media.
class NamedDevices : public BlockDevices {
 public:
  std::string DeviceName(const std::string& source) override {
    return source.starts_with("/dev/") ? source.substr(5) : "";
  }
  bool IsRemovable(const std::string& device) override { return device.find("usb") != std::string::npos; }
};

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(AsText(data, size));
  NamedDevices devices;
  const auto drives = AssignDriveLetters(ParseMountInfo(text), devices);
  FUZZ_CHECK(!drives.empty() && drives.size() <= 24 && drives[0].root == "c:\\" &&
             drives[0].mountPoint == "/");
  std::set<std::string> mountPoints;
  for (size_t i = 0; i < drives.size(); ++i) {
    FUZZ_CHECK(mountPoints.insert(drives[i].mountPoint).second);
    FUZZ_CHECK(drives[i].root == std::string(1, char('c' + i)) + ":\\");
    FUZZ_CHECK(i < 2 ||
               !(drives[i - 1].type != DRIVE_FIXED && drives[i].type == DRIVE_FIXED));  // fixed first
  }
  FUZZ_CHECK(DriveStrings(drives).size() == 4 * drives.size() + 1);
  const auto same = AssignDriveLetters(
      ParseMountInfo(text +
                     "\n9 1 0:77 / /run rw - tmpfs tmpfs rw\n9 1 7:7 / /snap/x ro - squashfs /dev/loop7 ro\n"
                     "9 1 8:1 /folder /bound rw - ext4 /dev/sdq1 rw\n"),
      devices);
  FUZZ_CHECK(same.size() == drives.size());
  for (size_t i = 0; i < drives.size(); ++i) FUZZ_CHECK(same[i].mountPoint == drives[i].mountPoint);
  return 0;
}
