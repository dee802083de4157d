// What the window tests share: a program on fakes, options saved with chosen switches on, machine
// figures, a CPU sampler with a set figure, and a probe that notes the moment a window unloads.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/fake/fake_program.h"
#include "shell/menu.h"

namespace sysvane::testing {

class FixedSampler : public CPUSampler {
 public:
  explicit FixedSampler(int32_t value) : value_(value) {}
  void Initialize() override {}
  int32_t Query() override { return value_; }
  void Terminate() override {}

 private:
  int32_t value_;
};

// A control put on a window from outside: its peer goes when the window unloads, and says so.
class UnloadProbe : forms::Label {
 public:
  UnloadProbe(forms::Form& window, std::function<void()> onUnload) : forms::Label(window, "probe") {
    AttachPeer(std::make_unique<Peer>(std::move(onUnload)));
  }

 private:
  struct Peer : forms::Peer {
    explicit Peer(std::function<void()> f) : onUnload(std::move(f)) {}
    ~Peer() override { onUnload(); }
    void Changed(forms::Prop) override {}
    std::function<void()> onUnload;
  };
};

class WindowTest : public ::testing::Test {
 protected:
  fake::FakeProgram fp;
  fake::FakeRuntime& rt = fp.runtime;
  Program& program = fp.program;
  Menu& menu() { return program.menu(); }

  // Options saved once, the splash off, and these switches on.
  void Select(const std::vector<std::string>& keys) {
    fp.Set("Defined", "Yes");
    fp.Set("ShowSplash", "0");
    for (const auto& key : keys) fp.Set(key, "1");
  }
  void SetMemory(uint64_t totalPhys, uint64_t availPhys, uint64_t totalVirt = 1, uint64_t availVirt = 1) {
    fp.kernel.memory = MEMORYSTATUS{32, 0, totalPhys, availPhys, 0, 0, totalVirt, availVirt};
  }
  void Power(uint8_t ac, uint8_t flag, uint8_t percent, uint32_t life = 0, uint32_t full = 0) {
    fp.kernel.power = SYSTEM_POWER_STATUS{ac, flag, percent, 0, life, full};
  }
  void MakeWindows98() {
    fp.kernel.version = OSVERSIONINFO{148, 4, 10, 1998, VER_PLATFORM_WIN32_WINDOWS, ""};
  }
};

}  // namespace sysvane::testing
