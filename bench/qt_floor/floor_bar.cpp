#include "bench/qt_floor/floor_bar.h"

#include <QLinearGradient>
#include <QPainter>

#include "platform/bar_display.h"

namespace sysvane::floor {

FloorBar::FloorBar(QWidget* parent) : QWidget(parent) {
  // Every pixel is painted here, so the window behind never has to be.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void FloorBar::SetValue(int value) {
  if (value == value_) return;
  value_ = value;
  update();
}

void FloorBar::paintEvent(QPaintEvent*) {
  const forms::BarDisplay shown = forms::DescribeBar(value_, "%");
  QPainter painter(this);
  const QRect outer = rect();
  painter.fillRect(outer, palette().color(QPalette::Base));
  painter.setPen(palette().color(QPalette::Dark));
  painter.drawRect(outer.adjusted(0, 0, -1, -1));
  const QRect inner = outer.adjusted(1, 1, -1, -1);
  const int filled = forms::FilledPixels(shown.fillFraction, inner.width());
  if (filled > 0) {
    const QRect fill(inner.left(), inner.top(), filled, inner.height());
    QLinearGradient gradient(fill.topLeft(), fill.topRight());
    gradient.setColorAt(0, QColor(0, 192, 0));
    gradient.setColorAt(1, QColor(255, 0, 0));
    painter.fillRect(fill, gradient);
  }
  painter.setPen(palette().color(QPalette::Text));
  painter.drawText(inner, Qt::AlignCenter, QString::fromStdString(shown.text));
}

}  // namespace sysvane::floor
