#include "platform/windows/forms/win_window.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace sysvane::win {

namespace {

constexpr wchar_t kPeerProperty[] = L"SysvanePeer";

std::vector<RuntimeHandler>& Handlers() {
  static std::vector<RuntimeHandler> handlers;
  return handlers;
}

LRESULT CALLBACK RuntimeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kDestroyLater) {
    const auto target = reinterpret_cast<HWND>(lParam);
    if (IsWindow(target)) DestroyWindow(target);
    return 0;
  }
  for (RuntimeHandler handler : Handlers()) {
    if (handler(message, wParam, lParam)) return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

const wchar_t* WindowClass(const wchar_t* name, WNDPROC procedure, HBRUSH background) {
  static std::set<std::wstring> registered;
  if (registered.insert(name).second) {
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof(cls);
    cls.style = CS_DBLCLKS;
    cls.lpfnWndProc = procedure;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    cls.hIcon = AppIcon(GetSystemMetrics(SM_CXICON));
    cls.hIconSm = AppIcon(GetSystemMetrics(SM_CXSMICON));
    cls.hbrBackground = background;
    cls.lpszClassName = name;
    RegisterClassExW(&cls);
  }
  return name;
}

HWND RuntimeWindow() {
  // A hidden top-level window rather than a message-only one: it owns windows and the shell
  // sends it the icon's messages.
  static const HWND window =
      CreateWindowExW(0, WindowClass(L"SysvaneRuntime", RuntimeProc), L"Sysvane", WS_POPUP, 0, 0, 0, 0,
                      nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  return window;
}

void AddRuntimeHandler(RuntimeHandler handler) {
  Handlers().push_back(handler);
}

void DestroyLater(HWND window) {
  if (!window) return;
  ShowWindow(window, SW_HIDE);
  PostMessageW(RuntimeWindow(), kDestroyLater, 0, reinterpret_cast<LPARAM>(window));
}

HICON AppIcon(int size) {
  static std::map<int, HICON> icons;
  HICON& icon = icons[size];
  if (!icon)
    icon = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
  if (!icon) icon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));  // IDI_APPLICATION
  return icon;
}

void Bind(HWND window, void* peer) {
  SetPropW(window, kPeerProperty, peer);
}

void* BoundPeer(HWND window) {
  return window ? GetPropW(window, kPeerProperty) : nullptr;
}

void Unbind(HWND window) {
  if (window) RemovePropW(window, kPeerProperty);
}

int VbButton(WPARAM keys) {
  return (keys & MK_LBUTTON ? 1 : 0) | (keys & MK_RBUTTON ? 2 : 0) | (keys & MK_MBUTTON ? 4 : 0);
}

int VbShift() {
  return (GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
         (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

}  // namespace sysvane::win
