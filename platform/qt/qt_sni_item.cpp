#include "platform/qt/qt_sni_item.h"

#include <QtEndian>

#include "platform/qt/qt_dbus_menu.h"

namespace sysvane::qt {

SniItem::SniItem() {
  RegisterDBusTypes();
}

SniPixmap SniItem::ToPixmap(const QImage& image) {
  const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
  SniPixmap pixmap{argb.width(), argb.height(),
                   QByteArray(qsizetype(argb.width()) * argb.height() * 4, '\0')};
  auto* out = reinterpret_cast<quint32*>(pixmap.bytes.data());
  for (int y = 0; y < argb.height(); ++y) {
    const auto* row = reinterpret_cast<const quint32*>(argb.constScanLine(y));
    for (int x = 0; x < argb.width(); ++x) *out++ = qToBigEndian(row[x]);
  }
  return pixmap;
}

void SniItem::SetIconImages(const QList<QImage>& images) {
  SniPixmapList pixmaps;
  for (const QImage& image : images) {
    if (!image.isNull()) pixmaps.append(ToPixmap(image));
  }
  pixmaps_ = pixmaps;
  emit NewIcon();
}

void SniItem::SetLabel(const QString& label, const QString& guide) {
  if (label == label_ && guide == guide_) return;
  label_ = label;
  guide_ = guide;
  emit XAyatanaNewLabel(label_, guide_);
}

void SniItem::SetToolTip(const QString& text, bool announce) {
  if (text != tip_) {
    tip_ = text;
    tipUntold_ = true;
  }
  if (!announce || !tipUntold_) return;
  tipUntold_ = false;
  emit NewToolTip();
}

void SniItem::Request(SniRequest request, int x, int y) {
  // Hosts that do not know the place send 0, 0 (or nothing sensible).
  const std::optional<QPoint> place =
      (x > 0 || y > 0) && x >= 0 && y >= 0 ? std::optional<QPoint>(QPoint(x, y)) : std::nullopt;
  if (Requested) Requested(request, place);
}

SniItemAdaptor::SniItemAdaptor(SniItem* item) : QDBusAbstractAdaptor(item), item_(item) {
  connect(item, &SniItem::NewIcon, this, &SniItemAdaptor::NewIcon);
  connect(item, &SniItem::NewToolTip, this, &SniItemAdaptor::NewToolTip);
  connect(item, &SniItem::XAyatanaNewLabel, this, &SniItemAdaptor::XAyatanaNewLabel);
}

SniToolTip SniItemAdaptor::ToolTip() const {
  return {QString(), {}, item_->ToolTipText(), QString()};
}

QDBusObjectPath SniItemAdaptor::Menu() const {
  return QDBusObjectPath(QLatin1String(DBusMenuAdaptor::kPath));
}

void SniItemAdaptor::ContextMenu(int x, int y) {
  item_->Request(SniRequest::ContextMenu, x, y);
}

void SniItemAdaptor::Activate(int x, int y) {
  item_->Request(SniRequest::Activate, x, y);
}

void SniItemAdaptor::SecondaryActivate(int x, int y) {
  item_->Request(SniRequest::SecondaryActivate, x, y);
}

void SniItemAdaptor::Scroll(int, const QString&) {}

void SniItemAdaptor::ProvideXdgActivationToken(const QString&) {}

}  // namespace sysvane::qt
