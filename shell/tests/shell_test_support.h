// What the shell's tests share: a program on fakes, a CPU sampler that answers a set figure, and
// a probe that notes when a window unloads.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/fake/fake_program.h"
#include "shell/menu.h"
#include "stats/cpu_usage.h"

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

// A control put on a window from outside; its peer goes away when the window unloads, and says so.
class UnloadProbe {
 public:
  UnloadProbe(forms::Form& window, std::function<void()> onUnload) : label_(window, "probe") {
    label_.AttachPeer(std::make_unique<Peer>(std::move(onUnload)));
  }

 private:
  struct Peer : forms::Peer {
    explicit Peer(std::function<void()> f) : onUnload(std::move(f)) {}
    ~Peer() override { onUnload(); }
    void Changed(forms::Prop) override {}
    std::function<void()> onUnload;
  };
  forms::Label label_;
};

class ShellTest : public ::testing::Test {
 protected:
  fake::FakeProgram fp;
  fake::FakeRuntime& rt = fp.runtime;
  Program& program = fp.program;

  Menu& menu() { return program.menu(); }
  void Start() { menu().Load(); }
  void SetCpu(int32_t percent) { menu().CPUMeter = std::make_unique<FixedSampler>(percent); }
  // Saved settings with the given statistics on, and no splash to wait for.
  void Saved(const std::vector<std::string>& keysOn) {
    fp.Set("Defined", "Yes");
    fp.Set("ShowSplash", "0");
    for (const auto& key : keysOn) fp.Set(key, "1");
  }
  void MakeWindows98() {
    fp.kernel.version = OSVERSIONINFO{148, 4, 10, 2222, VER_PLATFORM_WIN32_WINDOWS, " A "};
  }
  size_t TrayCallCount(int message) const {
    size_t n = 0;
    for (const auto& call : rt.trayCalls) n += call.message == message;
    return n;
  }
};

}  // namespace sysvane::testing
