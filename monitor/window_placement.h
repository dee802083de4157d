// Where the monitor windows may sit: the work areas of the desktop, and how a remembered
// position is written to the settings store.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/forms.h"

namespace sysvane {

// A window position as the settings store keeps it: the number's shortest decimal text of single
// precision, whole numbers without decimals ("9360", "-120", "1234.5").
std::string PositionText(forms::Twips value);

// The work area that holds most of the rectangle; `fallback` when it overlaps none.
forms::TwipsRect WorkAreaHolding(const std::vector<forms::TwipsRect>& areas, const forms::TwipsRect& window,
                                 const forms::TwipsRect& fallback);

// A window that overlaps some work area stays where it is. One that overlaps none (its monitor
// has gone) is moved into the nearest work area, as far as it fits. Returns the new top-left.
struct Position {
  forms::Twips Left = 0, Top = 0;
  bool operator==(const Position&) const = default;
};
Position BringOntoWorkArea(const std::vector<forms::TwipsRect>& areas, const forms::TwipsRect& window);

// The side of its screen the tray sits on.
enum class TrayEdge { Bottom, Top, Left, Right };

// The side where the icon lies outside the work area, that is in the panel the work area leaves
// out; an icon inside the work area (a panel that reserves no room) belongs to the nearest side of
// the screen. With no place known, the side the panels keep from the work area (the bottom when
// they keep none).
TrayEdge TrayEdgeOf(const std::optional<forms::TwipsRect>& icon, const forms::TwipsRect& screen,
                    const forms::TwipsRect& workArea);

// Where the roll-up's strip first shows, and whether it unrolls downwards (its top edge fixed)
// rather than upwards (its bottom edge fixed).
struct RollupStart {
  forms::Twips Left = 0, Top = 0;
  bool growsDown = false;
  bool operator==(const RollupStart&) const = default;
};
// Bottom: 420 twips above the screen's bottom and 15 in from the work area's right edge, never
// below the work area. Top: just below the panel, 15 in from the work area's end nearer the icon.
// A panel the work area does not leave out is taken to be centred on the icon.
// Sides: 15 beside the panel, level with the icon, its full height kept on the work area.
RollupStart PlaceRollup(TrayEdge edge, const std::optional<forms::TwipsRect>& icon,
                        const forms::TwipsRect& screen, const forms::TwipsRect& workArea, forms::Twips width,
                        forms::Twips fullHeight, forms::Twips stripHeight);

}  // namespace sysvane
