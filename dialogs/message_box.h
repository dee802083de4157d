// MessageBox: the program's own message box, and MessageBoxDisplay, the one operation that lays
// it out from a prompt, a style word and a title, shows it modally and returns the button's code.
#pragma once

#include <cstdint>
#include <string>

#include "platform/forms.h"

namespace sysvane {

class Program;

class MessageBox : public forms::Form {
 public:
  explicit MessageBox(Program& program);

  forms::Label MsgText{*this, "MsgText"};
  forms::ControlArray<forms::Image> MsgIcon{*this, "MsgIcon"};  // stop, question, exclamation, information
  forms::ControlArray<forms::CommandButton> MsgButton{*this, "MsgButton"};  // at most three shown

  // The code of the button that closed the box: 0 until one did (and when it closed otherwise).
  int16_t MessageBoxResult = 0;

  void MsgButton_Click(int Index);

 protected:
  void Design() override;
  void Form_Activate() override;
  void Form_KeyUp(int KeyCode, int Shift) override;
};

// The codes of the standard message box: style = buttons + 16 x (icon + 1) + 256 x default
// button; answers vbOK 1, vbCancel 2, abort 3, retry 4, ignore 5, vbYes 6, vbNo 7.
int16_t ShowMessageBox(Program& program, const std::string& Prompt, int16_t Buttons,
                       const std::string& Title);

}  // namespace sysvane
