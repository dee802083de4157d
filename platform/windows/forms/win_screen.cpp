#include "platform/windows/forms/win_screen.h"

#include <shellscalingapi.h>

namespace sysvane::win {

namespace {

Monitor Describe(HMONITOR handle) {
  Monitor monitor;
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (handle && GetMonitorInfoW(handle, &info)) {
    monitor.area = info.rcMonitor;
    monitor.work = info.rcWork;
  } else {
    // No monitor to ask: the primary screen and the work area the system keeps for it.
    monitor.area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &monitor.work, 0)) monitor.work = monitor.area;
  }
  UINT dpiX = 0, dpiY = 0;
  if (handle && SUCCEEDED(GetDpiForMonitor(handle, MDT_EFFECTIVE_DPI, &dpiX, &dpiY)) && dpiX > 0)
    monitor.dpi = int(dpiX);
  else
    monitor.dpi = int(GetDpiForSystem());
  return monitor;
}

BOOL CALLBACK Collect(HMONITOR handle, HDC, LPRECT, LPARAM list) {
  reinterpret_cast<std::vector<Monitor>*>(list)->push_back(Describe(handle));
  return TRUE;
}

}  // namespace

Monitor TrayMonitor(const RECT* iconPlace) {
  if (iconPlace) return Describe(MonitorFromRect(iconPlace, MONITOR_DEFAULTTOPRIMARY));
  if (HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr))
    return Describe(MonitorFromWindow(taskbar, MONITOR_DEFAULTTOPRIMARY));
  return Describe(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY));
}

std::vector<Monitor> Monitors() {
  std::vector<Monitor> monitors;
  EnumDisplayMonitors(nullptr, nullptr, Collect, reinterpret_cast<LPARAM>(&monitors));
  if (monitors.empty()) monitors.push_back(Describe(nullptr));
  return monitors;
}

DesktopScale Desktop() {
  std::vector<MonitorPixels> pixels;
  for (const Monitor& m : Monitors())
    pixels.push_back({m.area.left, m.area.top, m.area.right, m.area.bottom, m.dpi});
  return DesktopScale(std::move(pixels), int(GetDpiForSystem()));
}

forms::TwipsRect ToTwips(const DesktopScale& desktop, const RECT& r) {
  return desktop.ToTwips(r.left, r.top, r.right, r.bottom);
}

void BecomeDpiAware() {
  // The manifest says so too; this covers a copy of the program started without it.
  SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
}

}  // namespace sysvane::win
