// The program's own notification-area item on D-Bus (org.kde.StatusNotifierItem, on the object
// path /StatusNotifierItem of the connection that exports it): its pictures, tip and label, and
// the host's requests (a click, a middle click, a context request), each with the place on
// screen the host gives. Its menu is a DBusMenu on /MenuBar.
#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusObjectPath>
#include <QImage>
#include <QObject>
#include <QPoint>
#include <functional>
#include <optional>

#include "platform/qt/qt_dbus_types.h"

namespace sysvane::qt {

enum class SniRequest { Activate, SecondaryActivate, ContextMenu };

class SniItem : public QObject {
  Q_OBJECT

 public:
  SniItem();

  // The pictures of the icon, one per size; hosts pick the size they draw.
  void SetIconImages(const QList<QImage>& images);
  // The text some hosts (GNOME's AppIndicator extension) draw beside the icon; `guide` is the
  // longest text it will hold, so that the panel keeps its width while the text changes.
  void SetLabel(const QString& label, const QString& guide = QString());
  // The tip; `announce` tells the host of a text it has not been told of yet (a host that shows
  // no tip is not bothered, and one whose menu is open is told later).
  void SetToolTip(const QString& text, bool announce);

  // The host's request, with its place on screen when the host gave a usable one.
  std::function<void(SniRequest, std::optional<QPoint>)> Requested;
  void Request(SniRequest request, int x, int y);

  const SniPixmapList& IconPixmap() const { return pixmaps_; }
  const QString& ToolTipText() const { return tip_; }
  const QString& Label() const { return label_; }
  const QString& LabelGuide() const { return guide_; }

  // The pictures of an image in the item's form: ARGB32, network byte order.
  static SniPixmap ToPixmap(const QImage& image);

 signals:
  void NewIcon();
  void NewToolTip();
  void XAyatanaNewLabel(const QString& label, const QString& guide);

 private:
  SniPixmapList pixmaps_;
  QString tip_;
  bool tipUntold_ = false;
  QString label_;
  QString guide_;
};

class SniItemAdaptor : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierItem")
  Q_PROPERTY(QString Category READ Category)
  Q_PROPERTY(QString Id READ Id)
  Q_PROPERTY(QString Title READ Title)
  Q_PROPERTY(QString Status READ Status)
  Q_PROPERTY(int WindowId READ WindowId)
  Q_PROPERTY(QString IconThemePath READ Empty)
  Q_PROPERTY(QString IconName READ Empty)
  Q_PROPERTY(sysvane::qt::SniPixmapList IconPixmap READ IconPixmap)
  Q_PROPERTY(QString OverlayIconName READ Empty)
  Q_PROPERTY(sysvane::qt::SniPixmapList OverlayIconPixmap READ NoPixmap)
  Q_PROPERTY(QString AttentionIconName READ Empty)
  Q_PROPERTY(sysvane::qt::SniPixmapList AttentionIconPixmap READ NoPixmap)
  Q_PROPERTY(QString AttentionMovieName READ Empty)
  Q_PROPERTY(sysvane::qt::SniToolTip ToolTip READ ToolTip)
  Q_PROPERTY(bool ItemIsMenu READ ItemIsMenu)
  Q_PROPERTY(QDBusObjectPath Menu READ Menu)
  Q_PROPERTY(QString XAyatanaLabel READ XAyatanaLabel)
  Q_PROPERTY(QString XAyatanaLabelGuide READ XAyatanaLabelGuide)
  Q_PROPERTY(uint XAyatanaOrderingIndex READ XAyatanaOrderingIndex)

 public:
  static constexpr const char* kPath = "/StatusNotifierItem";
  explicit SniItemAdaptor(SniItem* item);

  QString Category() const { return QStringLiteral("ApplicationStatus"); }
  QString Id() const { return QStringLiteral("sysvane"); }
  QString Title() const { return QStringLiteral("Sysvane"); }
  QString Status() const { return QStringLiteral("Active"); }
  int WindowId() const { return 0; }
  QString Empty() const { return {}; }
  SniPixmapList IconPixmap() const { return item_->IconPixmap(); }
  SniPixmapList NoPixmap() const { return {}; }
  SniToolTip ToolTip() const;
  bool ItemIsMenu() const { return false; }
  QDBusObjectPath Menu() const;
  QString XAyatanaLabel() const { return item_->Label(); }
  QString XAyatanaLabelGuide() const { return item_->LabelGuide(); }
  uint XAyatanaOrderingIndex() const { return 0; }

 public slots:
  void ContextMenu(int x, int y);
  void Activate(int x, int y);
  void SecondaryActivate(int x, int y);
  void Scroll(int delta, const QString& orientation);
  void ProvideXdgActivationToken(const QString& token);

 signals:
  void NewTitle();
  void NewIcon();
  void NewAttentionIcon();
  void NewOverlayIcon();
  void NewToolTip();
  void NewStatus(const QString& status);
  void XAyatanaNewLabel(const QString& label, const QString& guide);

 private:
  SniItem* item_;
};

}  // namespace sysvane::qt
