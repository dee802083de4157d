#include "platform/windows/forms/win_form.h"

#include <algorithm>
#include <vector>

#include "platform/windows/forms/win_control_peer.h"
#include "platform/windows/forms/win_gdi.h"
#include "platform/windows/forms/win_screen.h"
#include "platform/windows/forms/win_units.h"
#include "platform/windows/forms/win_window.h"
#include "platform/windows/wide_text.h"

namespace sysvane::win {

using forms::Prop;

namespace {

LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (FormPeer* peer = FormPeer::Of(window)) return peer->OnMessage(message, wParam, lParam);
  return DefWindowProcW(window, message, wParam, lParam);
}

DWORD StyleOf(const forms::Form& form) {
  DWORD style = WS_CLIPCHILDREN;
  if (!form.HasTitleBar()) return style | WS_POPUP;
  style |= WS_OVERLAPPED | WS_CAPTION;
  if (form.ControlBox()) style |= WS_SYSMENU;
  if (form.borderStyle() == forms::BorderStyle::Sizable)
    style |= WS_THICKFRAME | (form.ControlBox() ? WS_MINIMIZEBOX | WS_MAXIMIZEBOX : 0);
  return style;
}

DWORD ExStyleOf(const forms::Form& form) {
  DWORD style = WS_EX_CONTROLPARENT;
  // Out of the taskbar: a bare window is a tool window; a window with a title bar is owned by the
  // runtime's hidden window instead, so that it keeps a full-size caption.
  if (!form.ShowInTaskbar() && !form.HasTitleBar()) style |= WS_EX_TOOLWINDOW;
  if (form.ShowInTaskbar()) style |= WS_EX_APPWINDOW;
  if (form.HasTitleBar() && form.borderStyle() == forms::BorderStyle::FixedDialog)
    style |= WS_EX_DLGMODALFRAME;
  if (ShowsWithoutActivating(form)) style |= WS_EX_NOACTIVATE;
  if (form.OnTop()) style |= WS_EX_TOPMOST;
  return style;
}

bool PaintsBorder(const forms::Form& form) {
  return !form.HasTitleBar() && form.borderStyle() != forms::BorderStyle::None;
}

}  // namespace

bool ShowsWithoutActivating(const forms::Form& form) {
  return !form.ShowInTaskbar() && !form.HasTitleBar();
}

FormPeer* FormPeer::Of(HWND window) {
  if (!window) return nullptr;
  wchar_t name[32] = {};
  GetClassNameW(window, name, 32);
  return lstrcmpW(name, L"SysvaneForm") == 0 ? static_cast<FormPeer*>(BoundPeer(window)) : nullptr;
}

FormPeer::FormPeer(forms::Form& form) : form_(form) {
  const HWND owner = form.ShowInTaskbar() ? nullptr : RuntimeWindow();
  window_ = CreateWindowExW(ExStyleOf(form), WindowClass(L"SysvaneForm", FormProc),
                            windows::Wide(form.Caption()).c_str(), StyleOf(form), 0, 0, 1, 1, owner, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  // Made at the primary monitor's corner, the window goes to the model's place: its size is that
  // monitor's from the start.
  dpi_ = Desktop().HoldingTwips({form.Left(), form.Top()}).dpi;
  Bind(window_, this);
  ApplyGeometry();
  ApplyRegion();
  ApplyVisible();
}

FormPeer::~FormPeer() {
  Unbind(window_);
  DestroyLater(window_);
}

POINT FormPeer::ClientOrigin() const {
  if (!PaintsBorder(form_)) return {0, 0};
  const forms::FrameExtents frame = form_.Frame();
  return {TwipsToPixels(frame.left, dpi_), TwipsToPixels(frame.top, dpi_)};
}

void FormPeer::Changed(Prop prop) {
  switch (prop) {
    case Prop::Geometry:
      ApplyGeometry();
      break;
    case Prop::Visible:
      ApplyVisible();
      break;
    case Prop::Caption:
      SetWindowTextW(window_, windows::Wide(form_.Caption()).c_str());
      ApplyStyle();  // a caption can bring or take away the title bar
      break;
    case Prop::Colors:
      InvalidateRect(window_, nullptr, FALSE);
      break;
    case Prop::OnTop:
      ApplyOnTop();
      break;
    case Prop::Region:
      ApplyRegion();
      break;
    case Prop::WindowState:
      ShowWindow(window_, form_.WindowState() == forms::vbMinimized ? SW_MINIMIZE : SW_RESTORE);
      break;
    case Prop::Repaint:
      RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
      break;
    case Prop::Raise:
      SetWindowPos(window_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      if (!ShowsWithoutActivating(form_)) SetForegroundWindow(window_);
      break;
    default:
      break;
  }
}

void FormPeer::ApplyStyle() {
  const DWORD style = StyleOf(form_) | (GetWindowLongW(window_, GWL_STYLE) & WS_VISIBLE);
  if (DWORD(GetWindowLongW(window_, GWL_STYLE)) == style) return;
  SetWindowLongW(window_, GWL_STYLE, LONG(style));
  SetWindowLongW(window_, GWL_EXSTYLE, LONG(ExStyleOf(form_)));
  SetWindowPos(window_, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  ApplyGeometry();
}

void FormPeer::ApplyGeometry() {
  // The frame first: one the model did not hold yet may move the window's corner (a window against
  // the work area's bottom stays there in the real frame). While the window is being made the model
  // cannot place it itself: it is placed here either way.
  ReportFrame();
  Place(Desktop().ToPixels({form_.Left(), form_.Top(), form_.Width(), form_.Height()}, dpi_));
}

forms::FrameExtents FormPeer::SystemFrame() const {
  // Outer minus client: the caption and borders of this style at this DPI (23 pixels and more of
  // title on Windows 10 and 11, where the designed frame guessed 19).
  constexpr int kClient = 100;
  RECT outer{0, 0, kClient, kClient};
  AdjustWindowRectExForDpi(&outer, StyleOf(form_), FALSE, ExStyleOf(form_), UINT(dpi_));
  return {PixelsToTwips(-outer.left, dpi_), PixelsToTwips(-outer.top, dpi_),
          PixelsToTwips(outer.right - kClient, dpi_), PixelsToTwips(outer.bottom - kClient, dpi_)};
}

void FormPeer::ReportFrame() {
  if (!form_.HasTitleBar()) return;
  const forms::FrameExtents frame = SystemFrame();
  if (form_.Frame() != frame) form_.NotifyFrame(frame);
}

void FormPeer::Place(const PixelBox& box) {
  int width = box.Width(), height = box.Height();
  if (form_.HasTitleBar()) {
    // The system's frame around the form's client size: the controls get the room they were laid
    // out in, whatever the theme's caption height.
    RECT outer{0, 0, TwipsToPixels(form_.ScaleWidth(), dpi_), TwipsToPixels(form_.ScaleHeight(), dpi_)};
    AdjustWindowRectExForDpi(&outer, StyleOf(form_), FALSE, ExStyleOf(form_), UINT(dpi_));
    width = outer.right - outer.left;
    height = outer.bottom - outer.top;
  }
  const bool nested = placing_;  // a DPI change inside our own placement places again
  placing_ = true;
  SetWindowPos(window_, nullptr, box.left, box.top, std::max(width, 1), std::max(height, 1),
               SWP_NOZORDER | SWP_NOACTIVATE);
  placing_ = nested;
  InvalidateRect(window_, nullptr, FALSE);
}

void FormPeer::ApplyVisible() {
  if (!form_.Visible()) {
    ShowWindow(window_, SW_HIDE);
    return;
  }
  ShowWindow(window_, ShowsWithoutActivating(form_) ? SW_SHOWNOACTIVATE : SW_SHOW);
  ApplyOnTop();
  if (!ShowsWithoutActivating(form_)) SetForegroundWindow(window_);
}

void FormPeer::ApplyOnTop() {
  SetWindowPos(window_, form_.OnTop() ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void FormPeer::ApplyRegion() {
  if (const auto& r = form_.Region()) {
    // The region is the window's from now on: the system frees it.
    SetWindowRgn(window_,
                 CreateRoundRectRgn(r->left, r->top, r->right, r->bottom, r->ellipseWidth, r->ellipseHeight),
                 TRUE);
  } else {
    SetWindowRgn(window_, nullptr, TRUE);
  }
}

void FormPeer::Paint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window_, &paint);
  FillRect(dc, &paint.rcPaint, BrushOf(form_.BackColor()));
  if (PaintsBorder(form_)) {
    RECT client;
    GetClientRect(window_, &client);
    HPEN pen = CreatePen(PS_SOLID, 1, ToColorRef(forms::Color::System(forms::SystemColor::WindowFrame)));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    if (const auto& r = form_.Region()) {
      // The border follows the rounded outline of the region.
      RoundRect(dc, r->left, r->top, r->right, r->bottom, r->ellipseWidth, r->ellipseHeight);
    } else {
      Rectangle(dc, client.left, client.top, client.right, client.bottom);
    }
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
  }
  EndPaint(window_, &paint);
}

void FormPeer::PressButton(bool defaultButton) {
  for (forms::Control* control : form_.Controls()) {
    auto* button = dynamic_cast<forms::CommandButton*>(control);
    if (!button || !button->Visible() || !button->Enabled()) continue;
    if (defaultButton ? button->Default() : button->Cancel()) {
      button->NotifyClick();
      return;
    }
  }
}

void FormPeer::Moved() {
  if (placing_ || !IsWindowVisible(window_) || IsIconic(window_)) return;
  RECT outer;
  GetWindowRect(window_, &outer);
  // Our own placement comes back here too: only a position the model does not hold is news.
  const DesktopScale desktop = Desktop();
  if (desktop.ToPixels(TwipsPoint{form_.Left(), form_.Top()}) == PixelPoint{outer.left, outer.top}) return;
  const TwipsPoint at = desktop.ToTwips(PixelPoint{outer.left, outer.top});
  form_.NotifyMoved(at.x, at.y);
}

void FormPeer::DpiChanged(int dpi, const RECT& suggested) {
  // On a monitor of another DPI the same twips are other pixels: the size follows at once. Where
  // the user took the window, the system's suggested place is news for the model; where our own
  // placement took it, the model's place stands.
  dpi_ = dpi;
  if (!placing_) {
    const TwipsPoint at = Desktop().ToTwips(PixelPoint{suggested.left, suggested.top});
    form_.NotifyMoved(at.x, at.y);
  }
  // The caption does not scale with the DPI: the frame in twips changes, and the window is placed
  // again from the model at its new size.
  ApplyGeometry();
  // Each control's container learns the new DPI (a page's controls from their tab strip, so the
  // window's own controls first), then the fonts follow at that DPI, then the places that a tab
  // strip's new font moved.
  std::vector<forms::Control*> controls;
  for (bool onPage : {false, true}) {
    for (forms::Control* control : form_.Controls())
      if (control->peer() && (control->ContainerStrip() != nullptr) == onPage) controls.push_back(control);
  }
  for (Prop prop : {Prop::Geometry, Prop::Font, Prop::Geometry}) {
    for (forms::Control* control : controls) control->peer()->Changed(prop);
  }
}

LRESULT FormPeer::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (RouteFromChild(window_, message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT covers every pixel
    case WM_CLOSE:
      // The window's close command goes to the model, which unloads the window (or keeps it).
      form_.NotifyCloseRequest();
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE)
        form_.NotifyDeactivate();
      else
        form_.NotifyActivate();
      break;
    case WM_MOUSEACTIVATE:
      if (ShowsWithoutActivating(form_)) return MA_NOACTIVATE;
      break;
    case WM_WINDOWPOSCHANGED:
      if (!(reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_NOMOVE)) Moved();
      break;
    case WM_SIZE:
      if (wParam == SIZE_MINIMIZED)
        form_.NotifyWindowState(forms::vbMinimized);
      else if (wParam == SIZE_RESTORED)
        form_.NotifyWindowState(forms::vbNormal);
      break;
    case WM_MOUSEMOVE: {
      const POINT origin = ClientOrigin();
      const int x = short(LOWORD(lParam)) - origin.x, y = short(HIWORD(lParam)) - origin.y;
      form_.NotifyMouseMove(VbButton(wParam), VbShift(), PixelsToTwips(x, dpi_), PixelsToTwips(y, dpi_));
      return 0;
    }
    case WM_COMMAND:
      // Enter and Escape, as the dialog keys of the message loop report them.
      if (lParam == 0 && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        PressButton(LOWORD(wParam) == IDOK);
        return 0;
      }
      break;
    case WM_DPICHANGED:
      DpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

}  // namespace sysvane::win
