#include "dialogs/message_box.h"

#include <array>
#include <vector>

#include "shell/program.h"
#include "stats/format.h"

namespace sysvane {

namespace {

constexpr forms::Twips kButtonWidth = 1095;
constexpr forms::Twips kButtonGap = 105;
constexpr forms::Twips kButtonPitch = kButtonWidth + kButtonGap;
constexpr forms::Twips kIconSize = 480;
constexpr forms::Twips kTextLeft = 960;
constexpr forms::Twips kTextLeftWithoutIcon = 330;
constexpr forms::Twips kMarginWithIcon = 1290;  // icon column and both margins
constexpr forms::Twips kMarginWithoutIcon = 720;

const std::array<const char*, 4> kIcons = {"icon-stop", "icon-question", "icon-exclamation",
                                           "icon-information"};

// The button sets of the standard message box, by the low four bits of the style.
const std::array<std::vector<const char*>, 6> kButtonSets = {{
    {"&OK"},
    {"&OK", "Cancel"},
    {"&Abort", "&Retry", "&Ignore"},
    {"&Yes", "&No", "Cancel"},
    {"&Yes", "&No"},
    {"&Retry", "Cancel"},
}};

int16_t ResultOfCaption(const std::string& caption) {
  static const std::array<std::pair<const char*, int16_t>, 7> kResults = {{
      {"&OK", 1},
      {"Cancel", 2},
      {"&Abort", 3},
      {"&Retry", 4},
      {"&Ignore", 5},
      {"&Yes", 6},
      {"&No", 7},
  }};
  for (const auto& [text, code] : kResults) {
    if (caption == text) return code;
  }
  return 0;
}

}  // namespace

MessageBox::MessageBox(Program& program) : forms::Form(program.runtime(), "MessageBox") {
  MsgButton.Click = [this](int index) { MsgButton_Click(index); };
}

void MessageBox::Design() {
  SetCaption(" Sysvane Options");
  SetBorderStyle(forms::BorderStyle::FixedSingle);
  SetControlBox(true);
  SetShowInTaskbar(false);
  SetKeyPreview(true);
  SetClientSize(5175, 1545);

  MsgText.Move(kTextLeft, 240, 3975, 480);
  MsgText.SetCaption("");
  MsgText.SetAlignment(forms::Alignment::Center);

  MsgIcon.Reset();
  for (int i = 0; i < 4; ++i) {
    if (i > 0) MsgIcon.Load(i);
    MsgIcon[i].Move(240, 240, kIconSize, kIconSize);
    MsgIcon[i].SetPicture(kIcons[i]);
    MsgIcon[i].SetVisible(false);
    MsgIcon[i].SetEnabled(false);
  }

  MsgButton.Reset();
  for (int i = 0; i < 4; ++i) {
    if (i > 0) MsgButton.Load(i);
    MsgButton[i].Move(240 + kButtonPitch * i, 960, kButtonWidth, 375);
    MsgButton[i].SetCaption("");
    MsgButton[i].SetDefault(false);
    MsgButton[i].SetVisible(false);
    MsgButton[i].SetEnabled(false);
  }
}

void MessageBox::Form_Activate() {
  for (int i = 0; i < 4; ++i) {
    if (MsgButton[i].Default()) {
      MsgButton[i].SetFocus();
      return;
    }
  }
}

void MessageBox::MsgButton_Click(int Index) {
  const int16_t code = ResultOfCaption(MsgButton[Index].Caption());
  if (code == 0) return;
  MessageBoxResult = code;
  Unload();
}

void MessageBox::Form_KeyUp(int KeyCode, int /*Shift*/) {
  // Escape closes every box, with or without a Cancel button.
  if (KeyCode != forms::vbKeyEscape) return;
  MessageBoxResult = forms::vbCancel;
  Unload();
}

int16_t ShowMessageBox(Program& program, const std::string& Prompt, int16_t Buttons,
                       const std::string& Title) {
  MessageBox& box = program.messageBox();
  forms::Runtime& runtime = program.runtime();
  box.Unload();  // each call starts from the design
  box.Load();
  if (!Title.empty()) box.SetCaption(" " + Title);
  const forms::Twips captionWidth = RoundHalfEven(runtime.TextWidth(box.font(), box.Caption()) * 1.28);

  int defaultIndex = Buttons / 256;
  if (defaultIndex < 0) defaultIndex = 0;
  const int rest = Buttons - 256 * defaultIndex;
  const int icon = rest / 16 - 1;
  const int set = Buttons & 15;
  const bool hasIcon = icon >= 0 && icon < int(kIcons.size());

  if (hasIcon) {
    box.MsgIcon[icon].SetEnabled(true);
    box.MsgIcon[icon].SetVisible(true);
  } else {
    box.MsgText.SetLeft(kTextLeftWithoutIcon);
  }

  const std::vector<const char*> none;
  const auto& captions = set < int(kButtonSets.size()) ? kButtonSets[set] : none;
  const int n = int(captions.size());
  for (int i = 0; i < n; ++i) {
    box.MsgButton[i].SetCaption(captions[i]);
    box.MsgButton[i].SetEnabled(true);
    box.MsgButton[i].SetVisible(true);
  }
  const forms::Twips buttonsWidth = n * kButtonWidth + 570 + (n - 1) * kButtonGap;
  if (defaultIndex + 1 <= n) box.MsgButton[defaultIndex].SetDefault(true);

  box.MsgText.SetCaption(Prompt);
  const forms::Twips margin = hasIcon ? kMarginWithIcon : kMarginWithoutIcon;
  const forms::Twips textWidth = RoundHalfEven(runtime.TextWidth(box.font(), Prompt) + margin);

  forms::Twips width;
  if (textWidth > buttonsWidth && textWidth > captionWidth) {
    width = textWidth;
  } else if (buttonsWidth <= captionWidth) {
    width = captionWidth;
  } else {
    width = buttonsWidth;
  }
  const forms::ScreenInfo screen = runtime.Screen();
  if (width > screen.Width - 240) width = screen.Width - 240;

  forms::Twips textHeight = runtime.TextHeight(box.font(), Prompt);
  if (textHeight < kIconSize) textHeight = kIconSize;
  box.MsgText.Move(box.MsgText.Left(), box.MsgText.Top(), width - margin, textHeight);

  const forms::Twips buttonTop = RoundHalfEven(box.MsgText.Top() + textHeight + 30);
  const forms::Twips firstLeft = (width - (n * kButtonWidth + (n - 1) * kButtonGap)) / 2;
  for (int i = 0; i < 4; ++i) {
    box.MsgButton[i].Move(firstLeft + i * kButtonPitch, buttonTop, kButtonWidth, 375);
  }
  const forms::Twips height = buttonTop + 900;
  box.Move(screen.Left + (screen.Width - width) / 2, screen.Top + (screen.Height - height) / 2, width,
           height);

  box.MessageBoxResult = 0;
  box.Show(forms::Modality::Modal);
  return box.MessageBoxResult;
}

}  // namespace sysvane
