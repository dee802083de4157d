// A whole program on fake services whose kernel can be told to change the machine at the worst
// moment: between the drive list and the disk query that follows it.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "platform/fake/fake_program.h"

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

struct FaultProgram : fake::ProgramOn<ScriptedKernel> {
  FaultProgram() { fake::MakeLinuxLikeMachine(kernel); }
};

}  // namespace sysvane::faults
