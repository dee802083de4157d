#include "platform/qt/qt_dbus_menu.h"

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>

#include "platform/qt/qt_convert.h"

namespace sysvane::qt {

namespace {

constexpr qint64 kOneOpening = 1000;    // ms: AboutToShow and "opened" of one opening come this close
constexpr qint64 kLongestOpen = 10000;  // ms: a menu the host does not say it closed is taken closed

// Every property an item can have, so that those it lacks now are named as removed.
const QStringList kItemProperties = {QStringLiteral("type"),
                                     QStringLiteral("label"),
                                     QStringLiteral("enabled"),
                                     QStringLiteral("visible"),
                                     QStringLiteral("toggle-type"),
                                     QStringLiteral("toggle-state"),
                                     QStringLiteral("children-display")};

// A host reads "_" as the mark of an access key, and "__" as the character itself. A caption
// marks its key with "&" and writes "&&" for the character, as Qt's own menu reads it: the menu
// shows the same on every tray.
QString Label(const std::string& caption) {
  const QString text = ToQString(caption);
  QString label;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == u'_')
      label += QStringLiteral("__");
    else if (text[i] != u'&' || i + 1 == text.size())
      label += text[i];
    else if (text[++i] == u'&')
      label += u'&';
    else
      label += QLatin1Char('_') + text[i];
  }
  return label;
}

QVariantMap ItemProperties(const forms::MenuItem& item) {
  QVariantMap properties;
  if (item.IsSeparator()) {
    properties[QStringLiteral("type")] = QStringLiteral("separator");
  } else {
    properties[QStringLiteral("label")] = Label(item.Caption());
    properties[QStringLiteral("enabled")] = item.Enabled();
    // A toggle from the start: Plasma's menu reads toggle-type only when it builds an item, and
    // would never draw the mark of an item that became checkable later.
    if (item.Checkable() || item.Checked()) {
      properties[QStringLiteral("toggle-type")] = QStringLiteral("checkmark");
      properties[QStringLiteral("toggle-state")] = item.Checked() ? 1 : 0;
    }
  }
  properties[QStringLiteral("visible")] = item.Visible();
  return properties;
}

// Only the properties named; all of them when none is named (an empty name names none).
QVariantMap Only(const QVariantMap& properties, const QStringList& names) {
  if (std::all_of(names.begin(), names.end(), [](const QString& name) { return name.isEmpty(); }))
    return properties;
  QVariantMap chosen;
  for (const QString& name : names) {
    if (properties.contains(name)) chosen[name] = properties[name];
  }
  return chosen;
}

}  // namespace

DBusMenu::DBusMenu(forms::MenuList& list) : list_(list) {
  RegisterDBusTypes();
  for (forms::MenuItem* item : list_.items) {
    told_.push_back(ItemProperties(*item));
    item->StateChanged = [this] { Changed(); };
  }
}

DBusMenu::~DBusMenu() {
  for (forms::MenuItem* item : list_.items) item->StateChanged = nullptr;
}

QVariantMap DBusMenu::Properties(int id, const QStringList& names) const {
  if (id == 0) return Only({{QStringLiteral("children-display"), QStringLiteral("submenu")}}, names);
  if (!Exists(id)) return {};
  return Only(ItemProperties(*list_.items[size_t(id - 1)]), names);
}

DBusMenuLayoutItem DBusMenu::Layout(int parentId, int depth, const QStringList& names) const {
  DBusMenuLayoutItem layout{parentId, Properties(parentId, names), {}};
  if (parentId != 0 || depth == 0) return layout;  // the items themselves have no children
  for (int id = 1; id <= int(list_.items.size()); ++id)
    layout.children.append({id, Properties(id, names), {}});
  return layout;
}

void DBusMenu::Changed() {
  if (pending_) return;
  pending_ = true;
  // Several changes of one handler go out together.
  QTimer::singleShot(0, this, [this] { Flush(); });
}

bool DBusMenu::Flush() {
  if (!pending_) return false;
  pending_ = false;
  DBusMenuItemList updated;
  DBusMenuItemKeysList removed;
  for (int id = 1; id <= int(list_.items.size()); ++id) {
    const QVariantMap now = Properties(id);
    QVariantMap& told = told_[size_t(id - 1)];
    if (now == told) continue;
    updated.append({id, now});
    QStringList gone;
    for (const QString& name : kItemProperties) {
      if (told.contains(name) && !now.contains(name)) gone.append(name);
    }
    if (!gone.isEmpty()) removed.append({id, gone});
    told = now;
  }
  if (updated.isEmpty()) return false;
  emit ItemsPropertiesUpdated(updated, removed);
  return true;
}

void DBusMenu::Open() {
  if (opened_.isValid() && opened_.elapsed() < kOneOpening) return;  // the same opening, told twice
  opened_.start();
  if (Opening) Opening();
}

bool DBusMenu::MayBeOpen() const {
  return opened_.isValid() && opened_.elapsed() < kLongestOpen;
}

bool DBusMenu::AboutToShow(int id) {
  if (id != 0) return false;
  Open();
  // What the owner changed on the opening was sent before this answer: the host reads it again.
  return Flush();
}

void DBusMenu::Event(int id, const QString& eventId) {
  if (eventId == QLatin1String("clicked") && id > 0 && Exists(id)) {
    forms::MenuItem* item = list_.items[size_t(id - 1)];
    opened_.invalidate();  // a click closes the menu
    QMetaObject::invokeMethod(
        qApp, [item] { item->NotifyClick(); }, Qt::QueuedConnection);
  } else if (eventId == QLatin1String("opened") && id == 0) {
    Open();
  } else if (eventId == QLatin1String("closed") && id == 0) {
    opened_.invalidate();
  }
}

DBusMenuAdaptor::DBusMenuAdaptor(DBusMenu* menu) : QDBusAbstractAdaptor(menu), menu_(menu) {
  connect(menu, &DBusMenu::ItemsPropertiesUpdated, this, &DBusMenuAdaptor::ItemsPropertiesUpdated);
}

uint DBusMenuAdaptor::GetLayout(int parentId, int recursionDepth, const QStringList& propertyNames,
                                DBusMenuLayoutItem& layout) {
  layout = menu_->Layout(parentId, recursionDepth, propertyNames);
  return DBusMenu::kRevision;
}

DBusMenuItemList DBusMenuAdaptor::GetGroupProperties(const QList<int>& ids,
                                                     const QStringList& propertyNames) {
  DBusMenuItemList items;
  for (int id : ids) {
    if (menu_->Exists(id)) items.append({id, menu_->Properties(id, propertyNames)});
  }
  return items;
}

QDBusVariant DBusMenuAdaptor::GetProperty(int id, const QString& name) {
  return QDBusVariant(menu_->Properties(id).value(name));
}

void DBusMenuAdaptor::Event(int id, const QString& eventId, const QDBusVariant&, uint) {
  menu_->Event(id, eventId);
}

QList<int> DBusMenuAdaptor::EventGroup(const DBusMenuEventList& events) {
  QList<int> unknown;
  for (const DBusMenuEvent& event : events) {
    if (menu_->Exists(event.id))
      menu_->Event(event.id, event.eventId);
    else
      unknown.append(event.id);
  }
  return unknown;
}

bool DBusMenuAdaptor::AboutToShow(int id) {
  return menu_->AboutToShow(id);
}

QList<int> DBusMenuAdaptor::AboutToShowGroup(const QList<int>& ids, QList<int>& idErrors) {
  QList<int> updates;
  for (int id : ids) {
    if (!menu_->Exists(id))
      idErrors.append(id);
    else if (menu_->AboutToShow(id))
      updates.append(id);
  }
  return updates;
}

}  // namespace sysvane::qt
