// A program on fakes with the Monitor window at hand, for the monitor windows' tests.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "monitor/detail_display.h"
#include "monitor/display.h"
#include "monitor/popup.h"
#include "platform/fake/fake_program.h"
#include "shell/menu.h"

namespace sysvane::testing {

class MonitorTest : public ::testing::Test {
 protected:
  fake::FakeProgram fp;
  Display& display() { return fp.program.display(); }
  DetailDisplay& detail() { return fp.program.detailDisplay(); }
  Popup& popup() { return fp.program.popup(); }
  Menu& menu() { return fp.program.menu(); }

  // Options saved with exactly these switches on.
  void Select(const std::vector<std::string>& keys) {
    fp.Set("Defined", "Yes");
    for (const auto& key : keys) fp.Set(key, "1");
  }

  // Captions of the Monitor window's rows 0 to LastRow.
  std::vector<std::string> Captions() {
    std::vector<std::string> captions;
    for (int row = 0; row <= display().LastRow; ++row) captions.push_back(display().StatText[row].Caption());
    return captions;
  }

  // The last value written to a settings key, or "" when it was never written.
  std::string LastWrite(const std::string& key) {
    std::string value;
    for (const auto& [k, v] : fp.settings.writes)
      if (k == key) value = v;
    return value;
  }

  void SetMemory(uint64_t totalPhys, uint64_t availPhys, uint64_t totalVirtual, uint64_t availVirtual) {
    fp.kernel.memory = MEMORYSTATUS{32, 0, totalPhys, availPhys, 0, 0, totalVirtual, availVirtual};
  }
};

}  // namespace sysvane::testing
