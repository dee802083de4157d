#include "platform/qt/qt_pictures.h"

#include <QConicalGradient>
#include <QImageReader>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>
#include <array>

// Resources of a static library are registered by hand, outside any namespace.
static void RegisterIconResources() {
  Q_INIT_RESOURCE(sysvane);
}

namespace sysvane::qt {

namespace {

// The colours of a load, as the bars show it: green when low, yellow half way, red when high.
const QColor kLow(18, 196, 58), kMiddle(245, 210, 28), kHigh(240, 48, 30);

void SetLoadStops(QGradient& gradient) {
  gradient.setColorAt(0, kLow);
  gradient.setColorAt(0.5, kMiddle);
  gradient.setColorAt(1, kHigh);
}

// A light card with a soft edge, behind each drawing, so that it reads on any window colour.
void PaintCard(QPainter& painter, const QRectF& rect) {
  const qreal radius = std::min(rect.width(), rect.height()) * 0.12;
  QLinearGradient face(rect.topLeft(), rect.bottomLeft());
  face.setColorAt(0, QColor(250, 252, 255));
  face.setColorAt(1, QColor(222, 229, 238));
  painter.setPen(QPen(QColor(120, 132, 148), 1));
  painter.setBrush(face);
  painter.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
}

// Five columns rising from a base line, coloured by their height, over faint grid lines.
void PaintBarChart(QPainter& painter, const QRectF& rect) {
  PaintCard(painter, rect);
  const qreal margin = std::min(rect.width(), rect.height()) * 0.14;
  const QRectF plot = rect.adjusted(margin, margin, -margin, -margin);
  painter.setPen(QPen(QColor(190, 198, 210), 1));
  for (int i = 1; i <= 3; ++i) {
    const qreal y = plot.bottom() - plot.height() * i / 4.0;
    painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
  }
  QLinearGradient load(plot.bottomLeft(), plot.topLeft());
  SetLoadStops(load);
  constexpr std::array<qreal, 5> kHeights{0.42, 0.68, 0.5, 0.92, 0.3};
  const qreal slot = plot.width() / kHeights.size();
  const qreal gap = slot * 0.22;
  painter.setPen(QPen(QColor(0, 0, 0, 70), 1));
  painter.setBrush(load);
  for (size_t i = 0; i < kHeights.size(); ++i) {
    const qreal height = plot.height() * kHeights[i];
    const QRectF column(plot.left() + slot * qreal(i) + gap / 2, plot.bottom() - height, slot - gap, height);
    painter.drawRoundedRect(column, slot * 0.12, slot * 0.12);
  }
  painter.setPen(QPen(QColor(70, 80, 94), 1.5));
  painter.drawLine(QPointF(plot.left() - 1, plot.bottom()), QPointF(plot.right() + 1, plot.bottom()));
}

// A dial with a green-to-red scale and its needle at about two thirds, over a small bar that
// shows the same reading.
void PaintGauge(QPainter& painter, const QRectF& rect) {
  PaintCard(painter, rect);
  const qreal side = std::min(rect.width(), rect.height() * 0.8) * 0.86;
  const QPointF centre(rect.center().x(), rect.top() + rect.width() * 0.07 + side / 2);
  const QRectF dial(centre.x() - side / 2, centre.y() - side / 2, side, side);
  // The face.
  QRadialGradient face(centre, side / 2);
  face.setColorAt(0, QColor(52, 64, 80));
  face.setColorAt(1, QColor(24, 31, 40));
  painter.setPen(QPen(QColor(110, 124, 140), 1.2));
  painter.setBrush(face);
  painter.drawEllipse(dial);
  // The scale: 270 degrees, from the lower left round to the lower right.
  const qreal ring = side * 0.11;
  const QRectF scale = dial.adjusted(ring * 1.2, ring * 1.2, -ring * 1.2, -ring * 1.2);
  QConicalGradient load(centre, 225);
  load.setColorAt(0, kLow);
  load.setColorAt(0.375, kMiddle);
  load.setColorAt(0.75, kHigh);
  load.setColorAt(1, kLow);
  QPen arc(QBrush(load), ring, Qt::SolidLine, Qt::FlatCap);
  painter.setPen(arc);
  painter.setBrush(Qt::NoBrush);
  painter.drawArc(scale, 225 * 16, -270 * 16);
  // Ticks.
  painter.setPen(QPen(QColor(230, 236, 244), std::max<qreal>(1, side * 0.02)));
  const qreal outer = scale.width() / 2 - ring * 0.9, inner = outer - ring * 0.7;
  for (int i = 0; i <= 10; ++i) {
    const qreal angle = qDegreesToRadians(225.0 - 27.0 * i);
    const QPointF direction(std::cos(angle), -std::sin(angle));
    painter.drawLine(centre + direction * inner,
                     centre + direction * (i % 5 == 0 ? inner - ring * 0.5 : outer));
  }
  // The needle at 65 %.
  const qreal reading = 0.65;
  const qreal angle = qDegreesToRadians(225.0 - 270.0 * reading);
  const QPointF tip = centre + QPointF(std::cos(angle), -std::sin(angle)) * (outer * 0.98);
  painter.setPen(
      QPen(QColor(255, 255, 255), std::max<qreal>(1.2, side * 0.045), Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(centre, tip);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(210, 218, 228));
  painter.drawEllipse(centre, side * 0.08, side * 0.08);
  // The reading as a bar, below the dial.
  const qreal barTop = dial.bottom() + (rect.bottom() - dial.bottom()) * 0.3;
  const qreal barHeight = std::max<qreal>(3, (rect.bottom() - dial.bottom()) * 0.34);
  const QRectF track(dial.left(), barTop, dial.width(), barHeight);
  if (track.bottom() < rect.bottom() - 1) {
    painter.setPen(QPen(QColor(110, 124, 140), 1));
    painter.setBrush(QColor(30, 40, 52));
    painter.drawRoundedRect(track, barHeight / 2, barHeight / 2);
    QLinearGradient fill(track.topLeft(), track.topRight());
    SetLoadStops(fill);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    const QRectF filled = track.adjusted(1, 1, -1, -1);
    painter.drawRoundedRect(QRectF(filled.topLeft(), QSizeF(filled.width() * reading, filled.height())),
                            barHeight / 2 - 1, barHeight / 2 - 1);
  }
}

void PaintStandardIcon(QPainter& painter, const QRectF& rect, QStyle::StandardPixmap which,
                       const QStyle* style) {
  if (style) style->standardIcon(which).paint(&painter, rect.toAlignedRect());
}

}  // namespace

QIcon AppIcon() {
  static const QIcon icon = [] {
    RegisterIconResources();
    QIcon made;
    // Read as PNG without guessing the format: a guess asks every image format plugin (SVG,
    // JPEG, GIF, ICO), which loads them all, and their libraries, into a tray monitor for good.
    for (int size : {16, 22, 24, 32, 48, 64}) {
      QImageReader reader(QStringLiteral(":/sysvane/icon-%1.png").arg(size), "png");
      reader.setAutoDetectImageFormat(false);
      made.addPixmap(QPixmap::fromImage(reader.read()));
    }
    return made;
  }();
  return icon;
}

void PaintPicture(QPainter& painter, const QRectF& rect, const std::string& name, const QStyle* style) {
  if (rect.isEmpty()) return;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  if (name == "app-icon")
    AppIcon().paint(&painter, rect.toAlignedRect());
  else if (name == "splash-bars")
    PaintBarChart(painter, rect);
  else if (name == "splash-gauge")
    PaintGauge(painter, rect);
  else if (name == "icon-stop")
    PaintStandardIcon(painter, rect, QStyle::SP_MessageBoxCritical, style);
  else if (name == "icon-question")
    PaintStandardIcon(painter, rect, QStyle::SP_MessageBoxQuestion, style);
  else if (name == "icon-exclamation")
    PaintStandardIcon(painter, rect, QStyle::SP_MessageBoxWarning, style);
  else if (name == "icon-information")
    PaintStandardIcon(painter, rect, QStyle::SP_MessageBoxInformation, style);
  painter.restore();
}

}  // namespace sysvane::qt
