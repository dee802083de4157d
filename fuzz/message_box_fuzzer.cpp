// The message box laid out for any prompt, style word and title: every visible control inside the
// window's client area, the buttons in one row below the text without overlapping, and the answer
// the code of the button that closed it.
#include <fuzzer/FuzzedDataProvider.h>

#include "dialogs/message_box.h"
#include "fuzz/fuzz_support.h"
#include "platform/fake/fake_program.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const auto style = input.ConsumeIntegral<int16_t>();
  const size_t close = input.ConsumeIntegral<uint8_t>();
  const std::string title = input.ConsumeRandomLengthString(300),
                    prompt = input.ConsumeRemainingBytesAsString();
  fake::FakeProgram fp;
  int expected = forms::vbCancel;  // the answer of Escape, when no button shows
  fp.runtime.onModal = [&](forms::Form&) {
    MessageBox& box = fp.program.messageBox();
    auto inside = [&](const forms::Control& c) {
      return !c.Visible() || (c.Left() >= 0 && c.Top() >= 0 && c.Left() + c.Width() <= box.ScaleWidth() &&
                              c.Top() + c.Height() <= box.ScaleHeight());
    };
    FUZZ_CHECK(inside(box.MsgText) && inside(box.MsgIcon[0]) &&
               box.Left() + box.Width() <= fp.runtime.screen.Width);
    std::vector<forms::CommandButton*> shown;  // inside, below the text, in one row from left to right
    for (int i = 0; i < 4; ++i)
      if (forms::CommandButton& b = box.MsgButton[i]; b.Visible()) {
        FUZZ_CHECK(inside(b) && b.Top() >= box.MsgText.Top() + box.MsgText.Height() &&
                   (shown.empty() || (b.Top() == shown.back()->Top() &&
                                      b.Left() >= shown.back()->Left() + shown.back()->Width())));
        shown.push_back(&b);
      }
    if (shown.empty()) return box.NotifyKeyUp(forms::vbKeyEscape, 0);
    const std::string codes[] = {"&OK", "Cancel", "&Abort", "&Retry", "&Ignore", "&Yes", "&No"};
    expected = int(std::find(codes, codes + 7, shown[close % shown.size()]->Caption()) - codes) + 1;
    shown[close % shown.size()]->NotifyClick();
  };
  FUZZ_CHECK(ShowMessageBox(fp.program, prompt, style, title) == expected &&
             !fp.program.messageBox().Loaded());
  return 0;
}
