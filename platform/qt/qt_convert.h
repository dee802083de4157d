// Conversions between the forms model (twips, BGR colours, system colour indices, Windows key
// codes) and Qt (device-independent pixels, QColor, QFont, Qt keys). Twips become pixels here
// and nowhere else, so that the program stays sharp at any device pixel ratio.
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QRegion>
#include <QString>
#include <string>

#include "platform/forms.h"

namespace sysvane::qt {

// Twips to device-independent pixels, rounded to nearest; and back.
int ToPixels(forms::Twips twips);
forms::Twips ToTwips(double pixels);
// A rectangle given by its left, top, width and height in twips. The right and bottom edges are
// rounded on their own, so that controls that touch in twips touch on screen too.
QRect ToPixelRect(forms::Twips left, forms::Twips top, forms::Twips width, forms::Twips height);

// An RGB colour, or a system colour taken from the application's palette.
QColor ToQColor(forms::Color color);

// "MS Sans Serif" is the desktop's own user-interface font, made smaller when that face is wider
// than the one the windows were laid out for; "Times New Roman" a serif face with its metrics
// where one is installed. Any other name is asked for as it is, at the size given.
QFont ToQFont(const forms::Font& font);

QString ToQString(const std::string& text);
// Text whose lines are broken by "\r\n", "\n" or "\r", with "\n" alone.
QString MultiLine(const std::string& text);

// Windows virtual-key code of a Qt key (letters and digits keep their codes); 0 when unknown.
int VbKeyCode(int qtKey);
// 1 Shift, 2 Ctrl, 4 Alt.
int VbShift(Qt::KeyboardModifiers modifiers);
// 1 left, 2 right, 4 middle.
int VbButton(Qt::MouseButtons buttons);

// CreateRoundRectRgn: left and top are inside, right and bottom outside the region; the corners
// are quarters of an ellipse of the given width and height.
QRegion ToQRegion(const forms::RoundRectRegion& region);

}  // namespace sysvane::qt
