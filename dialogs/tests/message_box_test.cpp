// The program's own message box: what its style and title show, and the code it returns.
#include "dialogs/message_box.h"

#include "tests/support/window_test.h"

namespace sysvane::testing {
namespace {

// Where the box and its parts lie is its fuzzer's (every part inside, the buttons in one row below
// the text) and a screenshot's; here what it says and what it answers.
TEST_F(WindowTest, TheMessageBoxShowsItsStylesButtonsAndIconAndAnswersWithTheButtonsCode) {
  // The style and title; then the caption, each visible button's caption (* on the default one, > on
  // the focused one), the icon shown, and the answer.
  auto click = [](int i) { return [i](MessageBox& b) { b.MsgButton[i].NotifyClick(); }; };
  auto escape = [](MessageBox& b) { b.NotifyKeyUp(forms::vbKeyEscape, 0); };
  const std::string box = " Sysvane Options";
  // clang-format off
  const std::tuple<int, std::string, std::function<void(MessageBox&)>, std::string> cases[] = {
      {48, "", click(0), box + " >*&OK icon 2 answer 1"}, {64, "", escape, box + " >*&OK icon 3 answer 2"},
      {16, "", click(0), box + " >*&OK icon 0 answer 1"},
      {0, std::string(40, 't'), click(0), " " + std::string(40, 't') + " >*&OK answer 1"},
      {36 + 256, "", click(1), box + " &Yes >*&No icon 1 answer 7"},
      {2 + 768, "", click(2), box + " &Abort &Retry &Ignore answer 5"},
      {1, "", [](MessageBox& b) { b.NotifyCloseRequest(); }, box + " >*&OK Cancel answer 0"},
      {6, "", escape, box + " answer 2"}, {80, "", click(0), box + " >*&OK answer 1"}};  // no fifth icon
  // clang-format on
  for (const auto& [style, title, close, expected] : cases) {
    std::string shown;
    rt.onModal = [&](forms::Form&) {
      MessageBox& b = program.messageBox();
      shown = b.Caption();
      for (int i = 0; i < 4; ++i) {
        const forms::CommandButton& button = b.MsgButton[i];
        if (button.Visible())
          shown += std::string(" ") + (button.HasFocus() ? ">" : "") + (button.Default() ? "*" : "") +
                   button.Caption();
      }
      for (int i = 0; i < 4; ++i) shown += b.MsgIcon[i].Visible() ? " icon " + std::to_string(i) : "";
      close(b);
    };
    const int answer = ShowMessageBox(program, "Hello", int16_t(style), title);
    EXPECT_EQ(shown + " answer " + std::to_string(answer), expected);
    EXPECT_FALSE(program.messageBox().Loaded());
  }
}

}  // namespace
}  // namespace sysvane::testing
