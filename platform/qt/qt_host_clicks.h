// What the owner hears of a D-Bus tray host's request, as the mouse messages of a Windows tray.
// Most hosts send Activate for each left click, so two within the double-click interval are the
// click (514) and then the double-click (515); the middle click is the click. GNOME Shell's
// AppIndicator extension shows the menu itself on a left click and sends one Activate for a
// double click: that is the double-click alone (the Monitor window, without the roll-up first),
// and its middle click is the way to the roll-up.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/qt/qt_sni_item.h"

namespace sysvane::qt {

// `quickSecond`: an Activate within the double-click interval of one that became a click.
std::vector<uint32_t> MessagesForRequest(SniRequest request, bool gnomeHost, bool quickSecond);

}  // namespace sysvane::qt
