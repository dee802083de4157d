#include "dialogs/message_box.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_program.h"

namespace sysvane {
namespace {

// What the box looked like while it was up, and how it was closed.
struct Shown {
  forms::Twips width = 0, height = 0, left = 0, top = 0;
  forms::Twips textLeft = 0, textWidth = 0, textHeight = 0, buttonTop = 0;
  std::vector<forms::Twips> buttonLefts;
  std::vector<std::string> captions;  // of the visible buttons
  std::vector<bool> icons;
  int defaultButton = -1;
  int focused = -1;
  std::string caption;
};

class MessageBoxTest : public ::testing::Test {
 protected:
  // Shows a box and closes it with `close`; returns the result.
  int Show(
      const std::string& prompt, int style, const std::string& title,
      std::function<void(MessageBox&)> close = [](MessageBox& box) { box.MsgButton[0].NotifyClick(); }) {
    fp.runtime.onModal = [&](forms::Form&) {
      MessageBox& box = fp.program.messageBox();
      shown = Shown{};
      shown.width = box.Width();
      shown.height = box.Height();
      shown.left = box.Left();
      shown.top = box.Top();
      shown.textLeft = box.MsgText.Left();
      shown.textWidth = box.MsgText.Width();
      shown.textHeight = box.MsgText.Height();
      shown.buttonTop = box.MsgButton[0].Top();
      shown.caption = box.Caption();
      for (int i = 0; i < 4; ++i) {
        shown.buttonLefts.push_back(box.MsgButton[i].Left());
        if (box.MsgButton[i].Visible()) shown.captions.push_back(box.MsgButton[i].Caption());
        if (box.MsgButton[i].Default()) shown.defaultButton = i;
        if (box.MsgButton[i].HasFocus()) shown.focused = i;
        shown.icons.push_back(box.MsgIcon[i].Visible());
      }
      close(box);
    };
    return ShowMessageBox(fp.program, prompt, int16_t(style), title);
  }

  fake::FakeProgram fp;
  Shown shown;
};

TEST_F(MessageBoxTest, OneShortLineTakesTheCaptionsWidthAndTheIconsHeight) {
  EXPECT_EQ(Show("Hello", 48, ""), 1);
  EXPECT_EQ(shown.caption, " Sysvane Options");
  // 16 caption characters of 90 twips, times 1.28: wider than the text (5 x 90 + 1290) and
  // the one button (1095 + 570).
  EXPECT_EQ(shown.width, 1843);
  EXPECT_EQ(shown.textLeft, 960);
  EXPECT_EQ(shown.textWidth, 1843 - 1290);
  EXPECT_EQ(shown.textHeight, 480);
  EXPECT_EQ(shown.buttonTop, 750);
  EXPECT_EQ(shown.height, 1650);
  EXPECT_EQ(shown.buttonLefts[0], (1843 - 1095) / 2.0);
  EXPECT_EQ(shown.buttonLefts[3], (1843 - 1095) / 2.0 + 3 * 1200);
  EXPECT_EQ(shown.captions, std::vector<std::string>{"&OK"});
  EXPECT_EQ(shown.icons, (std::vector<bool>{false, false, true, false}));
  EXPECT_EQ(shown.defaultButton, 0);
  EXPECT_EQ(shown.focused, 0);
  EXPECT_EQ(shown.left, (28800 - 1843) / 2.0);
  EXPECT_EQ(shown.top, (16200 - 1650) / 2);
}

TEST_F(MessageBoxTest, FiveLinesPushTheButtonsDown) {
  Show("one\r\ntwo\r\nthree\r\nfour\r\nabcdefghijklmnopqrstuvwxyz1234", 64, "");
  EXPECT_EQ(shown.textHeight, 5 * 195);
  EXPECT_EQ(shown.buttonTop, 240 + 975 + 30);
  EXPECT_EQ(shown.height, 240 + 975 + 30 + 900);
  // The widest line decides the width: 30 characters.
  EXPECT_EQ(shown.width, 30 * 90 + 1290);
  EXPECT_EQ(shown.icons[3], true);
}

TEST_F(MessageBoxTest, AVeryLongLineIsCappedAtTheScreenWidth) {
  Show(std::string(400, 'x'), 16, "");
  EXPECT_EQ(shown.width, 28800 - 240);
  EXPECT_EQ(shown.textWidth, 28800 - 240 - 1290);
  EXPECT_EQ(shown.textHeight, 480);  // only explicit lines count
  EXPECT_EQ(shown.left, 120);
}

TEST_F(MessageBoxTest, ALongTitleWidensTheWindow) {
  const std::string title(40, 't');
  Show("Hi", 0, title);
  EXPECT_EQ(shown.caption, " " + title);
  EXPECT_EQ(shown.width, 4723);  // 41 x 90 x 1.28 = 4723.2
}

TEST_F(MessageBoxTest, WithoutAnIconTheTextStartsAt330) {
  EXPECT_EQ(Show("Sure?", 4, "", [](MessageBox& b) { b.MsgButton[0].NotifyClick(); }), 6);
  EXPECT_EQ(shown.textLeft, 330);
  EXPECT_EQ(shown.captions, (std::vector<std::string>{"&Yes", "&No"}));
  EXPECT_EQ(shown.icons, (std::vector<bool>{false, false, false, false}));
  // Two buttons: 2 x 1095 + 570 + 105 = 2865 beats the caption's 1843.
  EXPECT_EQ(shown.width, 2865);
  EXPECT_EQ(shown.textWidth, 2865 - 720);
  EXPECT_EQ(shown.buttonLefts[0], (2865 - 2295) / 2);
  EXPECT_EQ(shown.buttonLefts[1], (2865 - 2295) / 2 + 1200);
}

TEST_F(MessageBoxTest, TheDefaultButtonComesFromTheStyleAndTakesTheFocus) {
  Show("Question", 36 + 256, "");
  EXPECT_EQ(shown.icons[1], true);
  EXPECT_EQ(shown.defaultButton, 1);
  EXPECT_EQ(shown.focused, 1);
  // A fourth button as the default of a three-button set: none is, and no focus is moved.
  Show("Abort?", 2 + 768, "");
  EXPECT_EQ(shown.captions, (std::vector<std::string>{"&Abort", "&Retry", "&Ignore"}));
  EXPECT_EQ(shown.defaultButton, -1);
  EXPECT_EQ(shown.focused, -1);
}

TEST_F(MessageBoxTest, EveryCaptionGivesItsCode) {
  struct Case {
    int style, button, result;
  };
  for (const Case c : {Case{0, 0, 1}, Case{1, 1, 2}, Case{2, 0, 3}, Case{2, 1, 4}, Case{2, 2, 5},
                       Case{3, 0, 6}, Case{3, 1, 7}, Case{3, 2, 2}, Case{5, 0, 4}, Case{5, 1, 2}}) {
    const int result = Show("?", c.style, "", [&](MessageBox& b) { b.MsgButton[c.button].NotifyClick(); });
    EXPECT_EQ(result, c.result) << "style " << c.style << " button " << c.button;
  }
}

TEST_F(MessageBoxTest, EscapeGivesTwoAndClosingOtherwiseGivesZero) {
  EXPECT_EQ(Show("Hello", 0, "", [](MessageBox& b) { b.NotifyKeyUp(forms::vbKeyEscape, 0); }), 2);
  EXPECT_FALSE(fp.program.messageBox().Loaded());
  EXPECT_EQ(Show("Hello", 4, "", [](MessageBox& b) { b.NotifyCloseRequest(); }), 0);
  // A set without buttons can still be left with Escape.
  EXPECT_EQ(Show("Hello", 6, "", [](MessageBox& b) { b.NotifyKeyUp(forms::vbKeyEscape, 0); }), 2);
  EXPECT_TRUE(shown.captions.empty());
}

TEST_F(MessageBoxTest, EachCallStartsFromTheDesign) {
  Show("Sure?", 4 + 256, "Title");
  Show("Note", 64, "");
  EXPECT_EQ(shown.caption, " Sysvane Options");
  EXPECT_EQ(shown.captions, std::vector<std::string>{"&OK"});
  EXPECT_EQ(shown.icons, (std::vector<bool>{false, false, false, true}));
  EXPECT_EQ(shown.textLeft, 960);
  EXPECT_EQ(shown.defaultButton, 0);
}

}  // namespace
}  // namespace sysvane
