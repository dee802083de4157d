#include "monitor/window_placement.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>
#include <limits>
#include <utility>

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

TrayEdge TrayEdgeOf(const std::optional<TwipsRect>& icon, const TwipsRect& screen,
                    const TwipsRect& workArea) {
  if (!icon) {
    // The side the panels keep from the work area; the bottom when they keep none.
    const Twips kept[] = {screen.Top + screen.Height - (workArea.Top + workArea.Height),
                          workArea.Top - screen.Top, workArea.Left - screen.Left,
                          screen.Left + screen.Width - (workArea.Left + workArea.Width)};
    const auto widest = std::max_element(std::begin(kept), std::end(kept));
    return *widest > 0 ? TrayEdge(widest - std::begin(kept)) : TrayEdge::Bottom;
  }
  const Twips x = icon->Left + icon->Width / 2;
  const Twips y = icon->Top + icon->Height / 2;
  if (y >= workArea.Top + workArea.Height) return TrayEdge::Bottom;
  if (y < workArea.Top) return TrayEdge::Top;
  if (x < workArea.Left) return TrayEdge::Left;
  if (x >= workArea.Left + workArea.Width) return TrayEdge::Right;
  // Inside the work area (no window manager keeps the panels out of it): the icon sits in a panel
  // along one edge, at most 80 pixels deep. A corner icon is near two edges; panels
  // across the screen are the usual ones, so the bottom and then the top win within that depth.
  constexpr Twips depth = 1200;
  if (screen.Top + screen.Height - y <= depth) return TrayEdge::Bottom;
  if (y - screen.Top <= depth) return TrayEdge::Top;
  if (x - screen.Left <= depth) return TrayEdge::Left;
  if (screen.Left + screen.Width - x <= depth) return TrayEdge::Right;
  return TrayEdge::Bottom;
}

RollupStart PlaceRollup(TrayEdge edge, const std::optional<TwipsRect>& icon, const TwipsRect& screen,
                        const TwipsRect& workArea, Twips width, Twips fullHeight, Twips stripHeight) {
  constexpr Twips kInset = 15;
  const Twips areaRight = workArea.Left + workArea.Width;
  const Twips areaBottom = workArea.Top + workArea.Height;
  const Twips atRightEnd = areaRight - width - kInset;
  const Twips screenBottom = screen.Top + screen.Height;
  // An icon inside the work area lies in a panel that the work area does not leave out (no window
  // manager keeps it, or a Wayland panel that X clients cannot see): the panel is taken to be
  // centred on the icon, so twice as deep as the icon's centre lies from the screen's edge.
  const Twips centreY = icon ? icon->Top + icon->Height / 2 : 0;
  const bool inside = icon && centreY >= workArea.Top && centreY < areaBottom;
  switch (edge) {
    case TrayEdge::Bottom: {
      Twips top = std::min(screenBottom - 450, areaBottom - stripHeight);
      if (inside) top = std::min(top, 2 * centreY - screenBottom - stripHeight);
      return {atRightEnd, top, false};
    }
    case TrayEdge::Top: {
      const bool rightHalf = !icon || icon->Left + icon->Width / 2 >= workArea.Left + workArea.Width / 2;
      const Twips top = inside ? std::max(workArea.Top, 2 * centreY - screen.Top) : workArea.Top;
      return {rightHalf ? atRightEnd : workArea.Left + kInset, top, true};
    }
    case TrayEdge::Left:
    case TrayEdge::Right: {
      const Twips left = edge == TrayEdge::Left ? workArea.Left + kInset : atRightEnd;
      const Twips level = icon ? icon->Top : workArea.Top;
      return {left, Clamp(level, fullHeight, workArea.Top, workArea.Height), true};
    }
  }
  return {};
}

}  // namespace sysvane
