#include "platform/windows/forms/win_tray.h"

#include <cstring>

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
  data.hIcon = AppIcon(GetSystemMetrics(SM_CXSMICON));
  // The tip: szTip up to its first NUL, 63 characters at most.
  const std::wstring tip =
      windows::Wide(std::string(last_.szTip.data(), strnlen(last_.szTip.data(), kVisibleTip)));
  lstrcpynW(data.szTip, tip.c_str(), int(sizeof(data.szTip) / sizeof(wchar_t)));
  return shell_(DWORD(message), data);
}

bool Tray::Notify(int message, const forms::NOTIFYICONDATA& data) {
  switch (message) {
    case NIM_ADD:
      last_ = data;
      // Kept even when the shell refused: it is asked again until it takes the icon.
      shown_ = true;
      Add();
      return added_;
    case NIM_MODIFY: {
      if (!shown_) return false;
      forms::Form* owner = last_.hWnd;
      last_ = data;
      if (!last_.hWnd) last_.hWnd = owner;
      return added_ && Send(NIM_MODIFY);
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

bool Tray::Place(RECT& place) const {
  if (!added_) return false;
  NOTIFYICONIDENTIFIER icon{};
  icon.cbSize = sizeof(icon);
  icon.hWnd = RuntimeWindow();
  icon.uID = last_.uID;
  return SUCCEEDED(Shell_NotifyIconGetRect(&icon, &place)) && place.right > place.left;
}

}  // namespace sysvane::win
