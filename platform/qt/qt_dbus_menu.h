// The owner's menu as a D-Bus tray host reads it (com.canonical.dbusmenu): the host shows the
// menu itself, from the items it asked for and from the changes it was told of. Every change of
// an item's caption, check, enabled state or visibility reaches the host in the next turn of the
// event loop as the item's whole properties (with those it no longer has listed as removed).
// The items themselves never change, so the layout keeps its first revision: a new one makes a
// host such as waybar rebuild its menu, and a click on a menu rebuilt while it opens is lost.
// Items are numbered from 1 in the menu's order; 0 is the menu itself.
#pragma once

#include <QDBusAbstractAdaptor>
#include <QElapsedTimer>
#include <QObject>
#include <functional>
#include <vector>

#include "platform/forms.h"
#include "platform/qt/qt_dbus_types.h"

namespace sysvane::qt {

class DBusMenu : public QObject {
  Q_OBJECT

 public:
  explicit DBusMenu(forms::MenuList& list);
  ~DBusMenu() override;

  const forms::MenuList& List() const { return list_; }
  static constexpr uint kRevision = 1;

  // What a host asks for.
  DBusMenuLayoutItem Layout(int parentId, int depth, const QStringList& names) const;
  QVariantMap Properties(int id, const QStringList& names = {}) const;
  // The host is about to show the menu (or the item `id`): the owner hears of it first, and the
  // answer says whether that changed what the host holds.
  bool AboutToShow(int id);
  // "clicked" runs the item's command once the host's call has returned; "opened" and "closed"
  // frame a showing of the menu.
  void Event(int id, const QString& eventId);
  bool Exists(int id) const { return id >= 0 && id <= int(list_.items.size()); }
  // The host's menu may be open: it opened, and neither closed nor was clicked since, within a
  // while (waybar never says that its menu closed).
  bool MayBeOpen() const;

  // The host is opening the menu: what the owner does on a right click comes first.
  std::function<void()> Opening;

  // Sends what changed since hosts were last told, now rather than at the next turn; whether
  // anything had.
  bool Flush();

 signals:
  void ItemsPropertiesUpdated(const sysvane::qt::DBusMenuItemList& updated,
                              const sysvane::qt::DBusMenuItemKeysList& removed);

 private:
  void Changed();
  void Open();
  forms::MenuList& list_;
  std::vector<QVariantMap> told_;  // each item's properties as hosts last heard them
  bool pending_ = false;
  QElapsedTimer opened_;  // since the host last said it opens the menu, until it closes it
};

// The bus face of DBusMenu, on the object path kPath.
class DBusMenuAdaptor : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "com.canonical.dbusmenu")
  Q_PROPERTY(uint Version READ Version)
  Q_PROPERTY(QString TextDirection READ TextDirection)
  Q_PROPERTY(QString Status READ Status)
  Q_PROPERTY(QStringList IconThemePath READ IconThemePath)

 public:
  static constexpr const char* kPath = "/MenuBar";
  explicit DBusMenuAdaptor(DBusMenu* menu);

  uint Version() const { return 3; }
  QString TextDirection() const { return QStringLiteral("ltr"); }
  QString Status() const { return QStringLiteral("normal"); }
  QStringList IconThemePath() const { return {}; }

 public slots:
  uint GetLayout(int parentId, int recursionDepth, const QStringList& propertyNames,
                 sysvane::qt::DBusMenuLayoutItem& layout);
  sysvane::qt::DBusMenuItemList GetGroupProperties(const QList<int>& ids, const QStringList& propertyNames);
  QDBusVariant GetProperty(int id, const QString& name);
  void Event(int id, const QString& eventId, const QDBusVariant& data, uint timestamp);
  QList<int> EventGroup(const sysvane::qt::DBusMenuEventList& events);
  bool AboutToShow(int id);
  QList<int> AboutToShowGroup(const QList<int>& ids, QList<int>& idErrors);

 signals:
  void ItemsPropertiesUpdated(const sysvane::qt::DBusMenuItemList& updatedProps,
                              const sysvane::qt::DBusMenuItemKeysList& removedProps);
  void LayoutUpdated(uint revision, int parent);
  void ItemActivationRequested(int id, uint timestamp);

 private:
  DBusMenu* menu_;
};

}  // namespace sysvane::qt
