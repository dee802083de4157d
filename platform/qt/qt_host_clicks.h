// What the owner hears of a D-Bus tray host's request, as the mouse messages of a Windows tray.
// Most hosts send Activate for each left click, so two within the double-click interval are the
// click (514) and then the double-click (515); the middle click is the click. GNOME Shell's
// AppIndicator extension shows the menu itself on a left click and sends one Activate for a
// double click: that is the double-click alone (the Monitor window, without the roll-up first),
// and its middle click is the way to the roll-up.
#pragma once

#include <QRect>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/qt/qt_sni_item.h"

namespace sysvane::qt {

// `quickSecond`: an Activate within the double-click interval of one that became a click.
std::vector<uint32_t> MessagesForRequest(SniRequest request, bool gnomeHost, bool quickSecond);

// The icon's place from the place a host sent with its request. waybar sends where on the icon
// the click was (GTK's event coordinates), not where on screen: a place within an icon's size of
// the screen's corner is taken as that. It then tells nothing of the icon's place where the
// panels reserve a side (nullopt: that side is the tray's edge); where X clients see no panel (a
// Wayland bar), the icon is taken at the right end of a bar at the top, where waybar and GNOME
// put the tray by default, and the click's height within the item, which spans its bar, is kept:
// the bar is twice as deep.
std::optional<QRect> IconPlaceFromHost(QPoint sent, const QRect& screen, const QRect& workArea);

}  // namespace sysvane::qt
