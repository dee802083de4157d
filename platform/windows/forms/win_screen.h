// The monitors: their areas, work areas and DPIs, and which one holds the notification area.
#pragma once

#include <vector>

#include "platform/windows/forms/win_api.h"
#include "platform/windows/forms/win_desktop_scale.h"

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

// The desktop's monitors as they are now, for converting places between twips and pixels.
DesktopScale Desktop();
forms::TwipsRect ToTwips(const DesktopScale& desktop, const RECT& r);

// Per-monitor DPI awareness for the process, before its first window.
void BecomeDpiAware();

}  // namespace sysvane::win
