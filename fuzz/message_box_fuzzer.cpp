// The message box laid out for any prompt, style word and title: every visible control inside the
// window's client area, the buttons in one row without overlapping, the window within the
// screen's width, and the answer the code of the button that closed it.
#include <fuzzer/FuzzedDataProvider.h>

#include <set>
#include <string>
#include <vector>

#include "dialogs/message_box.h"
#include "fuzz/fuzz_support.h"
#include "platform/fake/fake_program.h"

using namespace sysvane;

namespace {

const std::set<std::string> kCaptions = {"&OK", "Cancel", "&Abort", "&Retry", "&Ignore", "&Yes", "&No"};

int CodeOf(const std::string& caption) {
  const std::vector<std::string> order = {"&OK", "Cancel", "&Abort", "&Retry", "&Ignore", "&Yes", "&No"};
  for (size_t i = 0; i < order.size(); ++i) {
    if (order[i] == caption) return int(i) + 1;
  }
  return 0;
}

void CheckInside(const MessageBox& box, const forms::Control& control) {
  if (!control.Visible()) return;
  FUZZ_CHECK(control.Left() >= 0 && control.Top() >= 0);
  FUZZ_CHECK(control.Width() >= 0 && control.Height() >= 0);
  FUZZ_CHECK(control.Left() + control.Width() <= box.ScaleWidth());
  FUZZ_CHECK(control.Top() + control.Height() <= box.ScaleHeight());
}

// Checks the box as it is shown and closes it as `close` says; returns the answer it must give.
int CheckAndClose(MessageBox& box, const forms::ScreenInfo& screen, int close) {
  FUZZ_CHECK(box.Loaded() && box.Visible());
  CheckInside(box, box.MsgText);
  int icons = 0;
  for (int i = 0; i < 4; ++i) {
    CheckInside(box, box.MsgIcon[i]);
    icons += box.MsgIcon[i].Visible();
  }
  FUZZ_CHECK(icons <= 1);

  std::vector<int> shown;
  int defaults = 0;
  for (int i = 0; i < 4; ++i) {
    const forms::CommandButton& button = box.MsgButton[i];
    defaults += button.Default();
    if (!button.Visible()) continue;
    CheckInside(box, button);
    FUZZ_CHECK(kCaptions.contains(button.Caption()) && button.Enabled());
    shown.push_back(i);
  }
  FUZZ_CHECK(shown.size() <= 3 && defaults <= 1);
  for (size_t k = 1; k < shown.size(); ++k) {
    const forms::CommandButton& left = box.MsgButton[shown[k - 1]];
    const forms::CommandButton& right = box.MsgButton[shown[k]];
    FUZZ_CHECK(left.Top() == right.Top() && left.Left() + left.Width() <= right.Left());
  }
  // Buttons below the text, never on it.
  for (int i : shown) FUZZ_CHECK(box.MsgButton[i].Top() >= box.MsgText.Top() + box.MsgText.Height());
  FUZZ_CHECK(box.Left() >= 0 && box.Left() + box.Width() <= screen.Width);

  if (shown.empty() || close < 0) {
    box.NotifyKeyUp(forms::vbKeyEscape, 0);
    return forms::vbCancel;
  }
  const int index = shown[size_t(close) % shown.size()];
  const int code = CodeOf(box.MsgButton[index].Caption());
  box.MsgButton[index].NotifyClick();
  return code;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const auto style = input.ConsumeIntegral<int16_t>();
  const int close = input.ConsumeIntegralInRange<int>(-1, 3);
  const std::string title = input.ConsumeRandomLengthString(300);
  const std::string prompt = input.ConsumeRemainingBytesAsString();

  fake::FakeProgram fp;
  int expected = -1;
  fp.runtime.onModal = [&](forms::Form&) {
    expected = CheckAndClose(fp.program.messageBox(), fp.runtime.screen, close);
  };
  const int answer = ShowMessageBox(fp.program, prompt, style, title);
  FUZZ_CHECK(expected != -1);  // the box was shown
  FUZZ_CHECK(answer == expected);
  FUZZ_CHECK(!fp.program.messageBox().Loaded());
  return 0;
}
