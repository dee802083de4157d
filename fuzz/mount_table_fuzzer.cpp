// The mount table (/proc/self/mountinfo) with its octal escapes, and the drive letters over it:
// c:\ is "/", the others follow from d:\ on, fixed disks first, each mount point once, and mounts
// that are no drives (memory, images, bind mounts) change nothing. (How an escape or a line is read
// is the parsers' unit test's.)
#include <set>

#include "fuzz/fuzz_support.h"
#include "platform/kernel.h"
#include "platform/linux/drives.h"

std::string Letters(const std::vector<DriveEntry>& drives) {
  std::string text;
  for (const DriveEntry& d : drives) text += d.root + d.mountPoint + std::to_string(d.type) + '\0';
  return text;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text = AsText(data, size);
  FUZZ_CHECK(UnescapeMountField(text).size() <= size);  // undoing escapes never lengthens a field
  SysfsBlockDevices devices("/nonexistent");            // every device a fixed disk, named as written
  const auto drives = AssignDriveLetters(ParseMountInfo(text), devices);
  FUZZ_CHECK(drives.size() <= 24 && drives[0].root == "c:\\" &&
             DriveStrings(drives).size() == 4 * drives.size() + 1);
  std::set<std::string> mountPoints;
  for (size_t i = 0; i < drives.size(); ++i) {
    FUZZ_CHECK(mountPoints.insert(drives[i].mountPoint).second && drives[i].root[0] == char('c' + i));
    FUZZ_CHECK(i < 2 || drives[i - 1].type == DRIVE_FIXED || drives[i].type != DRIVE_FIXED);  // fixed first
  }
  const std::string others =
      "\n9 1 0:77 / /run rw - tmpfs tmpfs rw\n9 1 7:7 / /snap ro - squashfs /dev/loop7 ro\n"
      "9 1 8:1 /folder /bound rw - ext4 /dev/sdq1 rw\n";
  FUZZ_CHECK(Letters(AssignDriveLetters(ParseMountInfo(text + others), devices)) == Letters(drives));
  return 0;
}
