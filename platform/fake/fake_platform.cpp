#include "platform/fake/fake_platform.h"

namespace sysvane::fake {

void FakeKernel::SetFixedDrives(
    const std::vector<std::pair<std::string, std::pair<uint64_t, uint64_t>>>& drives) {
  driveRoots.clear();
  driveTypes.clear();
  disks.clear();
  for (const auto& [root, sizes] : drives) {
    driveRoots.push_back(root);
    driveTypes[root] = DRIVE_FIXED;
    disks[root] = DiskSpace{sizes.second, sizes.first, sizes.second};
  }
}

std::string FakeKernel::GetLogicalDriveStrings() {
  listed = true;
  std::string buffer;
  for (const auto& root : driveRoots) buffer += root + '\0';
  return buffer + '\0';
}

}  // namespace sysvane::fake
