#include "platform/windows/forms/win_tray.h"

#include <cstring>

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

}  // namespace

Tray::Tray(std::function<forms::Twips()> twipsPerPixel) : twipsPerPixel_(std::move(twipsPerPixel)) {
  instance = this;
  AddRuntimeHandler(OnMessage);
}

Tray::~Tray() {
  if (shown_) Send(NIM_DELETE);
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
  data.hIcon = AppIcon(GetSystemMetrics(SM_CXSMICON));
  // The tip: szTip up to its first NUL, 63 characters at most.
  const std::wstring tip =
      windows::Wide(std::string(last_.szTip.data(), strnlen(last_.szTip.data(), kVisibleTip)));
  lstrcpynW(data.szTip, tip.c_str(), int(sizeof(data.szTip) / sizeof(wchar_t)));
  return Shell_NotifyIconW(DWORD(message), &data) != FALSE;
}

bool Tray::Notify(int message, const forms::NOTIFYICONDATA& data) {
  switch (message) {
    case NIM_ADD:
      last_ = data;
      // Kept even when the shell refused: a shell that starts later is given the icon.
      shown_ = true;
      return Send(NIM_ADD);
    case NIM_MODIFY: {
      if (!shown_) return false;
      forms::Form* owner = last_.hWnd;
      last_ = data;
      if (!last_.hWnd) last_.hWnd = owner;
      return Send(NIM_MODIFY);
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
