#include "platform/windows/forms/win_control_peer.h"

#include <algorithm>

#include "platform/windows/forms/win_bar.h"
#include "platform/windows/forms/win_buttons.h"
#include "platform/windows/forms/win_form.h"
#include "platform/windows/forms/win_gdi.h"
#include "platform/windows/forms/win_painted.h"
#include "platform/windows/forms/win_tab_strip.h"
#include "platform/windows/forms/win_window.h"
#include "platform/windows/wide_text.h"

namespace sysvane::win {

using forms::Prop;

namespace {

Container ContainerOf(forms::Control& control) {
  if (forms::TabStrip* strip = control.ContainerStrip()) {
    if (!strip->peer()) strip->AttachPeer(MakeControlPeer(*strip));
    if (auto* peer = dynamic_cast<TabStripPeer*>(strip->peer())) return peer->Page(control.ContainerPage());
  }
  auto* form = dynamic_cast<FormPeer*>(control.form().peer());
  if (!form) return {};
  return {form->Handle(), form->ClientOrigin(), form->Dpi(), control.form().BackColor()};
}

// One tip window for every control of the program.
HWND TipWindow() {
  static const HWND tips =
      CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX, 0, 0, 0, 0,
                      RuntimeWindow(), nullptr, GetModuleHandleW(nullptr), nullptr);
  return tips;
}

TTTOOLINFOW ToolOf(HWND control, const std::wstring* text) {
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = GetParent(control);
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = text ? const_cast<wchar_t*>(text->c_str()) : nullptr;
  return tool;
}

}  // namespace

ControlPeer::ControlPeer(forms::Control& control) : control_(control), container_(ContainerOf(control)) {}

ControlPeer::~ControlPeer() {
  if (!tip_.empty()) {
    TTTOOLINFOW tool = ToolOf(window_, nullptr);
    SendMessageW(TipWindow(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  Unbind(window_);
  DestroyLater(window_);
}

ControlPeer* ControlPeer::Of(HWND window) {
  if (!window || FormPeer::Of(window)) return nullptr;
  return static_cast<ControlPeer*>(BoundPeer(window));
}

void ControlPeer::Create(const wchar_t* windowClass, DWORD style, DWORD exStyle) {
  static int nextId = 1000;  // clear of IDOK and IDCANCEL, which the dialog keys send
  window_ = CreateWindowExW(exStyle, windowClass, L"", WS_CHILD | WS_CLIPSIBLINGS | style, 0, 0, 0, 0,
                            container_.window, reinterpret_cast<HMENU>(INT_PTR(nextId)),
                            GetModuleHandleW(nullptr), nullptr);
  nextId = nextId >= 60000 ? 1000 : nextId + 1;
  Bind(window_, this);
}

void ControlPeer::ApplyAll() {
  for (Prop prop : forms::kControlProperties) Changed(prop);
}

HFONT ControlPeer::Font() const {
  return FontOf(control_.font(), container_.dpi);
}

PixelBox ControlPeer::Box() const {
  return TwipsBoxToPixels(control_.Left(), control_.Top(), control_.Width(), control_.Height(),
                          container_.dpi);
}

void ControlPeer::ApplyGeometry() {
  // A page's display area moves with the strip's tabs and font: the origin is asked afresh.
  const Container now = ContainerOf(control_);
  if (now.window == container_.window) container_ = now;
  const PixelBox box = Box();
  SetWindowPos(window_, nullptr, box.left + container_.origin.x, box.top + container_.origin.y,
               std::max(box.Width(), 0), std::max(box.Height(), 0), SWP_NOZORDER | SWP_NOACTIVATE);
}

void ControlPeer::Changed(Prop prop) {
  if (!window_) return;
  switch (prop) {
    case Prop::Geometry:
      ApplyGeometry();
      Apply(prop);
      break;
    case Prop::Visible:
      ShowWindow(window_, control_.Visible() ? SW_SHOWNA : SW_HIDE);
      break;
    case Prop::Enabled:
      EnableWindow(window_, control_.Enabled());
      break;
    case Prop::ToolTip: {
      TTTOOLINFOW old = ToolOf(window_, nullptr);
      if (!tip_.empty()) SendMessageW(TipWindow(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&old));
      tip_ = windows::Wide(control_.ToolTipText());
      TTTOOLINFOW tool = ToolOf(window_, &tip_);
      if (!tip_.empty()) SendMessageW(TipWindow(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
      break;
    }
    case Prop::Font:
      SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), TRUE);
      Apply(prop);
      break;
    default:
      Apply(prop);
      break;
  }
}

void ControlPeer::SetFocus() {
  if (window_) ::SetFocus(window_);
}

std::unique_ptr<forms::Peer> MakeControlPeer(forms::Control& control) {
  // An element a window's Design loads comes before the window's own peer: the load gives it
  // its peer with the others.
  if (!control.form().peer()) return nullptr;
  if (auto* c = dynamic_cast<forms::Label*>(&control)) return std::make_unique<LabelPeer>(*c);
  if (auto* c = dynamic_cast<forms::ProgressBar*>(&control)) return std::make_unique<BarPeer>(*c);
  if (auto* c = dynamic_cast<forms::CheckBox*>(&control)) return std::make_unique<CheckBoxPeer>(*c);
  if (auto* c = dynamic_cast<forms::CommandButton*>(&control)) return std::make_unique<ButtonPeer>(*c);
  if (auto* c = dynamic_cast<forms::OptionButton*>(&control)) return std::make_unique<OptionButtonPeer>(*c);
  if (auto* c = dynamic_cast<forms::Frame*>(&control)) return std::make_unique<FramePeer>(*c);
  if (auto* c = dynamic_cast<forms::Image*>(&control)) return std::make_unique<ImagePeer>(*c);
  if (auto* c = dynamic_cast<forms::Line*>(&control)) return std::make_unique<LinePeer>(*c);
  if (auto* c = dynamic_cast<forms::TabStrip*>(&control)) return std::make_unique<TabStripPeer>(*c);
  return nullptr;
}

bool RouteFromChild(HWND, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_COMMAND:
      if (ControlPeer* peer = ControlPeer::Of(reinterpret_cast<HWND>(lParam))) {
        peer->Command(HIWORD(wParam));
        result = 0;
        return true;
      }
      return false;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (ControlPeer* peer = ControlPeer::Of(header->hwndFrom)) {
        peer->Notify(*header);
        result = 0;
        return true;
      }
      return false;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (ControlPeer* peer = ControlPeer::Of(reinterpret_cast<HWND>(lParam))) {
        if (HBRUSH brush = peer->Colors(reinterpret_cast<HDC>(wParam))) {
          result = reinterpret_cast<LRESULT>(brush);
          return true;
        }
      }
      return false;
    default:
      return false;
  }
}

}  // namespace sysvane::win
