#include "platform/windows/forms/win_tray.h"

#include <cstring>
#include <vector>

#include "platform/windows/forms/win_window.h"
#include "platform/windows/wide_text.h"

namespace sysvane::win {

namespace {

constexpr size_t kVisibleTip = 63;
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

Tray::Tray(std::function<forms::Twips()> twipsPerPixel) : twipsPerPixel_(std::move(twipsPerPixel)) {
  instance = this;
  AddRuntimeHandler(OnMessage);
}

Tray::~Tray() {
  if (shown_) Send(NIM_DELETE);
  if (liveIcon_) DestroyIcon(liveIcon_);
  instance = nullptr;
}

bool Tray::OnMessage(UINT message, WPARAM, LPARAM lParam) {
  if (!instance) return false;
  if (message == kTrayMessage) {
    if (instance->last_.hWnd)
      instance->last_.hWnd->NotifyMouseMove(0, 0, forms::Twips(LOWORD(lParam)) * instance->twipsPerPixel_(),
                                            0);
    return true;
  }
  if (message == TaskbarCreated() && instance->shown_) {
    instance->Send(NIM_ADD);
    return true;
  }
  return false;
}

bool Tray::Send(int message) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = RuntimeWindow();
  data.uID = last_.uID;
  data.uFlags = last_.uFlags & (NIF_MESSAGE | NIF_ICON | NIF_TIP);
  data.uCallbackMessage = kTrayMessage;
  data.hIcon = liveIcon_ ? liveIcon_ : AppIcon(GetSystemMetrics(SM_CXSMICON));
  // The tip: szTip up to its first NUL, 63 characters at most.
  const std::wstring tip =
      windows::Wide(std::string(last_.szTip.data(), strnlen(last_.szTip.data(), kVisibleTip)));
  lstrcpynW(data.szTip, tip.c_str(), int(sizeof(data.szTip) / sizeof(wchar_t)));
  return Shell_NotifyIconW(DWORD(message), &data) != FALSE;
}

HICON Tray::TakeUpLiveIcon(const forms::NOTIFYICONDATA& data) {
  if (data.liveIcon == last_.liveIcon) return nullptr;
  HICON previous = liveIcon_;
  liveIcon_ = data.liveIcon ? IconOf(data.liveIcon->Draw(GetSystemMetrics(SM_CXSMICON))) : nullptr;
  return previous;
}

bool Tray::Notify(int message, const forms::NOTIFYICONDATA& data) {
  switch (message) {
    case NIM_ADD: {
      HICON previous = TakeUpLiveIcon(data);
      last_ = data;
      // Kept even when the shell refused: a shell that starts later is given the icon.
      shown_ = true;
      const bool sent = Send(NIM_ADD);
      if (previous) DestroyIcon(previous);
      return sent;
    }
    case NIM_MODIFY: {
      if (!shown_) return false;
      HICON previous = TakeUpLiveIcon(data);
      forms::Form* owner = last_.hWnd;
      last_ = data;
      if (!last_.hWnd) last_.hWnd = owner;
      const bool sent = Send(NIM_MODIFY);
      if (previous) DestroyIcon(previous);  // the shell holds its own copy of the new one
      return sent;
    }
    case NIM_DELETE:
      if (!shown_) return false;
      shown_ = false;
      return Send(NIM_DELETE);
    default:
      return false;
  }
}

bool Tray::Place(RECT& place) const {
  if (!shown_) return false;
  NOTIFYICONIDENTIFIER icon{};
  icon.cbSize = sizeof(icon);
  icon.hWnd = RuntimeWindow();
  icon.uID = last_.uID;
  return SUCCEEDED(Shell_NotifyIconGetRect(&icon, &place)) && place.right > place.left;
}

}  // namespace sysvane::win
