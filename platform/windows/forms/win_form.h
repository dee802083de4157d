// A window on screen. A window with a title bar has a real frame whose client area is the form's
// client size; a window with a border only is a bare popup that takes the form's outer size and
// paints its own one-pixel border (round where the window has a rounded region), its controls
// offset by that border; a window without border is bare.
#pragma once

#include "platform/windows/forms/win_api.h"

#include "platform/forms.h"
#include "platform/windows/forms/win_units.h"

namespace sysvane::win {

class FormPeer : public forms::Peer {
 public:
  explicit FormPeer(forms::Form& form);
  ~FormPeer() override;
  void Changed(forms::Prop prop) override;

  HWND Handle() const { return window_; }
  forms::Form& form() const { return form_; }
  // The DPI of the monitor the window is on.
  int Dpi() const { return dpi_; }
  // Where the client area begins, in the window's pixels.
  POINT ClientOrigin() const;
  // The peer of a window of ours, or nullptr.
  static FormPeer* Of(HWND window);

  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void ApplyStyle();
  void ApplyGeometry();
  // The system's frame around this window's style at its DPI, and telling the model of it.
  forms::FrameExtents SystemFrame() const;
  void ReportFrame();
  // The window at `box`; a window with a title bar takes the frame of its client size instead.
  void Place(const PixelBox& box);
  void ApplyVisible();
  void ApplyRegion();
  void ApplyOnTop();
  void Paint();
  void PressButton(bool defaultButton);
  void Moved();
  void DpiChanged(int dpi, const RECT& suggested);
  forms::Form& form_;
  HWND window_ = nullptr;
  int dpi_ = 96;
  bool placing_ = false;  // our own SetWindowPos: its move is no news
};

// Whether a window shows and comes forward without taking the focus (the roll-up and detail
// windows come and go beside the user's work).
bool ShowsWithoutActivating(const forms::Form& form);

}  // namespace sysvane::win
