// What the window tests share: a program on fakes, machine figures, and texts joined for one check.
// (Whether a window's controls lie apart, a screenshot shows.)
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/fake/fake_program.h"
#include "shell/menu.h"

namespace sysvane::testing {

using fake::FixedSampler;

class WindowTest : public ::testing::Test {
 protected:
  fake::FakeProgram fp;
  fake::FakeRuntime& rt = fp.runtime;
  Program& program = fp.program;
  Menu& menu() { return program.menu(); }
  void SetMemory(uint64_t totalPhys, uint64_t availPhys, uint64_t totalVirt = 1, uint64_t availVirt = 1) {
    fp.kernel.memory = MEMORYSTATUS{32, 0, totalPhys, availPhys, 0, 0, totalVirt, availVirt};
  }
  void Power(uint8_t ac, uint8_t flag, uint8_t percent, uint32_t life = 0, uint32_t full = 0) {
    fp.kernel.power = SYSTEM_POWER_STATUS{ac, flag, percent, 0, life, full};
  }
  // Drives c: to the letters given, each with its own share used: c 50 %, d 30 %, e 40 %, f 50 % ...
  void Drives(const std::string& letters) {
    std::vector<std::pair<std::string, std::pair<uint64_t, uint64_t>>> list{{"c:\\", {1000, 500}}};
    for (char l : letters)
      list.push_back({std::string(1, l) + ":\\", {1000, uint64_t(1000 - 100 * (l - 'a'))}});
    fp.kernel.SetFixedDrives(list);
  }
};

// The texts of elements 0 to n - 1, joined by "|".
template <class F>
std::string Join(int n, F text) {
  std::string joined;
  for (int i = 0; i < n; ++i) joined.append(i ? "|" : "").append(text(i));
  return joined;
}

}  // namespace sysvane::testing
