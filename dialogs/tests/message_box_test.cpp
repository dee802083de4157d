// The program's own message box: laid out from its prompt, style and title, and the code it returns.
#include "dialogs/message_box.h"

#include "tests/support/window_test.h"

namespace sysvane::testing {
namespace {

TEST_F(WindowTest, TheMessageBoxSizesItselfToItsTextAndAnswersWithTheButtonsCode) {
  // The fake measures 90 twips a character and 195 a line. "width": the outer width; "text":
  // left+width x height of the prompt's label; "buttons": their top, then each visible caption,
  // * on the default one, > on the focused one, @ its left (1095 wide, 105 apart, centred); "icon":
  // the one shown; "at": the box's place, centred on the 28800 x 16200 screen, 900 taller than
  // the buttons' top; then the answer.
  auto click = [](int i) { return [i](MessageBox& b) { b.MsgButton[i].NotifyClick(); }; };
  auto escape = [](MessageBox& b) { b.NotifyKeyUp(forms::vbKeyEscape, 0); };
  const std::string box = " Sysvane Options ",
                    five = "one\r\ntwo\r\nthree\r\nfour\r\nabcdefghijklmnopqrstuvwxyz1234";
  // clang-format off
  const std::tuple<std::string, int, std::string, std::function<void(MessageBox&)>, std::string> cases[] = {
      // " Sysvane Options": 16 characters x 1.28 beats the text (5 x 90 + 1290) and the button (1095 + 570).
      {"Hello", 48, "", click(0), box + "1843 text 960+553x480 buttons 750 >*&OK@374 icon 2 at 13478,7275 height 1650 answer 1"},
      {five, 64, "", escape, box + "3990 text 960+2700x975 buttons 1245 >*&OK@1447 icon 3 at 12405,7027 height 2145 answer 2"},
      {std::string(400, 'x'), 16, "", click(0), box + "28560 text 960+27270x480 buttons 750 >*&OK@13732 icon 0 at 120,7275 height 1650 answer 1"},
      {"Hi", 0, std::string(40, 't'), click(0), " " + std::string(40, 't') + " 4723 text 330+4003x480 buttons 750 >*&OK@1814 at 12038,7275 height 1650 answer 1"},
      {"Question", 36 + 256, "", click(1), box + "2865 text 960+1575x480 buttons 750 &Yes@285 >*&No@1485 icon 1 at 12967,7275 height 1650 answer 7"},
      {"Abort?", 2 + 768, "", click(2), box + "4065 text 330+3345x480 buttons 750 &Abort@285 &Retry@1485 &Ignore@2685 at 12367,7275 height 1650 answer 5"},
      {"?", 1, "", [](MessageBox& b) { b.NotifyCloseRequest(); }, box + "2865 text 330+2145x480 buttons 750 >*&OK@285 Cancel@1485 at 12967,7275 height 1650 answer 0"},
      {"?", 6, "", escape, box + "1843 text 330+1123x480 buttons 750 at 13478,7275 height 1650 answer 2"},
      {"?", 80, "", click(0), box + "1843 text 330+1123x480 buttons 750 >*&OK@374 at 13478,7275 height 1650 answer 1"}};  // no fifth icon
  // clang-format on
  for (const auto& [prompt, style, title, close, expected] : cases) {
    std::string shown;
    rt.onModal = [&](forms::Form&) {
      MessageBox& b = program.messageBox();
      auto n = [](forms::Twips t) { return std::to_string(int(t)); };
      shown = b.Caption() + " " + n(b.Width()) + " text " + n(b.MsgText.Left()) + "+" + n(b.MsgText.Width()) +
              "x" + n(b.MsgText.Height()) + " buttons " + n(b.MsgButton[0].Top());
      for (int i = 0; i < 4; ++i) {
        const forms::CommandButton& button = b.MsgButton[i];
        if (!button.Visible()) continue;
        shown += std::string(" ") + (button.HasFocus() ? ">" : "") + (button.Default() ? "*" : "") +
                 button.Caption() + "@" + n(button.Left());
      }
      for (int i = 0; i < 4; ++i) shown += b.MsgIcon[i].Visible() ? " icon " + std::to_string(i) : "";
      shown += " at " + n(b.Left()) + "," + n(b.Top()) + " height " + n(b.Height());
      close(b);
    };
    const int answer = ShowMessageBox(program, prompt, int16_t(style), title);
    EXPECT_EQ(shown + " answer " + std::to_string(answer), expected);
    EXPECT_FALSE(program.messageBox().Loaded());
  }
}

}  // namespace
}  // namespace sysvane::testing
