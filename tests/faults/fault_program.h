// A whole program on fake services whose kernel can be told to change the machine at the worst
// moment: between the drive list and the disk query that follows it.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_forms.h"
#include "platform/fake/fake_platform.h"
#include "shell/program.h"

namespace sysvane::faults {

class ScriptedKernel : public fake::FakeKernel {
 public:
  // Runs once, at the first disk query after a drive list was taken.
  std::function<void()> betweenListAndQuery;

  std::string GetLogicalDriveStrings() override {
    listed_ = true;
    return FakeKernel::GetLogicalDriveStrings();
  }
  std::optional<DiskSpace> GetDiskFreeSpaceEx(const std::string& root) override {
    if (listed_ && betweenListAndQuery) std::exchange(betweenListAndQuery, nullptr)();
    listed_ = false;
    return FakeKernel::GetDiskFreeSpaceEx(root);
  }

 private:
  bool listed_ = false;
};

struct FaultProgram {
  ScriptedKernel kernel;
  fake::FakeRegistry registry;
  fake::FakeProcessorLibrary processor;
  fake::FakeResourceMeter resources;
  fake::FakeSettingsBackend settings;
  fake::FakeRuntime runtime;
  fake::FakeDesktop desktop;
  Program program{Platform{kernel, registry, processor, resources, settings, runtime, desktop}};

  FaultProgram() {
    kernel.version = OSVERSIONINFO{148, 6, 8, 0, VER_PLATFORM_WIN32_NT, ""};
    kernel.memory = MEMORYSTATUS{32, 0, 8ull << 30, 4ull << 30, 0, 0, 128ull << 40, 127ull << 40};
    kernel.SetFixedDrives({{"c:\\", {100ull << 30, 40ull << 30}}});
  }
  void Set(const std::string& key, const std::string& value) { settings.values[key] = value; }
};

}  // namespace sysvane::faults
