// What every window of the runtime shares: the window classes, the hidden window of the runtime
// (timers, the tray icon's messages, windows destroyed later), the program's icon, and the link
// from a window handle to the peer that drives it.
#pragma once

#include "platform/windows/forms/win_api.h"

namespace sysvane::win {

// Messages of the runtime's own window.
constexpr UINT kTrayMessage = WM_APP + 1;
constexpr UINT kDestroyLater = WM_APP + 2;

// The hidden top-level window of the runtime (made with the first call). It owns the windows
// that stay out of the taskbar, receives the timers and the tray icon's messages.
HWND RuntimeWindow();
// A handler of the runtime window's messages (timers, the tray icon); true when it took one.
using RuntimeHandler = bool (*)(UINT message, WPARAM wParam, LPARAM lParam);
void AddRuntimeHandler(RuntimeHandler handler);

// Registers a window class of the program once; returns its name.
const wchar_t* WindowClass(const wchar_t* name, WNDPROC procedure, HBRUSH background = nullptr);

// A window goes at the next turn of the message loop: its peer may go inside one of its own
// messages (a button whose click unloads its window).
void DestroyLater(HWND window);

// The program's icon (resource 1) at a size in pixels, kept for the run.
HICON AppIcon(int size);

// The peer object behind a window handle, or nullptr.
void Bind(HWND window, void* peer);
void* BoundPeer(HWND window);
void Unbind(HWND window);

// The Windows mouse button and shift states of a mouse message: 1 left, 2 right, 4 middle;
// 1 Shift, 2 Ctrl, 4 Alt.
int VbButton(WPARAM keys);
int VbShift();

}  // namespace sysvane::win
