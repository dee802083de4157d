// The command button, the check box and the option button, on the system's BUTTON class. The check
// mark follows the model only: a click asks the model, which toggles and answers.
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

// Round, model-driven like the check box: a click asks the model, which turns the others of its
// frame off.
class OptionButtonPeer : public ControlPeer {
 public:
  explicit OptionButtonPeer(forms::OptionButton& option);
  void Command(int code) override;
  HBRUSH Colors(HDC dc) override;

 protected:
  void Apply(forms::Prop prop) override;

 private:
  forms::OptionButton& option_;
};

}  // namespace sysvane::win
