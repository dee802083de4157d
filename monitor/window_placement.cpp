#include "monitor/window_placement.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace sysvane {

namespace {

using forms::Twips;
using forms::TwipsRect;

Twips Overlap(Twips aStart, Twips aLength, Twips bStart, Twips bLength) {
  return std::max<Twips>(0, std::min(aStart + aLength, bStart + bLength) - std::max(aStart, bStart));
}

Twips OverlapArea(const TwipsRect& a, const TwipsRect& b) {
  return Overlap(a.Left, a.Width, b.Left, b.Width) * Overlap(a.Top, a.Height, b.Top, b.Height);
}

// Gap between two spans on one axis; 0 when they touch or overlap.
Twips Gap(Twips aStart, Twips aLength, Twips bStart, Twips bLength) {
  if (aStart + aLength < bStart) return bStart - (aStart + aLength);
  if (bStart + bLength < aStart) return aStart - (bStart + bLength);
  return 0;
}

// Keeps a span of `length` inside [start, start + room); a span longer than the room starts at
// its beginning, so that the window's title bar stays reachable.
Twips Clamp(Twips value, Twips length, Twips start, Twips room) {
  return std::max(start, std::min(value, start + room - length));
}

}  // namespace

std::string PositionText(Twips value) {
  char text[64];
  const auto result =
      std::to_chars(text, text + sizeof text, static_cast<float>(value), std::chars_format::fixed);
  return std::string(text, result.ptr);
}

TwipsRect WorkAreaHolding(const std::vector<TwipsRect>& areas, const TwipsRect& window,
                          const TwipsRect& fallback) {
  const TwipsRect* best = nullptr;
  Twips bestArea = 0;
  for (const auto& area : areas) {
    const Twips shared = OverlapArea(area, window);
    if (shared > bestArea) {
      bestArea = shared;
      best = &area;
    }
  }
  return best ? *best : fallback;
}

Position BringOntoWorkArea(const std::vector<TwipsRect>& areas, const TwipsRect& window) {
  Position position{window.Left, window.Top};
  const TwipsRect* nearest = nullptr;
  Twips nearestDistance = std::numeric_limits<Twips>::infinity();
  for (const auto& area : areas) {
    if (OverlapArea(area, window) > 0) return position;
    const Twips dx = Gap(window.Left, window.Width, area.Left, area.Width);
    const Twips dy = Gap(window.Top, window.Height, area.Top, area.Height);
    const Twips distance = std::hypot(dx, dy);
    if (distance < nearestDistance) {
      nearestDistance = distance;
      nearest = &area;
    }
  }
  if (!nearest) return position;  // no work area known: nothing to measure against
  position.Left = Clamp(window.Left, window.Width, nearest->Left, nearest->Width);
  position.Top = Clamp(window.Top, window.Height, nearest->Top, nearest->Height);
  return position;
}

}  // namespace sysvane
