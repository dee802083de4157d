// The monitors: their areas, work areas and DPIs, and which one holds the notification area.
#pragma once

#include <vector>

#include "platform/windows/forms/win_api.h"

namespace sysvane::win {

struct Monitor {
  RECT area{};
  RECT work{};
  int dpi = 96;
};

// The monitor holding the tray icon at `iconPlace` (when known), else the taskbar's, else the
// primary one.
Monitor TrayMonitor(const RECT* iconPlace);
std::vector<Monitor> Monitors();

// Per-monitor DPI awareness for the process, before its first window.
void BecomeDpiAware();

}  // namespace sysvane::win
