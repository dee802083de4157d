// Where the monitor windows may sit: the work areas of the desktop, and how a remembered
// position is written to the settings store.
#pragma once

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

}  // namespace sysvane
