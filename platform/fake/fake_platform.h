// Scriptable stand-ins for the kernel, registry, outside libraries and settings store. Tests set
// the public fields to what the system should answer; nullopt means the call fails.
#pragma once

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/kernel.h"
#include "platform/outside.h"
#include "platform/registry.h"
#include "platform/settings_store.h"

namespace sysvane::fake {

struct FakeKernel : Kernel {
  std::optional<MEMORYSTATUS> memory = MEMORYSTATUS{};
  std::optional<SYSTEM_POWER_STATUS> power = SYSTEM_POWER_STATUS{1, 128, 255, 0, 0xFFFFFFFFu, 0xFFFFFFFFu};
  std::optional<OSVERSIONINFO> version;  // nullopt: GetVersionEx fails
  std::vector<std::string> driveRoots{"c:\\"};
  std::map<std::string, uint32_t> driveTypes{{"c:\\", DRIVE_FIXED}};
  std::map<std::string, DiskSpace> disks;  // a root missing here fails its query
  std::map<std::string, std::string> mountPoints{{"c:\\", "/"}};
  std::optional<uint32_t> processorCount = 1;
  std::optional<uint64_t> idleTime = 0, systemTime = 0;
  uint64_t idleResolution = 0;
  uint32_t numberOfProcessors = 1;
  std::optional<SystemName> systemName;
  // Runs once, at the first disk query after a drive list was taken: the worst moment for a change.
  std::function<void()> betweenListAndQuery;
  bool listed = false;  // a drive list was taken since the last disk query

  // Drives as "c:\", "d:\" ... all fixed, each with the given (total, free-to-caller) bytes.
  void SetFixedDrives(const std::vector<std::pair<std::string, std::pair<uint64_t, uint64_t>>>& drives);

  bool GlobalMemoryStatus(MEMORYSTATUS& status) override { return memory && (status = *memory, true); }
  bool GetSystemPowerStatus(SYSTEM_POWER_STATUS& status) override { return power && (status = *power, true); }
  bool GetVersionEx(OSVERSIONINFO& info) override { return version && (info = *version, true); }
  std::string GetLogicalDriveStrings() override;
  uint32_t GetDriveType(const std::string& root) override {
    return driveTypes.count(root) ? driveTypes[root] : DRIVE_NO_ROOT_DIR;
  }
  std::optional<DiskSpace> GetDiskFreeSpaceEx(const std::string& root) override {
    if (std::exchange(listed, false) && betweenListAndQuery) std::exchange(betweenListAndQuery, nullptr)();
    return disks.count(root) ? std::optional(disks[root]) : std::nullopt;
  }
  std::string DriveMountPoint(const std::string& root) override { return mountPoints[root]; }
  std::optional<uint32_t> QueryProcessorCount() override { return processorCount; }
  std::optional<uint64_t> QueryIdleTime() override { return idleTime; }
  std::optional<uint64_t> QuerySystemTime() override { return systemTime; }
  uint64_t IdleTimeResolution() override { return idleResolution; }
  std::optional<ProcessCounts> CountProcesses() override { return std::nullopt; }  // Windows 95's figures
  uint32_t GetNumberOfProcessors() override { return numberOfProcessors; }
  std::optional<SystemName> GetSystemName() override { return systemName; }
};

struct FakeRegistry : Registry {
  struct Key {
    std::map<std::string, RegValue> values;
  };
  int openHandles = 0;

  Key& Add(HKEY root, const std::string& path) { return keys_[{root, path}]; }
  std::optional<HKEY> RegOpenKeyEx(HKEY root, const std::string& subKey, uint32_t) override {
    if (!keys_.count({root, subKey})) return std::nullopt;
    handles_[next_] = &keys_[{root, subKey}];
    return ++openHandles, next_++;
  }
  std::optional<RegValue> RegQueryValueEx(HKEY key, const std::string& name, uint32_t bufferSize) override {
    if (!handles_.count(key) || !handles_[key]->values.count(name)) return std::nullopt;
    const RegValue& value = handles_[key]->values[name];
    return value.data.size() > bufferSize ? std::nullopt : std::optional(value);
  }
  void RegCloseKey(HKEY key) override { openHandles -= int(handles_.erase(key)); }

 private:
  std::map<std::pair<HKEY, std::string>, Key> keys_;
  std::map<HKEY, Key*> handles_;
  HKEY next_ = 0x100;
};

struct FakeProcessorLibrary : ProcessorLibrary {
  // Written into the first buffer, and into the fourth ("733M", "2.53G").
  std::string name, speed;
  void GetProcessor(std::string& first, std::string&, std::string&) override { Overwrite(first, name); }
  void GetProcessorRawSpeed(std::string& fourth) override { Overwrite(fourth, speed); }
  static void Overwrite(std::string& buffer, const std::string& text) {  // never past the buffer's end
    std::copy_n(text.begin(), std::min(text.size(), buffer.size()), buffer.begin());
  }
};

struct FakeResourceMeter : ResourceMeter {
  int free[3] = {0, 0, 0};
  int MyGetFreeSystemResources32(int kind) override { return kind >= 0 && kind < 3 ? free[kind] : 0; }
};

struct FakeSettingsBackend : SettingsBackend {
  std::map<std::string, std::string> values;  // key -> text (application "Sysvane", section "Settings")
  bool refuseWrites = false;
  std::vector<std::pair<std::string, std::string>> writes;  // in order, including refused ones
  std::optional<std::string> Read(const std::string& app, const std::string& section,
                                  const std::string& key) override {
    if (app != "Sysvane" || section != "Settings" || !values.count(key)) return std::nullopt;
    return values[key];
  }
  bool Write(const std::string& app, const std::string& section, const std::string& key,
             const std::string& value) override {
    writes.emplace_back(key, value);
    return !refuseWrites && app == "Sysvane" && section == "Settings" && (values[key] = value, true);
  }
};

}  // namespace sysvane::fake
