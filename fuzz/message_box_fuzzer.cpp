// The message box laid out for any prompt, style word and title: every visible control inside the
// window's client area, the buttons in one row below the text without overlapping, the window
// within the screen's width, and the answer the code of the button that closed it.
#include <fuzzer/FuzzedDataProvider.h>

#include "dialogs/message_box.h"
#include "fuzz/fuzz_support.h"
#include "platform/fake/fake_program.h"

using namespace sysvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const auto style = input.ConsumeIntegral<int16_t>();
  const int close = input.ConsumeIntegralInRange<int>(0, 3);
  const std::string title = input.ConsumeRandomLengthString(300),
                    prompt = input.ConsumeRemainingBytesAsString();
  fake::FakeProgram fp;
  int expected = -1;
  fp.runtime.onModal = [&](forms::Form&) {
    MessageBox& box = fp.program.messageBox();
    const forms::Control* controls[] = {&box.MsgText, &box.MsgIcon[0], &box.MsgIcon[1], &box.MsgIcon[2],
                                        &box.MsgIcon[3]};
    for (const forms::Control* c : controls)
      FUZZ_CHECK(!c->Visible() ||
                 (c->Left() >= 0 && c->Top() >= 0 && c->Left() + c->Width() <= box.ScaleWidth() &&
                  c->Top() + c->Height() <= box.ScaleHeight()));
    std::vector<forms::CommandButton*> buttons;
    for (int i = 0; i < 4; ++i) {
      forms::CommandButton& b = box.MsgButton[i];
      if (!b.Visible()) continue;
      FUZZ_CHECK(b.Top() >= box.MsgText.Top() + box.MsgText.Height() &&
                 b.Top() + b.Height() <= box.ScaleHeight());
      FUZZ_CHECK(buttons.empty() || (b.Top() == buttons.back()->Top() &&
                                     buttons.back()->Left() + buttons.back()->Width() <= b.Left()));
      buttons.push_back(&b);
    }
    FUZZ_CHECK(!buttons.empty() && buttons.size() <= 3 && box.Left() >= 0 &&
               box.Left() + box.Width() <= fp.runtime.screen.Width);
    FUZZ_CHECK(buttons.back()->Left() + buttons.back()->Width() <= box.ScaleWidth() &&
               buttons[0]->Left() >= 0);
    const std::vector<std::string> codes = {"&OK", "Cancel", "&Abort", "&Retry", "&Ignore", "&Yes", "&No"};
    forms::CommandButton& pressed = *buttons[size_t(close) % buttons.size()];
    expected = int(std::find(codes.begin(), codes.end(), pressed.Caption()) - codes.begin()) + 1;
    pressed.NotifyClick();
  };
  FUZZ_CHECK(ShowMessageBox(fp.program, prompt, style, title) == expected && expected >= 1 && expected <= 7);
  FUZZ_CHECK(!fp.program.messageBox().Loaded());
  return 0;
}
