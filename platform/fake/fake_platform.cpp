#include "platform/fake/fake_platform.h"

#include <cstdio>

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
  listed_ = true;
  std::string buffer;
  for (const auto& root : driveRoots) buffer += root + '\0';
  return buffer + '\0';
}

static std::string KeyName(HKEY root, const std::string& path) {
  char prefix[16];
  std::snprintf(prefix, sizeof prefix, "%08X", root);
  return std::string(prefix) + "\\" + path;
}

FakeRegistry::Key& FakeRegistry::Add(HKEY root, const std::string& path) {
  return keys[KeyName(root, path)];
}

std::optional<HKEY> FakeRegistry::RegOpenKeyEx(HKEY root, const std::string& subKey, uint32_t) {
  if (!keys.count(KeyName(root, subKey))) return std::nullopt;
  handles_[next_] = KeyName(root, subKey);
  ++openHandles;
  return next_++;
}

std::optional<RegValue> FakeRegistry::RegQueryValueEx(HKEY key, const std::string& valueName,
                                                      uint32_t bufferSize) {
  if (!handles_.count(key)) return std::nullopt;
  const auto& values = keys[handles_[key]].values;
  const auto value = values.find(valueName);
  if (value == values.end() || value->second.data.size() > bufferSize) return std::nullopt;
  return value->second;
}

}  // namespace sysvane::fake
