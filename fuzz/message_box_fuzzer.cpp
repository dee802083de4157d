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
    std::vector<forms::CommandButton*> buttons;
    for (forms::Control* c : std::initializer_list<forms::Control*>{
             &box.MsgText, &box.MsgButton[0], &box.MsgButton[1], &box.MsgButton[2], &box.MsgButton[3]}) {
      if (!c->Visible()) continue;
      FUZZ_CHECK(c->Left() >= 0 && c->Top() >= 0 && c->Left() + c->Width() <= box.ScaleWidth() &&
                 c->Top() + c->Height() <= box.ScaleHeight());
      const forms::Control& last =
          buttons.empty() ? static_cast<forms::Control&>(box.MsgText) : *buttons.back();
      FUZZ_CHECK(c == &box.MsgText ||
                 (buttons.empty() ? c->Top() >= last.Top() + last.Height()  // below the text
                                  : c->Top() == last.Top() && c->Left() >= last.Left() + last.Width()));
      if (c != &box.MsgText) buttons.push_back(static_cast<forms::CommandButton*>(c));
    }
    if (buttons.empty()) return box.NotifyKeyUp(forms::vbKeyEscape, 0);
    const std::vector<std::string> codes = {"&OK", "Cancel", "&Abort", "&Retry", "&Ignore", "&Yes", "&No"};
    expected = int(std::find(codes.begin(), codes.end(), buttons[close % buttons.size()]->Caption()) -
                   codes.begin()) +
               1;
    buttons[close % buttons.size()]->NotifyClick();
  };
  FUZZ_CHECK(ShowMessageBox(fp.program, prompt, style, title) == expected &&
             !fp.program.messageBox().Loaded());
  return 0;
}
