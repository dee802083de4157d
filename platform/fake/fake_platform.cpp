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

bool FakeKernel::GlobalMemoryStatus(MEMORYSTATUS& status) {
  if (!memory) return false;
  status = *memory;
  return true;
}

bool FakeKernel::GetSystemPowerStatus(SYSTEM_POWER_STATUS& status) {
  if (!power) return false;
  status = *power;
  return true;
}

bool FakeKernel::GetVersionEx(OSVERSIONINFO& info) {
  if (!version) return false;
  info = *version;
  return true;
}

std::string FakeKernel::GetLogicalDriveStrings() {
  std::string buffer;
  for (const auto& root : driveRoots) {
    buffer += root;
    buffer.push_back('\0');
  }
  buffer.push_back('\0');
  return buffer;
}

uint32_t FakeKernel::GetDriveType(const std::string& root) {
  const auto it = driveTypes.find(root);
  return it == driveTypes.end() ? DRIVE_NO_ROOT_DIR : it->second;
}

std::optional<DiskSpace> FakeKernel::GetDiskFreeSpaceEx(const std::string& root) {
  ++diskQueries;
  auto it = disks.find(root);
  if (it == disks.end()) return std::nullopt;
  return it->second;
}

std::string FakeKernel::DriveMountPoint(const std::string& root) {
  auto it = mountPoints.find(root);
  return it == mountPoints.end() ? std::string() : it->second;
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
  std::string name = KeyName(root, subKey);
  log.push_back("open " + subKey);
  auto it = keys.find(name);
  if (it == keys.end()) return std::nullopt;
  HKEY handle = next_++;
  handles_[handle] = name;
  ++openHandles;
  return handle;
}

std::optional<RegValue> FakeRegistry::RegQueryValueEx(HKEY key, const std::string& valueName,
                                                      uint32_t bufferSize) {
  auto h = handles_.find(key);
  if (h == handles_.end()) return std::nullopt;
  log.push_back("read " + valueName);
  auto& values = keys[h->second].values;
  auto v = values.find(valueName);
  if (v == values.end() || v->second.data.size() > bufferSize) return std::nullopt;
  return v->second;
}

void FakeRegistry::RegCloseKey(HKEY key) {
  auto h = handles_.find(key);
  if (h == handles_.end()) return;
  log.push_back("close");
  handles_.erase(h);
  --openHandles;
}

static void Overwrite(std::string& buffer, const std::string& text) {
  for (size_t i = 0; i < text.size() && i < buffer.size(); ++i) buffer[i] = text[i];
}

void FakeProcessorLibrary::GetProcessor(std::string& first, std::string&, std::string&) {
  Overwrite(first, name);
}

void FakeProcessorLibrary::GetProcessorRawSpeed(std::string& fourth) {
  Overwrite(fourth, speed);
}

std::optional<std::string> FakeSettingsBackend::Read(const std::string& app, const std::string& section,
                                                     const std::string& key) {
  if (app != "Sysvane" || section != "Settings") return std::nullopt;
  auto it = values.find(key);
  if (it == values.end()) return std::nullopt;
  return it->second;
}

bool FakeSettingsBackend::Write(const std::string& app, const std::string& section, const std::string& key,
                                const std::string& value) {
  writes.emplace_back(key, value);
  if (refuseWrites || app != "Sysvane" || section != "Settings") return false;
  values[key] = value;
  return true;
}

}  // namespace sysvane::fake
