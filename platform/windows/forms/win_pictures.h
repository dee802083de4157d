// The pictures the windows name, painted with GDI: the program's icon, the splash screen's two
// drawings (a small bar chart and a gauge, as the Qt runtime draws them) and the system's
// message box icons.
#pragma once

#include "platform/windows/forms/win_api.h"

#include <string>

namespace sysvane::win {

// Paints the picture `name` stretched over `area`; an unknown or empty name paints nothing.
void PaintPicture(HDC dc, const RECT& area, const std::string& name);

}  // namespace sysvane::win
