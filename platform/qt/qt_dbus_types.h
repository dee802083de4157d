// The structures the notification-area item and its menu carry over D-Bus, with their wire
// signatures: a menu item's properties (ia{sv}), the properties an item lost (ias), the menu's
// layout (ia{sv}av), a host's event (isvu), and the item's pictures (iiay) and tip (sa(iiay)ss).
#pragma once

#include <QByteArray>
#include <QDBusArgument>
#include <QDBusVariant>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>

namespace sysvane::qt {

struct DBusMenuItem {
  int id = 0;
  QVariantMap properties;
};
using DBusMenuItemList = QList<DBusMenuItem>;

struct DBusMenuItemKeys {
  int id = 0;
  QStringList properties;
};
using DBusMenuItemKeysList = QList<DBusMenuItemKeys>;

struct DBusMenuLayoutItem {
  int id = 0;
  QVariantMap properties;
  QList<DBusMenuLayoutItem> children;
};

struct DBusMenuEvent {
  int id = 0;
  QString eventId;
  QDBusVariant data;
  uint timestamp = 0;
};
using DBusMenuEventList = QList<DBusMenuEvent>;

// One size of a picture: ARGB32 pixels in network byte order, row by row.
struct SniPixmap {
  int width = 0;
  int height = 0;
  QByteArray bytes;
};
using SniPixmapList = QList<SniPixmap>;

struct SniToolTip {
  QString iconName;
  SniPixmapList iconPixmap;
  QString title;
  QString text;
};

// Makes the types known to QtDBus; before the first object that uses them is exported.
void RegisterDBusTypes();

QDBusArgument& operator<<(QDBusArgument& arg, const DBusMenuItem& item);
const QDBusArgument& operator>>(const QDBusArgument& arg, DBusMenuItem& item);
QDBusArgument& operator<<(QDBusArgument& arg, const DBusMenuItemKeys& keys);
const QDBusArgument& operator>>(const QDBusArgument& arg, DBusMenuItemKeys& keys);
QDBusArgument& operator<<(QDBusArgument& arg, const DBusMenuLayoutItem& item);
const QDBusArgument& operator>>(const QDBusArgument& arg, DBusMenuLayoutItem& item);
QDBusArgument& operator<<(QDBusArgument& arg, const DBusMenuEvent& event);
const QDBusArgument& operator>>(const QDBusArgument& arg, DBusMenuEvent& event);
QDBusArgument& operator<<(QDBusArgument& arg, const SniPixmap& pixmap);
const QDBusArgument& operator>>(const QDBusArgument& arg, SniPixmap& pixmap);
QDBusArgument& operator<<(QDBusArgument& arg, const SniToolTip& tip);
const QDBusArgument& operator>>(const QDBusArgument& arg, SniToolTip& tip);

}  // namespace sysvane::qt

Q_DECLARE_METATYPE(sysvane::qt::DBusMenuItem)
Q_DECLARE_METATYPE(sysvane::qt::DBusMenuItemKeys)
Q_DECLARE_METATYPE(sysvane::qt::DBusMenuLayoutItem)
Q_DECLARE_METATYPE(sysvane::qt::DBusMenuEvent)
Q_DECLARE_METATYPE(sysvane::qt::SniPixmap)
Q_DECLARE_METATYPE(sysvane::qt::SniToolTip)
