// The command button and the check box, on the system's BUTTON class. The check mark follows the
// model only: a click asks the model, which toggles and answers.
#pragma once

#include "platform/windows/forms/win_control_peer.h"

namespace sysvane::win {

class ButtonPeer : public ControlPeer {
 public:
  explicit ButtonPeer(forms::CommandButton& button);
  void Command(int code) override;

 protected:
  void Apply(forms::Prop prop) override;

 private:
  forms::CommandButton& button_;
};

class CheckBoxPeer : public ControlPeer {
 public:
  explicit CheckBoxPeer(forms::CheckBox& box);
  void Command(int code) override;
  HBRUSH Colors(HDC dc) override;

 protected:
  void Apply(forms::Prop prop) override;

 private:
  forms::CheckBox& box_;
};

}  // namespace sysvane::win
