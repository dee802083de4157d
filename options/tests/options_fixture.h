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
using Drives = std::vector<std::pair<std::string, std::pair<uint64_t, uint64_t>>>;

// A whole program of its own: a table's rows each start from a fresh one.
struct OptionsWorld {
  OptionsWorld() {
    fp.runtime.onModal = [this](forms::Form& form) {
      MessageBox& box = fp.program.messageBox();
      if (&form != static_cast<forms::Form*>(&box)) return;
      warnings.push_back(box.MsgText.Caption());
      box.MsgButton[0].NotifyClick();
    };
  }
  Options& Open() {
    fp.program.options().Show();
    return fp.program.options();
  }
  Menu& menu() { return fp.program.menu(); }
  // Drive C (100 GiB, 60% used) and the other drives given, each with its total and free bytes.
  void SetDrives(Drives others) {
    others.insert(others.begin(), {"c:\\", {100 * kGiB, 40 * kGiB}});
    fp.kernel.SetFixedDrives(others);
  }

  fake::FakeProgram fp;
  std::vector<std::string> warnings;
};

class OptionsFixture : public ::testing::Test, public OptionsWorld {};

}  // namespace sysvane::testing
