// The Win32 headers, after the forms model: the system defines some of the model's names
// (NOTIFYICONDATA, NIM_ADD, WM_MOUSEMOVE...) as macros, which would rewrite the model's own
// declarations. They are taken back here; the runtime uses the model's constants, which carry the
// same numbers.
#pragma once

#include "platform/forms.h"

// clang-format off
#include <windows.h>
#include <shellapi.h>
#include <commctrl.h>
// clang-format on

#undef NOTIFYICONDATA
#undef NIM_ADD
#undef NIM_MODIFY
#undef NIM_DELETE
#undef NIF_MESSAGE
#undef NIF_ICON
#undef NIF_TIP
#undef WM_MOUSEMOVE
#undef WM_LBUTTONDOWN
#undef WM_LBUTTONUP
#undef WM_LBUTTONDBLCLK
#undef WM_RBUTTONDOWN
#undef WM_RBUTTONUP

namespace sysvane::win {
using forms::NIF_ICON;
using forms::NIF_MESSAGE;
using forms::NIF_TIP;
using forms::NIM_ADD;
using forms::NIM_DELETE;
using forms::NIM_MODIFY;
using forms::WM_LBUTTONDBLCLK;
using forms::WM_LBUTTONDOWN;
using forms::WM_LBUTTONUP;
using forms::WM_MOUSEMOVE;
using forms::WM_RBUTTONDOWN;
using forms::WM_RBUTTONUP;
}  // namespace sysvane::win
