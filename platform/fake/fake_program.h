// A whole program on fake services: what every window test starts from.
#pragma once

#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <utility>

#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_forms.h"
#include "platform/fake/fake_platform.h"
#include "shell/program.h"
#include "stats/cpu_usage.h"

namespace sysvane::fake {

// Every service a fake but the kernel, which the test chooses: a FakeKernel, a scripted one, or
// the Linux backend on a prepared folder (the arguments go to the kernel's constructor).
template <class KernelType>
struct ProgramOn {
  template <class... Args>
  explicit ProgramOn(Args&&... args) : kernel(std::forward<Args>(args)...) {}

  KernelType kernel;
  FakeRegistry registry;
  FakeProcessorLibrary processor;
  FakeResourceMeter resources;
  FakeSettingsBackend settings;
  FakeRuntime runtime;
  FakeDesktop desktop;
  Program program{Platform{kernel, registry, processor, resources, settings, runtime, desktop}};

  void Set(const std::string& key, const std::string& value) { settings.values[key] = value; }
  // Options saved once, the splash off, and the statistics named switched on: "CPU PhysMem Ddrive".
  void Select(const std::string& names) {
    Set("Defined", "Yes");
    Set("ShowSplash", "0");
    std::istringstream words(names);
    for (std::string name; words >> name;) Set("Show" + name, "1");
  }
};

// A CPU sampler that answers a set figure.
struct FixedSampler : CPUSampler {
  explicit FixedSampler(int32_t figure) : value(figure) {}
  void Initialize() override {}
  int32_t Query() override { return value; }
  void Set(int32_t figure) { value = figure; }
  void Terminate() override {}
  int32_t value;
};

// A Linux-like machine: NT-family sampler, one fixed drive C, 8 GiB of memory.
struct FakeProgram : ProgramOn<FakeKernel> {
  FakeProgram() {
    kernel.version = OSVERSIONINFO{148, 6, 8, 0, VER_PLATFORM_WIN32_NT, ""};
    kernel.memory = MEMORYSTATUS{32, 0, 8ull << 30, 4ull << 30, 0, 0, 128ull << 40, 127ull << 40};
    kernel.SetFixedDrives({{"c:\\", {100ull << 30, 40ull << 30}}});
  }
};

}  // namespace sysvane::fake
