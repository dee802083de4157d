// A whole program on fake services: what every window test starts from.
#pragma once

#include "platform/fake/fake_desktop.h"
#include "platform/fake/fake_forms.h"
#include "platform/fake/fake_platform.h"
#include "shell/program.h"

namespace sysvane::fake {

struct FakeProgram {
  FakeKernel kernel;
  FakeRegistry registry;
  FakeProcessorLibrary processor;
  FakeResourceMeter resources;
  FakeSettingsBackend settings;
  FakeRuntime runtime;
  FakeDesktop desktop;
  Program program{Platform{kernel, registry, processor, resources, settings, runtime, desktop}};

  FakeProgram() {
    // A Linux-like machine: NT-family sampler, one fixed drive C, 8 GiB of memory.
    kernel.version = OSVERSIONINFO{148, 6, 8, 0, VER_PLATFORM_WIN32_NT, ""};
    kernel.memory = MEMORYSTATUS{32, 0, 8ull << 30, 4ull << 30, 0, 0, 128ull << 40, 127ull << 40};
    kernel.SetFixedDrives({{"c:\\", {100ull << 30, 40ull << 30}}});
  }
  void Set(const std::string& key, const std::string& value) { settings.values[key] = value; }
};

}  // namespace sysvane::fake
