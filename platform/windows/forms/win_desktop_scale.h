// One rule for twips and pixels on a desktop of monitors of different DPI. A window's position is
// a point of the desktop: each monitor's corner lies where the system DPI puts it, and a point
// inside the monitor lies that monitor's own twips from the corner, so that a position saved on a
// monitor comes back on the same pixel, and a window's size (at the DPI of its monitor) and its
// place add up to the pixels the monitor shows. Plain C++, tested on both systems.
#pragma once

#include <vector>

#include "platform/forms.h"
#include "platform/windows/forms/win_units.h"

namespace sysvane::win {

// A monitor's rectangle in desktop pixels and its DPI.
struct MonitorPixels {
  int left = 0, top = 0, right = 0, bottom = 0;
  int dpi = 96;
};

struct PixelPoint {
  int x = 0, y = 0;
  bool operator==(const PixelPoint&) const = default;
};

struct TwipsPoint {
  forms::Twips x = 0, y = 0;
  bool operator==(const TwipsPoint&) const = default;
};

class DesktopScale {
 public:
  // `systemDpi` scales the monitors' corners (the primary's DPI at sign-in: GetDpiForSystem).
  DesktopScale(std::vector<MonitorPixels> monitors, int systemDpi);

  TwipsPoint ToTwips(PixelPoint point) const;
  PixelPoint ToPixels(TwipsPoint point) const;
  // A rectangle of pixels within one monitor (a work area, the tray icon): its corner as a point,
  // its size at that monitor's DPI.
  forms::TwipsRect ToTwips(int left, int top, int right, int bottom) const;
  // A window's box in pixels: its corner as a point, its edges rounded on their own at `dpi` (the
  // window's), so that a window growing upwards by whole twips keeps its bottom edge.
  PixelBox ToPixels(const forms::TwipsRect& box, int dpi) const;
  // The monitor holding a point of pixels or of twips, else the nearest one.
  const MonitorPixels& HoldingPixel(PixelPoint point) const;
  const MonitorPixels& HoldingTwips(TwipsPoint point) const;

 private:
  TwipsPoint Corner(const MonitorPixels& monitor) const;
  std::vector<MonitorPixels> monitors_;
  int systemDpi_;
};

}  // namespace sysvane::win
