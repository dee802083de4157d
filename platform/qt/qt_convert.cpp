#include "platform/qt/qt_convert.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainterPath>
#include <QPalette>
#include <algorithm>
#include <cmath>

namespace sysvane::qt {

int ToPixels(forms::Twips twips) {
  return int(std::lround(twips / forms::kTwipsPerPixel));
}

forms::Twips ToTwips(double pixels) {
  return pixels * forms::kTwipsPerPixel;
}

QRect ToPixelRect(forms::Twips left, forms::Twips top, forms::Twips width, forms::Twips height) {
  const int x = ToPixels(left), y = ToPixels(top);
  return QRect(x, y, ToPixels(left + width) - x, ToPixels(top + height) - y);
}

static QPalette::ColorRole RoleOf(int index) {
  switch (index) {
    case forms::SystemColor::WindowBackground:
      return QPalette::Base;
    case forms::SystemColor::WindowFrame:
      return QPalette::Shadow;
    case forms::SystemColor::MenuText:
      return QPalette::WindowText;
    case forms::SystemColor::WindowText:
      return QPalette::Text;
    case 13:  // highlight
      return QPalette::Highlight;
    case forms::SystemColor::HighlightText:
      return QPalette::HighlightedText;
    case forms::SystemColor::ButtonFace:
      return QPalette::Button;
    case 16:  // button shadow
      return QPalette::Dark;
    case 18:  // button text
      return QPalette::ButtonText;
    case 20:  // 3-D highlight
      return QPalette::Light;
    case 23:  // tool-tip text
      return QPalette::ToolTipText;
    case 24:  // tool-tip background
      return QPalette::ToolTipBase;
    default:
      return QPalette::Window;
  }
}

QColor ToQColor(forms::Color color) {
  if (!color.system) return QColor(color.Red(), color.Green(), color.Blue());
  const QColor shade = QApplication::palette().color(QPalette::Active, RoleOf(int(color.value)));
  if (color.value != forms::SystemColor::WindowFrame) return shade;
  // A window frame is near black in every theme: light captions stand on it (the Monitor window).
  const QColor hsl = shade.toHsl();
  return QColor::fromHsl(hsl.hslHue(), hsl.hslSaturation(), std::min(hsl.lightness(), 40));
}

namespace {

// The windows were laid out for MS Sans Serif, a narrow face: its letters average half an em
// (5.5 pixels at 8.25 points). A wider desktop face is set smaller until its alphabet is as
// wide, so that captions fit the boxes they were laid out in; never below 80 % of the size.
double NarrowingFactor(const QFont& face) {
  static const QString kAlphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  QFont probe = face;
  probe.setPointSizeF(72);  // one em is then the screen's logical dots per inch
  const QFontMetricsF metrics(probe);
  const qreal emPixels = metrics.fontDpi();
  const qreal alphabet = metrics.horizontalAdvance(kAlphabet);
  if (alphabet <= 0 || emPixels <= 0) return 1;
  return std::clamp(kAlphabet.size() * 0.5 * emPixels / alphabet, 0.8, 1.0);
}

// A face with the metrics of Times New Roman, when one is installed, keeps the serif titles in
// their boxes; any serif face otherwise.
QString SerifFamily() {
  const QStringList families = QFontDatabase::families();
  for (const char* name :
       {"Liberation Serif", "Tinos", "Nimbus Roman", "TeX Gyre Termes", "Times New Roman"}) {
    if (families.contains(QLatin1String(name), Qt::CaseInsensitive)) return QLatin1String(name);
  }
  return QStringLiteral("serif");
}

}  // namespace

QFont ToQFont(const forms::Font& font) {
  QFont result;
  double scale = 1;
  if (font.name == "MS Sans Serif") {
    result = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    static const double narrowing = NarrowingFactor(result);
    scale = narrowing;
  } else if (font.name == "Times New Roman") {
    static const QString serif = SerifFamily();
    result = QFont(serif);
    result.setStyleHint(QFont::Serif);
  } else {
    result = QFont(ToQString(font.name));
  }
  if (font.size > 0) result.setPointSizeF(font.size * scale);
  result.setBold(font.bold);
  result.setItalic(font.italic);
  result.setUnderline(font.underline);
  return result;
}

QString ToQString(const std::string& text) {
  return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QString MultiLine(const std::string& text) {
  QString result = ToQString(text);
  result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return result;
}

int VbKeyCode(int qtKey) {
  if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)) return qtKey;
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return 112 + (qtKey - Qt::Key_F1);
  switch (qtKey) {
    case Qt::Key_Backspace:
      return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return forms::vbKeyReturn;
    case Qt::Key_Shift:
      return 16;
    case Qt::Key_Control:
      return 17;
    case Qt::Key_Alt:
      return 18;
    case Qt::Key_Pause:
      return 19;
    case Qt::Key_Escape:
      return forms::vbKeyEscape;
    case Qt::Key_Space:
      return 32;
    case Qt::Key_PageUp:
      return 33;
    case Qt::Key_PageDown:
      return 34;
    case Qt::Key_End:
      return 35;
    case Qt::Key_Home:
      return 36;
    case Qt::Key_Left:
      return 37;
    case Qt::Key_Up:
      return 38;
    case Qt::Key_Right:
      return 39;
    case Qt::Key_Down:
      return 40;
    case Qt::Key_Insert:
      return 45;
    case Qt::Key_Delete:
      return 46;
    default:
      return 0;
  }
}

int VbShift(Qt::KeyboardModifiers modifiers) {
  return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
         (modifiers & Qt::AltModifier ? 4 : 0);
}

int VbButton(Qt::MouseButtons buttons) {
  return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0) |
         (buttons & Qt::MiddleButton ? 4 : 0);
}

QRegion ToQRegion(const forms::RoundRectRegion& r) {
  const QRectF rect(r.left, r.top, r.right - r.left, r.bottom - r.top);
  if (rect.width() <= 0 || rect.height() <= 0) return QRegion();
  QPainterPath path;
  path.addRoundedRect(rect, r.ellipseWidth / 2.0, r.ellipseHeight / 2.0);
  return QRegion(path.toFillPolygon().toPolygon());
}

}  // namespace sysvane::qt
