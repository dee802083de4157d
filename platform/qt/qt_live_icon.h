// A tray icon the program draws itself (forms::LiveIcon) as a QIcon: whatever size it is painted
// or asked for, it is drawn at exactly that many device pixels, so that no tray scales it.
#pragma once

#include <QIcon>
#include <QImage>
#include <memory>

#include "platform/forms.h"

namespace sysvane::qt {

// The picture as a QImage of the same pixels (Format_ARGB32 keeps 0xAARRGGBB words as they are).
QImage ToQImage(const forms::ArgbImage& image);

// The sizes the icon offers to a tray that asks which it has: the usual panel sizes.
QIcon LiveQIcon(std::shared_ptr<const forms::LiveIcon> icon);

// The sizes a D-Bus host is given the picture at, in the session `currentDesktop` names
// (XDG_CURRENT_DESKTOP): the usual panel sizes and twice them, so that no host scales a small
// picture up. Xfce's panel draws the largest picture it is given, scaled down to its icon size, with
// blurred strokes: there it is given none above its default icon size, which it draws as it is.
QList<int> LiveIconSizes(const QByteArray& currentDesktop);

}  // namespace sysvane::qt
