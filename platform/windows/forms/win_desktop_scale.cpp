#include "platform/windows/forms/win_desktop_scale.h"

#include <algorithm>
#include <cmath>

#include "platform/windows/forms/win_units.h"

namespace sysvane::win {

namespace {

// How far a point lies outside a box (0 inside), in the box's own units.
double Outside(double x, double y, double left, double top, double right, double bottom) {
  const double dx = std::max({left - x, 0.0, x - right}), dy = std::max({top - y, 0.0, y - bottom});
  return dx + dy;
}

}  // namespace

DesktopScale::DesktopScale(std::vector<MonitorPixels> monitors, int systemDpi)
    : monitors_(std::move(monitors)), systemDpi_(systemDpi > 0 ? systemDpi : 96) {
  if (monitors_.empty()) monitors_.push_back({0, 0, 0, 0, systemDpi_});
}

TwipsPoint DesktopScale::Corner(const MonitorPixels& monitor) const {
  return {PixelsToTwips(monitor.left, systemDpi_), PixelsToTwips(monitor.top, systemDpi_)};
}

const MonitorPixels& DesktopScale::HoldingPixel(PixelPoint p) const {
  // Right and bottom edges belong to the next monitor: a point on them is outside by nothing, so
  // the first monitor that truly holds the point wins over a neighbour it only touches.
  return *std::min_element(monitors_.begin(), monitors_.end(),
                           [p](const MonitorPixels& a, const MonitorPixels& b) {
                             return Outside(p.x, p.y, a.left, a.top, a.right - 1, a.bottom - 1) <
                                    Outside(p.x, p.y, b.left, b.top, b.right - 1, b.bottom - 1);
                           });
}

const MonitorPixels& DesktopScale::HoldingTwips(TwipsPoint p) const {
  auto distance = [this, p](const MonitorPixels& m) {
    const TwipsPoint corner = Corner(m);
    const double width = PixelsToTwips(m.right - m.left, m.dpi),
                 height = PixelsToTwips(m.bottom - m.top, m.dpi);
    return Outside(p.x, p.y, corner.x, corner.y, corner.x + width - 1, corner.y + height - 1);
  };
  return *std::min_element(
      monitors_.begin(), monitors_.end(),
      [&distance](const MonitorPixels& a, const MonitorPixels& b) { return distance(a) < distance(b); });
}

TwipsPoint DesktopScale::ToTwips(PixelPoint p) const {
  const MonitorPixels& m = HoldingPixel(p);
  const TwipsPoint corner = Corner(m);
  return {corner.x + PixelsToTwips(p.x - m.left, m.dpi), corner.y + PixelsToTwips(p.y - m.top, m.dpi)};
}

PixelPoint DesktopScale::ToPixels(TwipsPoint p) const {
  const MonitorPixels& m = HoldingTwips(p);
  const TwipsPoint corner = Corner(m);
  return {m.left + TwipsToPixels(p.x - corner.x, m.dpi), m.top + TwipsToPixels(p.y - corner.y, m.dpi)};
}

PixelBox DesktopScale::ToPixels(const forms::TwipsRect& box, int dpi) const {
  const MonitorPixels& m = HoldingTwips({box.Left, box.Top});
  const TwipsPoint corner = Corner(m);
  const int left = m.left + TwipsToPixels(box.Left - corner.x, m.dpi);
  const int top = m.top + TwipsToPixels(box.Top - corner.y, m.dpi);
  const double fromLeft = box.Left - corner.x, fromTop = box.Top - corner.y;
  return {left, top, left + TwipsToPixels(fromLeft + box.Width, dpi) - TwipsToPixels(fromLeft, dpi),
          top + TwipsToPixels(fromTop + box.Height, dpi) - TwipsToPixels(fromTop, dpi)};
}

forms::TwipsRect DesktopScale::ToTwips(int left, int top, int right, int bottom) const {
  const MonitorPixels& m = HoldingPixel({left, top});
  const TwipsPoint corner = ToTwips(PixelPoint{left, top});
  return {corner.x, corner.y, PixelsToTwips(right - left, m.dpi), PixelsToTwips(bottom - top, m.dpi)};
}

}  // namespace sysvane::win
