#include "platform/qt/qt_dbus_types.h"

#include <QDBusMetaType>

namespace sysvane::qt {

void RegisterDBusTypes() {
  static const bool registered = [] {
    qDBusRegisterMetaType<DBusMenuItem>();
    qDBusRegisterMetaType<DBusMenuItemList>();
    qDBusRegisterMetaType<DBusMenuItemKeys>();
    qDBusRegisterMetaType<DBusMenuItemKeysList>();
    qDBusRegisterMetaType<DBusMenuLayoutItem>();
    qDBusRegisterMetaType<DBusMenuEvent>();
    qDBusRegisterMetaType<DBusMenuEventList>();
    qDBusRegisterMetaType<SniPixmap>();
    qDBusRegisterMetaType<SniPixmapList>();
    qDBusRegisterMetaType<SniToolTip>();
    // QtDBus finds a slot's parameter types by the names the slot spells them with.
    qRegisterMetaType<DBusMenuItemList>("sysvane::qt::DBusMenuItemList");
    qRegisterMetaType<DBusMenuItemKeysList>("sysvane::qt::DBusMenuItemKeysList");
    qRegisterMetaType<DBusMenuEventList>("sysvane::qt::DBusMenuEventList");
    qRegisterMetaType<SniPixmapList>("sysvane::qt::SniPixmapList");
    return true;
  }();
  (void)registered;
}

QDBusArgument& operator<<(QDBusArgument& arg, const DBusMenuItem& item) {
  arg.beginStructure();
  arg << item.id << item.properties;
  arg.endStructure();
  return arg;
}

const QDBusArgument& operator>>(const QDBusArgument& arg, DBusMenuItem& item) {
  arg.beginStructure();
  arg >> item.id >> item.properties;
  arg.endStructure();
  return arg;
}

QDBusArgument& operator<<(QDBusArgument& arg, const DBusMenuItemKeys& keys) {
  arg.beginStructure();
  arg << keys.id << keys.properties;
  arg.endStructure();
  return arg;
}

const QDBusArgument& operator>>(const QDBusArgument& arg, DBusMenuItemKeys& keys) {
  arg.beginStructure();
  arg >> keys.id >> keys.properties;
  arg.endStructure();
  return arg;
}

// The children travel as variants, each holding a layout item of its own.
QDBusArgument& operator<<(QDBusArgument& arg, const DBusMenuLayoutItem& item) {
  arg.beginStructure();
  arg << item.id << item.properties;
  arg.beginArray(qMetaTypeId<QDBusVariant>());
  for (const DBusMenuLayoutItem& child : item.children) arg << QDBusVariant(QVariant::fromValue(child));
  arg.endArray();
  arg.endStructure();
  return arg;
}

const QDBusArgument& operator>>(const QDBusArgument& arg, DBusMenuLayoutItem& item) {
  arg.beginStructure();
  arg >> item.id >> item.properties;
  item.children.clear();
  arg.beginArray();
  while (!arg.atEnd()) {
    QDBusVariant child;
    arg >> child;
    item.children.append(qdbus_cast<DBusMenuLayoutItem>(child.variant()));
  }
  arg.endArray();
  arg.endStructure();
  return arg;
}

QDBusArgument& operator<<(QDBusArgument& arg, const DBusMenuEvent& event) {
  arg.beginStructure();
  arg << event.id << event.eventId << event.data << event.timestamp;
  arg.endStructure();
  return arg;
}

const QDBusArgument& operator>>(const QDBusArgument& arg, DBusMenuEvent& event) {
  arg.beginStructure();
  arg >> event.id >> event.eventId >> event.data >> event.timestamp;
  arg.endStructure();
  return arg;
}

QDBusArgument& operator<<(QDBusArgument& arg, const SniPixmap& pixmap) {
  arg.beginStructure();
  arg << pixmap.width << pixmap.height << pixmap.bytes;
  arg.endStructure();
  return arg;
}

const QDBusArgument& operator>>(const QDBusArgument& arg, SniPixmap& pixmap) {
  arg.beginStructure();
  arg >> pixmap.width >> pixmap.height >> pixmap.bytes;
  arg.endStructure();
  return arg;
}

QDBusArgument& operator<<(QDBusArgument& arg, const SniToolTip& tip) {
  arg.beginStructure();
  arg << tip.iconName << tip.iconPixmap << tip.title << tip.text;
  arg.endStructure();
  return arg;
}

const QDBusArgument& operator>>(const QDBusArgument& arg, SniToolTip& tip) {
  arg.beginStructure();
  arg >> tip.iconName >> tip.iconPixmap >> tip.title >> tip.text;
  arg.endStructure();
  return arg;
}

}  // namespace sysvane::qt
