// The Options dialog on a fake Linux machine with drive C, and a message box that answers with
// its first button.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/message_box.h"
#include "options/options_dialog.h"
#include "platform/fake/fake_program.h"
#include "shell/menu.h"

namespace sysvane::testing {

constexpr uint64_t kGiB = 1ull << 30;

class OptionsFixture : public ::testing::Test {
 protected:
  OptionsFixture() {
    fp.kernel.systemName = SystemName{"Linux", "Debian GNU/Linux 12 (bookworm)", 6, 1, 76};
    fp.kernel.numberOfProcessors = 4;
    fp.processor.name = "Intel(R) Core(TM) i5";
    fp.processor.speed = "2400M";
    fp.runtime.onModal = [this](forms::Form& form) {
      MessageBox& box = fp.program.messageBox();
      if (&form != static_cast<forms::Form*>(&box)) return;
      warnings.push_back(box.MsgText.Caption());
      box.MsgButton[0].NotifyClick();
    };
  }

  Options& Open() {
    Options& options = fp.program.options();
    options.Show();
    return options;
  }
  Options& options() { return fp.program.options(); }
  Menu& menu() { return fp.program.menu(); }

  // Drive C (100 GiB, 60% used) and the other drives given, each with its total and free bytes.
  void SetDrives(const std::vector<std::pair<std::string, std::pair<uint64_t, uint64_t>>>& others) {
    std::vector<std::pair<std::string, std::pair<uint64_t, uint64_t>>> drives{
        {"c:\\", {100 * kGiB, 40 * kGiB}}};
    drives.insert(drives.end(), others.begin(), others.end());
    fp.kernel.SetFixedDrives(drives);
  }

  // The keys written, in order.
  std::vector<std::string> WrittenKeys() const {
    std::vector<std::string> keys;
    for (const auto& [key, value] : fp.settings.writes) keys.push_back(key);
    return keys;
  }

  fake::FakeProgram fp;
  std::vector<std::string> warnings;
};

}  // namespace sysvane::testing
