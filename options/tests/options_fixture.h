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
  // Drive C (100 GiB, 60 % used) and the drives named: n letters after C, n x 10 GiB, (100 - 10 n) % used.
  void SetDrives(const std::string& letters) {
    std::vector<std::pair<std::string, std::pair<uint64_t, uint64_t>>> drives{
        {"c:\\", {100 * kGiB, 40 * kGiB}}};
    for (char l : letters)
      drives.push_back({std::string(1, l) + ":\\", {(l - 'c') * 10 * kGiB, (l - 'c') * (l - 'c') * kGiB}});
    fp.kernel.SetFixedDrives(drives);
  }

  fake::FakeProgram fp;
  std::vector<std::string> warnings;
};

class OptionsFixture : public ::testing::Test, public OptionsWorld {};

}  // namespace sysvane::testing
