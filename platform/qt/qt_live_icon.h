// A tray icon the program draws itself (forms::LiveIcon) as a QIcon: whatever size it is painted
// or asked for, it is drawn at exactly that many device pixels, so that no tray scales it.
#pragma once

#include <QIcon>
#include <QImage>
#include <QString>
#include <memory>
#include <utility>

#include "platform/forms.h"

namespace sysvane::qt {

// The picture as a QImage of the same pixels (Format_ARGB32 keeps 0xAARRGGBB words as they are).
QImage ToQImage(const forms::ArgbImage& image);

// The sizes the icon offers to a tray that asks which it has: the usual panel sizes.
QIcon LiveQIcon(std::shared_ptr<const forms::LiveIcon> icon);

// The sizes a D-Bus host is given the picture at, in the session `currentDesktop` names
// (XDG_CURRENT_DESKTOP) at the desktop's `scale`: the panel sizes, and the same at the scale when it
// is above 1, so that no host scales a small picture up. Each picture more goes over the bus with
// every change of the figure, and the host reads them all. Xfce's panel draws the largest picture
// it is given, scaled down to its icon size, with blurred strokes: there it is given none above its
// default icon size at the scale, which it draws as it is.
QList<int> LiveIconSizes(const QByteArray& currentDesktop, int scale);

// The label a host may draw beside the icon ("5%", or "5% 63%" with the bars) and its guide, the
// longest it can be ("99%" per figure). GNOME's AppIndicator host ignores the guide and sizes its
// item to the text: a figure of one digit gets a figure space (a digit's width) in front, so that
// the label keeps its width and the icon beside it does not move when the figure passes 10 %.
std::pair<QString, QString> LiveLabel(const QString& figures);

}  // namespace sysvane::qt
