#include "platform/windows/forms/win_tray.h"

#include <cstring>
#include <vector>

#include "platform/windows/forms/win_screen.h"
#include "platform/windows/forms/win_window.h"
#include "platform/windows/wide_text.h"

namespace sysvane::win {

namespace {

constexpr size_t kVisibleTip = 63;
constexpr UINT_PTR kRetryTimer = 0x7A1;
constexpr UINT kDeliverHeld = WM_APP + 3;
Tray* instance = nullptr;

UINT TaskbarCreated() {
  static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
  return message;
}

// A 32-bit icon of the picture's own pixels: BGRA in memory is 0xAARRGGBB in a word, and the
// alpha channel decides, so the mask is empty.
HICON IconOf(const forms::ArgbImage& image) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = image.size;
  info.bmiHeader.biHeight = -image.size;  // top-down, as the picture's rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP color = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!color) return nullptr;
  std::memcpy(bits, image.pixels.data(), image.pixels.size() * sizeof(uint32_t));
  const std::vector<uint8_t> zeros(size_t((image.size + 15) / 16 * 2) * size_t(image.size), 0);
  HBITMAP mask = CreateBitmap(image.size, image.size, 1, 1, zeros.data());
  ICONINFO parts{TRUE, 0, 0, mask, color};
  HICON icon = CreateIconIndirect(&parts);
  DeleteObject(color);
  DeleteObject(mask);
  return icon;
}

}  // namespace

Tray::Tray(std::function<forms::Twips()> twipsPerPixel, std::function<bool()> modalUp, Shell shell)
    : twipsPerPixel_(std::move(twipsPerPixel)), modalUp_(std::move(modalUp)), shell_(std::move(shell)) {
  if (!shell_)
    shell_ = [](DWORD message, NOTIFYICONDATAW& data) { return Shell_NotifyIconW(message, &data) != FALSE; };
  instance = this;
  static const bool handled = (AddRuntimeHandler(OnMessage), true);
  (void)handled;
  // A program raised to administrator hears the shell's restart only when it lets the message in.
  ChangeWindowMessageFilterEx(RuntimeWindow(), TaskbarCreated(), MSGFLT_ALLOW, nullptr);
}

Tray::~Tray() {
  KillTimer(RuntimeWindow(), kRetryTimer);
  if (added_) Send(NIM_DELETE);
  if (liveIcon_) DestroyIcon(liveIcon_);
  instance = nullptr;
}

bool Tray::OnMessage(UINT message, WPARAM, LPARAM lParam) {
  if (!instance) return false;
  if (message == kTrayMessage) {
    // A click while a modal box is up would open a second box or window over it: it waits.
    if (LOWORD(lParam) != WM_MOUSEMOVE && instance->modalUp_ && instance->modalUp_())
      instance->held_.push_back(lParam);
    else
      instance->Deliver(lParam);
    return true;
  }
  if (message == kDeliverHeld) {
    const std::vector<LPARAM> held = std::move(instance->held_);
    instance->held_.clear();
    for (LPARAM notification : held) instance->Deliver(notification);
    return true;
  }
  if (message == TaskbarCreated()) {
    instance->added_ = false;
    if (instance->shown_) instance->Add();
    return true;
  }
  return false;
}

void Tray::Deliver(LPARAM notification) {
  if (last_.hWnd) last_.hWnd->NotifyMouseMove(0, 0, forms::Twips(LOWORD(notification)) * twipsPerPixel_(), 0);
}

void Tray::ModalEnded() {
  if (!held_.empty()) PostMessageW(RuntimeWindow(), kDeliverHeld, 0, 0);
}

void CALLBACK Tray::Retry(HWND, UINT, UINT_PTR, DWORD) {
  if (instance && instance->shown_ && !instance->added_) instance->Add();
}

void Tray::Add() {
  // A shell that timed out may have taken the icon all the same: then it answers a change.
  added_ = Send(NIM_ADD) || Send(NIM_MODIFY);
  if (added_)
    KillTimer(RuntimeWindow(), kRetryTimer);
  else
    SetTimer(RuntimeWindow(), kRetryTimer, kRetryMilliseconds, Retry);
}

bool Tray::Send(int message) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = RuntimeWindow();
  data.uID = last_.uID;
  data.uFlags = last_.uFlags & (NIF_MESSAGE | NIF_ICON | NIF_TIP);
  data.uCallbackMessage = kTrayMessage;
  data.hIcon = liveIcon_ ? liveIcon_ : AppIcon(IconSize());
  // The tip: szTip up to its first NUL, 63 characters at most.
  const std::wstring tip =
      windows::Wide(std::string(last_.szTip.data(), strnlen(last_.szTip.data(), kVisibleTip)));
  lstrcpynW(data.szTip, tip.c_str(), int(sizeof(data.szTip) / sizeof(wchar_t)));
  return shell_(DWORD(message), data);
}

HICON Tray::TakeUpLiveIcon(const forms::NOTIFYICONDATA& data) {
  if (data.liveIcon == last_.liveIcon) return nullptr;
  HICON previous = liveIcon_;
  liveIcon_ = data.liveIcon ? IconOf(data.liveIcon->Draw(IconSize())) : nullptr;
  return previous;
}

bool Tray::Notify(int message, const forms::NOTIFYICONDATA& data) {
  switch (message) {
    case NIM_ADD: {
      HICON previous = TakeUpLiveIcon(data);
      last_ = data;
      // Kept even when the shell refused: it is asked again until it takes the icon.
      shown_ = true;
      Add();
      if (previous) DestroyIcon(previous);
      return added_;
    }
    case NIM_MODIFY: {
      if (!shown_) return false;
      HICON previous = TakeUpLiveIcon(data);
      forms::Form* owner = last_.hWnd;
      last_ = data;
      if (!last_.hWnd) last_.hWnd = owner;
      const bool sent = added_ && Send(NIM_MODIFY);
      if (previous) DestroyIcon(previous);  // the shell holds its own copy of the new one
      return sent;
    }
    case NIM_DELETE:
      if (!shown_) return false;
      shown_ = false;
      KillTimer(RuntimeWindow(), kRetryTimer);
      if (!added_) return false;
      added_ = false;
      return Send(NIM_DELETE);
    default:
      return false;
  }
}

int Tray::IconSize() const {
  // The monitor's own DPI, now: the process's system DPI is the primary monitor's at sign-in, and
  // the user may have changed the scale since.
  RECT place;
  return GetSystemMetricsForDpi(SM_CXSMICON, UINT(TrayMonitor(Place(place) ? &place : nullptr).dpi));
}

bool Tray::Place(RECT& place) const {
  if (!added_) return false;
  NOTIFYICONIDENTIFIER icon{};
  icon.cbSize = sizeof(icon);
  icon.hWnd = RuntimeWindow();
  icon.uID = last_.uID;
  return SUCCEEDED(Shell_NotifyIconGetRect(&icon, &place)) && place.right > place.left;
}

}  // namespace sysvane::win
