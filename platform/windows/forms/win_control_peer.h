// The peer of a control: a child window kept in step with the model. The base class places,
// shows, enables and tips the window; each kind of control applies its own properties.
#pragma once

#include "platform/windows/forms/win_api.h"

#include <memory>
#include <string>

#include "platform/forms.h"
#include "platform/windows/forms/win_units.h"

namespace sysvane::win {

// Where a control lives: a window (the form, or a page of a tab strip), the pixel at which the
// control's twips begin, the DPI and the background that shows behind the control.
struct Container {
  HWND window = nullptr;
  POINT origin{0, 0};
  int dpi = 96;
  forms::Color background = forms::Color::System(forms::SystemColor::ButtonFace);
};

class ControlPeer : public forms::Peer {
 public:
  explicit ControlPeer(forms::Control& control);
  ~ControlPeer() override;
  void Changed(forms::Prop prop) override;
  void SetFocus() override;

  HWND Window() const { return window_; }
  forms::Control& control() const { return control_; }
  const Container& container() const { return container_; }
  int Dpi() const { return container_.dpi; }
  static ControlPeer* Of(HWND window);

  // A notification of the control's window (WM_COMMAND's code, WM_NOTIFY).
  virtual void Command(int /*code*/) {}
  virtual void Notify(const NMHDR& /*header*/) {}
  // WM_CTLCOLOR*: the brush behind the control, or nullptr for the system's.
  virtual HBRUSH Colors(HDC /*dc*/) { return nullptr; }
  // Where the control lies, in pixels of its container's client area.
  virtual PixelBox Box() const;

 protected:
  // Makes the window; the subclass then calls ApplyAll.
  void Create(const wchar_t* windowClass, DWORD style, DWORD exStyle = 0);
  void ApplyAll();
  virtual void Apply(forms::Prop /*prop*/) {}
  // The control's font at its container's DPI.
  HFONT Font() const;

 private:
  void ApplyGeometry();
  forms::Control& control_;
  Container container_;
  HWND window_ = nullptr;
  std::wstring tip_;
};

// Makes the peer of `control` inside its container; null while the form has no peer yet.
std::unique_ptr<forms::Peer> MakeControlPeer(forms::Control& control);

// The messages a container gets from its child controls (commands, notifications, colours):
// handed to the child's peer. True when one was handled; `result` is then the answer.
bool RouteFromChild(HWND container, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

}  // namespace sysvane::win
