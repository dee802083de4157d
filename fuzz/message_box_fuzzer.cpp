// The message box laid out for any prompt, style word and title: every visible control inside the
// window's client area, the buttons in one row below the text without overlapping, the window
// within the screen's width, and the answer the code of the button that closed it.
#include <fuzzer/FuzzedDataProvider.h>

#include "dialogs/message_box.h"
#include "fuzz/fuzz_support.h"
#include "platform/fake/fake_program.h"

using namespace sysvane;

// Checks the box as it is shown and closes it with the button `close` picks; the answer it must give.
int CheckAndClose(MessageBox& box, const forms::ScreenInfo& screen, int close) {
  const std::vector<std::string> codes = {"&OK", "Cancel", "&Abort", "&Retry", "&Ignore", "&Yes", "&No"};
  std::vector<forms::Control*> shown{&box.MsgText};
  std::vector<forms::CommandButton*> buttons;
  for (int i = 0; i < 4; ++i) {
    shown.push_back(&box.MsgIcon[i]);
    if (box.MsgButton[i].Visible()) shown.push_back(&box.MsgButton[i]), buttons.push_back(&box.MsgButton[i]);
  }
  for (const forms::Control* c : shown) {
    FUZZ_CHECK(!c->Visible() ||
               (c->Left() >= 0 && c->Top() >= 0 && c->Width() >= 0 && c->Height() >= 0 &&
                c->Left() + c->Width() <= box.ScaleWidth() && c->Top() + c->Height() <= box.ScaleHeight()));
  }
  for (size_t k = 0; k < buttons.size(); ++k) {
    FUZZ_CHECK(buttons[k]->Top() >= box.MsgText.Top() + box.MsgText.Height());
    FUZZ_CHECK(k == 0 || (buttons[k]->Top() == buttons[k - 1]->Top() &&
                          buttons[k - 1]->Left() + buttons[k - 1]->Width() <= buttons[k]->Left()));
  }
  FUZZ_CHECK(buttons.size() <= 3 && box.Left() >= 0 && box.Left() + box.Width() <= screen.Width);
  if (buttons.empty() || close < 0) {
    box.NotifyKeyUp(forms::vbKeyEscape, 0);
    return forms::vbCancel;
  }
  forms::CommandButton& button = *buttons[size_t(close) % buttons.size()];
  const auto code = std::find(codes.begin(), codes.end(), button.Caption());
  FUZZ_CHECK(code != codes.end() && button.Enabled());
  button.NotifyClick();
  return int(code - codes.begin()) + 1;
}

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
  FUZZ_CHECK(ShowMessageBox(fp.program, prompt, style, title) == expected && expected != -1);
  FUZZ_CHECK(!fp.program.messageBox().Loaded());
  return 0;
}
