// What a user sees of a control: its place and size in twips and its colours.
#pragma once

#include <cstdio>
#include <string>

#include "platform/forms.h"

namespace sysvane::testing {

// "r.g.b", or "#i" for system colour i.
inline std::string Colour(forms::Color c) {
  char text[16];
  std::snprintf(text, sizeof text, c.system ? "#%u" : "%u.%u.%u", c.system ? c.value : unsigned(c.Red()),
                unsigned(c.Green()), unsigned(c.Blue()));
  return text;
}

// "left,top widthxheight".
inline std::string Place(const forms::Control& c) {
  auto n = [](forms::Twips t) { return std::to_string(int(t)); };
  return n(c.Left()) + "," + n(c.Top()) + " " + n(c.Width()) + "x" + n(c.Height());
}

// "left,top widthxheight fore/back".
inline std::string Looks(const forms::Control& c) {
  return Place(c) + " " + Colour(c.ForeColor()) + "/" + Colour(c.BackColor());
}

}  // namespace sysvane::testing
