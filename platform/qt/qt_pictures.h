// The pictures the windows name: the program's icon, the splash screen's two drawings and the
// message box icons of the desktop's style.
#pragma once

#include <QIcon>
#include <QPainter>
#include <QStyle>
#include <string>

namespace sysvane::qt {

// The program's icon in every size it is drawn in (16 to 64 pixels).
QIcon AppIcon();

// Paints the picture `name` stretched over `rect`; an unknown or empty name paints nothing.
// "app-icon", "splash-bars" (a small bar chart), "splash-gauge" (a gauge), "icon-stop",
// "icon-question", "icon-exclamation", "icon-information".
void PaintPicture(QPainter& painter, const QRectF& rect, const std::string& name, const QStyle* style);

}  // namespace sysvane::qt
