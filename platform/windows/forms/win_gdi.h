// The GDI objects the windows draw with: colours (an RGB value or a system colour), brushes and
// fonts, made once and kept for the whole run (a handful of each).
#pragma once

#include "platform/windows/forms/win_api.h"

#include "platform/forms.h"

namespace sysvane::win {

COLORREF ToColorRef(forms::Color color);
HBRUSH BrushOf(forms::Color color);

// "MS Sans Serif" is the system's dialog font (the message font of the desktop's theme), made
// smaller when that face is wider than the one the windows were laid out for; any other name is
// asked for as it is. Sized for a screen of `dpi`.
HFONT FontOf(const forms::Font& font, int dpi);

// Text drawn and measured with line breaks of "\r\n", "\n" or "\r".
std::wstring MultiLine(const std::string& utf8);

}  // namespace sysvane::win
