#include "platform/windows/forms/win_buttons.h"

#include "platform/windows/forms/win_gdi.h"
#include "platform/windows/wide_text.h"

namespace sysvane::win {

using forms::Prop;

namespace {

void SetTabStop(HWND window, bool on) {
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  SetWindowLongW(window, GWL_STYLE, on ? style | WS_TABSTOP : style & ~LONG(WS_TABSTOP));
}

// A check box's or option button's notification: BS_NOTIFY turns the second click of a quick pair
// into BN_DOUBLECLICKED, a click all the same.
void MarkCommand(forms::Control& control, int code) {
  if (code == BN_CLICKED || code == BN_DOUBLECLICKED)
    control.NotifyClick();
  else if (code == BN_SETFOCUS)
    control.NotifyGotFocus();
}

// A system colour is the container's own: a check box or option button lets it show through.
HBRUSH MarkColors(const forms::Control& control, const forms::Color& containerBack, HDC dc) {
  const forms::Color back = control.BackColor().system ? containerBack : control.BackColor();
  SetTextColor(dc, ToColorRef(control.ForeColor()));
  SetBkColor(dc, ToColorRef(back));
  return BrushOf(back);
}

}  // namespace

ButtonPeer::ButtonPeer(forms::CommandButton& button) : ControlPeer(button), button_(button) {
  Create(L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON | BS_NOTIFY);
  ApplyAll();
}

void ButtonPeer::Apply(Prop prop) {
  switch (prop) {
    case Prop::Caption:
      SetWindowTextW(Window(), windows::Wide(button_.Caption()).c_str());
      break;
    case Prop::Default:
      SendMessageW(Window(), BM_SETSTYLE, button_.Default() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
      break;
    case Prop::TabStop:
      SetTabStop(Window(), button_.TabStop());
      break;
    default:
      break;
  }
}

void ButtonPeer::Command(int code) {
  if (code == BN_CLICKED)
    button_.NotifyClick();
  else if (code == BN_SETFOCUS)
    button_.NotifyGotFocus();
}

// ---------------------------------------------------------------------------------------------

CheckBoxPeer::CheckBoxPeer(forms::CheckBox& box) : ControlPeer(box), box_(box) {
  Create(L"BUTTON", WS_TABSTOP | BS_CHECKBOX | BS_NOTIFY);
  ApplyAll();
}

void CheckBoxPeer::Apply(Prop prop) {
  switch (prop) {
    case Prop::Caption:
      SetWindowTextW(Window(), windows::Wide(box_.Caption()).c_str());
      break;
    case Prop::Value:
      SendMessageW(Window(), BM_SETSTYLE, box_.Value() == 2 ? BS_3STATE : BS_CHECKBOX, FALSE);
      SendMessageW(Window(), BM_SETCHECK,
                   box_.Value() == 1   ? BST_CHECKED
                   : box_.Value() == 2 ? BST_INDETERMINATE
                                       : BST_UNCHECKED,
                   0);
      break;
    case Prop::TabStop:
      SetTabStop(Window(), box_.TabStop());
      break;
    case Prop::Colors:
      InvalidateRect(Window(), nullptr, TRUE);
      break;
    default:
      break;
  }
}

void CheckBoxPeer::Command(int code) {
  MarkCommand(box_, code);
}

HBRUSH CheckBoxPeer::Colors(HDC dc) {
  return MarkColors(box_, container().background, dc);
}

// ---------------------------------------------------------------------------------------------

OptionButtonPeer::OptionButtonPeer(forms::OptionButton& option) : ControlPeer(option), option_(option) {
  Create(L"BUTTON", WS_TABSTOP | BS_RADIOBUTTON | BS_NOTIFY);
  ApplyAll();
}

void OptionButtonPeer::Apply(Prop prop) {
  switch (prop) {
    case Prop::Caption:
      SetWindowTextW(Window(), windows::Wide(option_.Caption()).c_str());
      break;
    case Prop::Value:
      SendMessageW(Window(), BM_SETCHECK, option_.Value() ? BST_CHECKED : BST_UNCHECKED, 0);
      break;
    case Prop::TabStop:
      SetTabStop(Window(), option_.TabStop());
      break;
    case Prop::Colors:
      InvalidateRect(Window(), nullptr, TRUE);
      break;
    default:
      break;
  }
}

void OptionButtonPeer::Command(int code) {
  MarkCommand(option_, code);
}

HBRUSH OptionButtonPeer::Colors(HDC dc) {
  return MarkColors(option_, container().background, dc);
}

}  // namespace sysvane::win
