// The message box laid out for any prompt, style word and title: every visible control inside the
// window's client area, the buttons in one row below the text without overlapping, the window
// within the screen's width, and the answer the code of the button that closed it.
#include <fuzzer/FuzzedDataProvider.h>

#include "dialogs/message_box.h"
#include "fuzz/fuzz_support.h"
#include "platform/fake/fake_program.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const auto style = input.ConsumeIntegral<int16_t>();
  const int close = input.ConsumeIntegralInRange<int>(0, 3);
  const std::string title = input.ConsumeRandomLengthString(300),
                    prompt = input.ConsumeRemainingBytesAsString();
  fake::FakeProgram fp;
  int expected = -1, right = 0;  // the answer the box must give; where the last button ended
  fp.runtime.onModal = [&](forms::Form&) {
    MessageBox& box = fp.program.messageBox();
    std::vector<forms::CommandButton*> buttons;
    for (forms::Control* c :
         std::initializer_list<forms::Control*>{&box.MsgText, &box.MsgIcon[0], &box.MsgButton[0],
                                                &box.MsgButton[1], &box.MsgButton[2], &box.MsgButton[3]}) {
      if (!c->Visible()) continue;
      FUZZ_CHECK(c->Left() >= right && c->Top() >= 0 && c->Left() + c->Width() <= box.ScaleWidth() &&
                 c->Top() + c->Height() <= box.ScaleHeight());
      if (c == &box.MsgText || c == &box.MsgIcon[0]) continue;
      FUZZ_CHECK(c->Top() >= box.MsgText.Top() + box.MsgText.Height());
      right = int(c->Left() + c->Width());  // buttons left to right, none over another
      buttons.push_back(static_cast<forms::CommandButton*>(c));
    }
    FUZZ_CHECK(!buttons.empty() && box.Left() >= 0 && box.Left() + box.Width() <= fp.runtime.screen.Width);
    const std::vector<std::string> codes = {"&OK", "Cancel", "&Abort", "&Retry", "&Ignore", "&Yes", "&No"};
    forms::CommandButton& pressed = *buttons[size_t(close) % buttons.size()];
    expected = int(std::find(codes.begin(), codes.end(), pressed.Caption()) - codes.begin()) + 1;
    pressed.NotifyClick();
  };
  FUZZ_CHECK(ShowMessageBox(fp.program, prompt, style, title) == expected && expected >= 1 && expected <= 7);
  FUZZ_CHECK(!fp.program.messageBox().Loaded());
  return 0;
}
