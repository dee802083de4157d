#include "platform/windows/forms/win_message_loop.h"

#include "platform/windows/forms/win_form.h"
#include "platform/windows/forms/win_window.h"

namespace sysvane::win {

namespace {

void Dispatch(MSG& msg) {
  const HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  FormPeer* peer = FormPeer::Of(root);
  if (peer && (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP)) {
    forms::Form& form = peer->form();
    if (msg.hwnd == root || form.KeyPreview()) {
      if (msg.message == WM_KEYDOWN)
        form.NotifyKeyDown(int(msg.wParam), VbShift());
      else
        form.NotifyKeyUp(int(msg.wParam), VbShift());
    }
    peer = FormPeer::Of(root);  // the key may have unloaded the window
    if (!peer) return;
  }
  if (peer && IsDialogMessageW(root, &msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

}  // namespace

bool RunMessages(const std::function<bool()>& done) {
  MSG msg;
  while (!done()) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(int(msg.wParam));  // the loops outside end too
      return false;
    }
    if (got < 0) return false;
    Dispatch(msg);
  }
  return true;
}

}  // namespace sysvane::win
