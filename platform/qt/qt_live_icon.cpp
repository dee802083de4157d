#include "platform/qt/qt_live_icon.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QStringList>
#include <cmath>
#include <cstring>

namespace sysvane::qt {

QImage ToQImage(const forms::ArgbImage& image) {
  QImage out(image.size, image.size, QImage::Format_ARGB32);
  for (int y = 0; y < image.size; ++y)
    std::memcpy(out.scanLine(y), image.pixels.data() + size_t(y) * size_t(image.size),
                size_t(image.size) * 4);
  return out;
}

namespace {

class LiveIconEngine : public QIconEngine {
 public:
  explicit LiveIconEngine(std::shared_ptr<const forms::LiveIcon> icon) : icon_(std::move(icon)) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override {
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    const int side = std::min(rect.width(), rect.height());
    const int pixels = int(std::lround(side * ratio));
    if (pixels <= 0) return;
    QImage image = Drawn(pixels);
    image.setDevicePixelRatio(ratio);
    const QRectF target(rect.x() + (rect.width() - side) / 2.0, rect.y() + (rect.height() - side) / 2.0, side,
                        side);
    painter->drawImage(target, image);
  }

  QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override {
    return QPixmap::fromImage(Drawn(std::min(size.width(), size.height())));
  }

  QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
    return {{16, 16}, {22, 22}, {24, 24}, {32, 32}, {48, 48}};
  }

  QIconEngine* clone() const override { return new LiveIconEngine(icon_); }
  QString key() const override { return QStringLiteral("sysvane-live"); }

 private:
  // A tray paints the same size again and again: the last drawing is kept.
  QImage Drawn(int pixels) {
    if (cached_.width() != pixels) cached_ = ToQImage(icon_->Draw(pixels));
    return cached_;
  }
  std::shared_ptr<const forms::LiveIcon> icon_;
  QImage cached_;
};

}  // namespace

QIcon LiveQIcon(std::shared_ptr<const forms::LiveIcon> icon) {
  return QIcon(new LiveIconEngine(std::move(icon)));
}

std::pair<QString, QString> LiveLabel(const QString& figures) {
  QStringList label = figures.split(QLatin1Char(' '), Qt::SkipEmptyParts);
  for (QString& figure : label) {
    if (figure.size() == 2) figure.prepend(QChar(0x2007));
  }
  return {label.join(QLatin1Char(' ')),
          QStringList(label.size(), QStringLiteral("99%")).join(QLatin1Char(' '))};
}

QList<int> LiveIconSizes(const QByteArray& currentDesktop, int scale) {
  constexpr int kXfceIconSize = 22;
  const bool xfce = currentDesktop.toUpper().split(':').contains("XFCE");
  QList<int> sizes;
  for (int factor : {1, scale}) {
    for (int size : {16, 22, 24, 32, 48}) {
      const int pixels = size * factor;
      if (!sizes.contains(pixels) && (!xfce || pixels <= kXfceIconSize * scale)) sizes.append(pixels);
    }
  }
  return sizes;
}

}  // namespace sysvane::qt
