// The program's own message box: laid out from its prompt, style and title, and the code it returns.
#include "dialogs/message_box.h"

#include "tests/support/window_test.h"

namespace sysvane::testing {
namespace {

TEST_F(WindowTest, TheMessageBoxSizesItselfToItsTextAndAnswersWithTheButtonsCode) {
  // The fake measures 90 twips a character and 195 a line. "width": the outer width; "text":
  // left+width x height of the prompt's label; "buttons": their top, then each visible caption,
  // * on the default one, > on the focused one; "icon": the one shown; then the answer.
  struct Case {
    std::string prompt;
    int style;
    std::string title;
    std::function<void(MessageBox&)> close;
    std::string shown;
  };
  auto click = [](int i) { return [i](MessageBox& b) { b.MsgButton[i].NotifyClick(); }; };
  auto escape = [](MessageBox& b) { b.NotifyKeyUp(forms::vbKeyEscape, 0); };
  const std::string box = " Sysvane Options ",
                    five = "one\r\ntwo\r\nthree\r\nfour\r\nabcdefghijklmnopqrstuvwxyz1234";
  // clang-format off
  const Case cases[] = {
      // " Sysvane Options": 16 characters x 1.28 beats the text (5 x 90 + 1290) and the button (1095 + 570).
      {"Hello", 48, "", click(0), box + "1843 text 960+553x480 buttons 750 >*&OK icon 2 answer 1"},
      {five, 64, "", escape, box + "3990 text 960+2700x975 buttons 1245 >*&OK icon 3 answer 2"},
      {std::string(400, 'x'), 16, "", click(0), box + "28560 text 960+27270x480 buttons 750 >*&OK icon 0 answer 1"},
      {"Hi", 0, std::string(40, 't'), click(0), " " + std::string(40, 't') + " 4723 text 330+4003x480 buttons 750 >*&OK answer 1"},
      {"Sure?", 4, "", click(0), box + "2865 text 330+2145x480 buttons 750 >*&Yes &No answer 6"},
      {"Question", 36 + 256, "", click(1), box + "2865 text 960+1575x480 buttons 750 &Yes >*&No icon 1 answer 7"},
      {"Abort?", 2 + 768, "", click(2), box + "4065 text 330+3345x480 buttons 750 &Abort &Retry &Ignore answer 5"},
      {"?", 3, "", click(2), box + "4065 text 330+3345x480 buttons 750 >*&Yes &No Cancel answer 2"},
      {"?", 5, "", click(0), box + "2865 text 330+2145x480 buttons 750 >*&Retry Cancel answer 4"},
      {"?", 1, "", [](MessageBox& b) { b.NotifyCloseRequest(); }, box + "2865 text 330+2145x480 buttons 750 >*&OK Cancel answer 0"},
      {"?", 6, "", escape, box + "1843 text 330+1123x480 buttons 750 answer 2"},
      {"?", 80, "", click(0), box + "1843 text 330+1123x480 buttons 750 >*&OK answer 1"}};  // no fifth icon
  // clang-format on
  for (const Case& c : cases) {
    std::string shown;
    rt.onModal = [&](forms::Form&) {
      MessageBox& b = program.messageBox();
      auto n = [](forms::Twips t) { return std::to_string(int(t)); };
      shown = b.Caption() + " " + n(b.Width()) + " text " + n(b.MsgText.Left()) + "+" + n(b.MsgText.Width()) +
              "x" + n(b.MsgText.Height()) + " buttons " + n(b.MsgButton[0].Top());
      int shownButtons = 0;  // the buttons shown: centred as a row, every button 1200 right of the one before
      for (int i = 0; i < 4; ++i) {
        const forms::CommandButton& button = b.MsgButton[i];
        if (!button.Visible()) continue;
        ++shownButtons;
        shown += std::string(" ") + (button.HasFocus() ? ">" : "") + (button.Default() ? "*" : "") +
                 button.Caption();
      }
      for (int i = 0; i < 4; ++i)
        EXPECT_EQ(b.MsgButton[i].Left(),
                  (b.Width() - (shownButtons * 1095 + (shownButtons - 1) * 105)) / 2 + 1200 * i)
            << c.shown;
      for (int i = 0; i < 4; ++i) shown += b.MsgIcon[i].Visible() ? " icon " + std::to_string(i) : "";
      EXPECT_EQ(b.Height(), b.MsgButton[0].Top() + 900);
      ExpectLaidOutApart(b);
      EXPECT_EQ(std::pair(b.Left(), b.Top()), std::pair((28800 - b.Width()) / 2, (16200 - b.Height()) / 2));
      c.close(b);
    };
    const int answer = ShowMessageBox(program, c.prompt, int16_t(c.style), c.title);
    EXPECT_EQ(shown + " answer " + std::to_string(answer), c.shown);
    EXPECT_FALSE(program.messageBox().Loaded());
  }
}

}  // namespace
}  // namespace sysvane::testing
