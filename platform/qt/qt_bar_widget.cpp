#include "platform/qt/qt_bar_widget.h"

#include <QHash>
#include <QLinearGradient>
#include <QPainter>
#include <QStaticText>
#include <cmath>

#include "platform/bar_display.h"

namespace sysvane::qt {

using forms::Prop;

namespace {

// Laying a text out is most of what a bar's repaint costs. A bar only ever shows "0%" to "100%"
// and "?", so each text is laid out once per font and kept for every bar that uses the font.
const QStaticText& LaidOutText(const QString& text, const QFont& font) {
  static QHash<QString, QStaticText> cache;
  const QString key = font.key() + QLatin1Char('\n') + text;
  auto it = cache.find(key);
  if (it == cache.end()) {
    QStaticText laidOut(text);
    laidOut.setTextFormat(Qt::PlainText);
    laidOut.setPerformanceHint(QStaticText::AggressiveCaching);
    laidOut.prepare(QTransform(), font);
    it = cache.insert(key, laidOut);
  }
  return *it;
}

}  // namespace

BarWidget::BarWidget(forms::ProgressBar& bar, QWidget* parent) : ControlWidget(bar, parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);  // every pixel is painted: the container never repaints
  if (DirectPicture::Available()) {
    direct_ = std::make_unique<DirectPicture>();
    // A native window painted by the bar itself, outside Qt's backing store; the form's window
    // stays as it is.
    setAttribute(Qt::WA_DontCreateNativeAncestors);
    setAttribute(Qt::WA_NativeWindow);
    setAttribute(Qt::WA_PaintOnScreen);
  }
}

QPaintEngine* BarWidget::paintEngine() const {
  return direct_ ? nullptr : QWidget::paintEngine();
}

void BarWidget::Apply(Prop prop) {
  const auto& bar = static_cast<const forms::ProgressBar&>(*control());
  switch (prop) {
    case Prop::Value:
      value_ = bar.Value();
      break;
    case Prop::Caption:
      suffix_ = bar.TextAfterCaption();
      break;
    case Prop::Colors:
      start_ = ToQColor(bar.StartColor());
      end_ = ToQColor(bar.EndColor());
      back_ = ToQColor(bar.BackColor());
      text_ = ToQColor(bar.ForeColor());
      break;
    case Prop::Font:
      setFont(ToQFont(bar.font()));
      break;
    default:
      return;
  }
  update();
}

void BarWidget::paintEvent(QPaintEvent*) {
  if (!direct_) {
    QPainter painter(this);
    Paint(painter);
    return;
  }
  {
    QPainter painter(&direct_->Canvas(*this));
    painter.setFont(font());
    Paint(painter);
  }
  direct_->Put(*this);
}

void BarWidget::Paint(QPainter& painter) const {
  const forms::BarDisplay shown = forms::DescribeBar(value_, suffix_);
  const QRect outer = rect();
  // Sunken frame: shadow on the top and left edges, light on the bottom and right ones.
  const QPalette& palette = this->palette();
  painter.fillRect(outer, back_);
  if (outer.width() >= 2 && outer.height() >= 2) {
    painter.fillRect(QRect(outer.left(), outer.top(), outer.width(), 1), palette.color(QPalette::Dark));
    painter.fillRect(QRect(outer.left(), outer.top(), 1, outer.height()), palette.color(QPalette::Dark));
    painter.fillRect(QRect(outer.left(), outer.bottom(), outer.width(), 1), palette.color(QPalette::Light));
    painter.fillRect(QRect(outer.right(), outer.top(), 1, outer.height()), palette.color(QPalette::Light));
  }
  const QRect inner = outer.adjusted(1, 1, -1, -1);
  // The fill ends on a device pixel, so that its edge is sharp at any scale.
  const qreal ratio = devicePixelRatioF();
  const int innerDevice = int(std::lround(inner.width() * ratio));
  const qreal filled = forms::FilledPixels(shown.fillFraction, innerDevice) / ratio;
  if (filled > 0 && inner.height() > 0) {
    const QRectF fill(inner.left(), inner.top(), filled, inner.height());
    QLinearGradient gradient(fill.topLeft(), fill.topRight());
    gradient.setColorAt(0, start_);
    gradient.setColorAt(1, end_);
    painter.fillRect(fill, gradient);
  }
  painter.setPen(text_);
  const QStaticText& text = LaidOutText(ToQString(shown.text), font());
  const QSizeF size = text.size();
  painter.drawStaticText(QPointF(inner.left() + (inner.width() - size.width()) / 2,
                                 inner.top() + (inner.height() - size.height()) / 2),
                         text);
}

}  // namespace sysvane::qt
