#include "platform/qt/qt_tray.h"

#include <xcb/xcb.h>

#include <QApplication>
#include <QCursor>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QFileInfo>
#include <QStyleHints>
#include <cstring>

#include "platform/qt/qt_convert.h"
#include "platform/qt/qt_pictures.h"

namespace sysvane::qt {

namespace {
constexpr int kPollWhereShown = 500;    // ms, the pointer checked against the icon's place
constexpr int kTipRefreshBlind = 2000;  // ms, 512 without knowing where the icon is
constexpr size_t kVisibleTip = 63;
constexpr int kLookForHost = 500;  // ms, while the icon waits for a tray

// Whether the D-Bus library would have to start a session bus to answer: no address is set and
// no bus listens at its usual place.
bool NoSessionBus() {
  if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) return false;
  const QString runtimeDir = qEnvironmentVariable("XDG_RUNTIME_DIR");
  return runtimeDir.isEmpty() || !QFileInfo::exists(runtimeDir + QStringLiteral("/bus"));
}

// The screen of $DISPLAY (":0.1" is screen 1), whose tray selection an XEmbed tray owns.
int DisplayScreen() {
  const QString display = qEnvironmentVariable("DISPLAY");
  const qsizetype dot = display.lastIndexOf(QLatin1Char('.'));
  return dot > display.lastIndexOf(QLatin1Char(':')) ? display.mid(dot + 1).toInt() : 0;
}

bool XEmbedTrayNow() {
  const auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
  xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
  if (!connection) return false;
  const QByteArray name = "_NET_SYSTEM_TRAY_S" + QByteArray::number(DisplayScreen());
  xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
      connection, xcb_intern_atom(connection, 1, uint16_t(name.size()), name.constData()), nullptr);
  const xcb_atom_t selection = atom ? atom->atom : xcb_atom_t(XCB_ATOM_NONE);
  free(atom);
  if (selection == XCB_ATOM_NONE) return false;  // no tray has ever named it
  xcb_get_selection_owner_reply_t* owner =
      xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, selection), nullptr);
  const bool owned = owner && owner->owner != XCB_WINDOW_NONE;
  free(owner);
  return owned;
}

bool DBusTrayHostNow() {
  const QString platform = QGuiApplication::platformName();
  if (platform != QLatin1String("xcb") && !platform.startsWith(QLatin1String("wayland"))) return false;
  if (NoSessionBus()) return false;
  const QDBusConnection bus = QDBusConnection::sessionBus();
  const QString watcherName = QStringLiteral("org.kde.StatusNotifierWatcher");
  if (!bus.isConnected() || !bus.interface()->isServiceRegistered(watcherName)) return false;
  QDBusInterface watcher(watcherName, QStringLiteral("/StatusNotifierWatcher"), watcherName, bus);
  return watcher.isValid() && watcher.property("IsStatusNotifierHostRegistered").toBool();
}

// A tray host that is there now, asked afresh each time and without asking Qt.
TrayService::Host TrayHostNow() {
  if (DBusTrayHostNow()) return TrayService::Host::DBus;
  return XEmbedTrayNow() ? TrayService::Host::XEmbed : TrayService::Host::None;
}

}  // namespace

TrayService::TrayService() : hostPresent_(TrayHostNow) {
  hover_.setTimerType(Qt::CoarseTimer);
  connect(&hover_, &QTimer::timeout, this, [this] { Poll(); });
  waitForHost_.setTimerType(Qt::CoarseTimer);
  waitForHost_.setInterval(kLookForHost);
  connect(&waitForHost_, &QTimer::timeout, this, [this] { MakeIconOnceHostIsThere(); });
}

TrayService::~TrayService() {
  delete icon_.data();
}

QString TrayService::ShownTip(const forms::NOTIFYICONDATA& data) {
  const size_t length = strnlen(data.szTip.data(), kVisibleTip);
  return QString::fromUtf8(data.szTip.data(), qsizetype(length));
}

QString TrayService::ToolTip() const {
  return icon_ ? icon_->toolTip() : QString();
}

QRect TrayService::Geometry() const {
  return icon_ ? icon_->geometry() : QRect();
}

std::optional<QRect> TrayService::Place() const {
  const QRect place = Geometry();
  if (!place.isEmpty()) return place;
  if (lastClick_) return QRect(*lastClick_, QSize(1, 1));
  return std::nullopt;
}

bool TrayService::Available() const {
  // Never Qt's question, also once the icon is made: see Poll.
  return hostPresent_() != Host::None;
}

bool TrayService::Notify(int message, const forms::NOTIFYICONDATA& data) {
  switch (message) {
    case forms::NIM_ADD: {
      added_ = true;
      owner_ = data.hWnd;
      iconName_ = data.hIcon;
      menuToMirror_ = data.menu;
      tip_ = ShownTip(data);
      if (icon_) {
        MirrorMenu(data.menu);
        icon_->setToolTip(tip_);
      } else {
        MakeIconOnceHostIsThere();
      }
      return true;
    }
    case forms::NIM_MODIFY: {
      if (!added_) return false;
      if (data.hWnd) owner_ = data.hWnd;
      const QString tip = ShownTip(data);
      if (tip != tip_) {  // the tray hears only of a tip that changed
        tip_ = tip;
        if (icon_) icon_->setToolTip(tip_);
      }
      return true;
    }
    case forms::NIM_DELETE: {
      if (!added_) return false;
      added_ = false;
      waitForHost_.stop();
      menuToMirror_ = nullptr;
      if (!icon_) return true;
      hover_.stop();
      ForgetMenu();
      owner_ = nullptr;
      if (embedded_) embedded_->removeEventFilter(this);
      embedded_ = nullptr;
      icon_->hide();
      // Removing the icon may be the answer to one of its own clicks.
      icon_->disconnect(this);
      icon_->deleteLater();
      icon_ = nullptr;
      return true;
    }
    default:
      return false;
  }
}

void TrayService::MakeIconOnceHostIsThere() {
  if (!added_ || icon_) {
    waitForHost_.stop();
    return;
  }
  const Host host = hostPresent_();
  const bool waiting = waitForHost_.isActive();
  const bool settled = host == Host::DBus || (host == Host::XEmbed && (!waiting || xembedSeen_));
  xembedSeen_ = host == Host::XEmbed;
  if (!settled) {
    if (!waiting) waitForHost_.start();
    return;
  }
  waitForHost_.stop();
  dbusHost_ = host == Host::DBus;  // Qt's answer too, when it makes the icon just below
  // Without any session bus, the D-Bus library would start one to answer Qt's question (a tenth
  // of a second or more) that could hold no tray: Qt is given an address that fails at once, only
  // while the icon is made, so that programs started later get the environment as it was.
  const bool noBus = NoSessionBus();
  if (noBus) qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/dev/null");
  icon_ = new QSystemTrayIcon();
  connect(icon_, &QSystemTrayIcon::activated, this,
          [this](QSystemTrayIcon::ActivationReason reason) { Activated(reason); });
  MirrorMenu(menuToMirror_);
  icon_->setIcon(AppIcon());
  icon_->setToolTip(tip_);
  icon_->show();
  if (noBus) qunsetenv("DBUS_SESSION_BUS_ADDRESS");
  TrackEmbeddedIcon();
  hover_.start(kPollWhereShown);
}

void TrayService::Activated(QSystemTrayIcon::ActivationReason reason) {
  lastClick_ = QCursor::pos();
  switch (reason) {
    case QSystemTrayIcon::Trigger:
      // A tray that reports only activations (D-Bus): the second within the desktop's
      // double-click interval is the double-click.
      if (sinceTrigger_.isValid() &&
          sinceTrigger_.elapsed() <= QGuiApplication::styleHints()->mouseDoubleClickInterval()) {
        sinceTrigger_.invalidate();
        Deliver(forms::WM_LBUTTONDBLCLK);
        break;
      }
      sinceTrigger_.start();
      Deliver(forms::WM_LBUTTONUP);
      break;
    case QSystemTrayIcon::DoubleClick:
      // The window expects the release of the first click before every double-click.
      if (!sinceTrigger_.isValid() || sinceTrigger_.elapsed() > QApplication::doubleClickInterval() + 250)
        Deliver(forms::WM_LBUTTONUP);
      sinceTrigger_.invalidate();
      Deliver(forms::WM_LBUTTONDBLCLK);
      break;
    case QSystemTrayIcon::Context:
      Deliver(forms::WM_RBUTTONUP);
      break;
    default:
      break;
  }
}

void TrayService::MirrorMenu(forms::MenuList* list) {
  if (list == menuList_) return;
  ForgetMenu();
  if (!list) return;
  menuList_ = list;
  hostMenu_ = std::make_unique<QMenu>();
  const QPointer<TrayService> self(this);
  for (forms::MenuItem* item : list->items) {
    QAction* action = hostMenu_->addAction(QString());
    // The command runs once the host's call has returned, as after a popup menu.
    connect(action, &QAction::triggered, this, [item] {
      QMetaObject::invokeMethod(
          qApp, [item] { item->NotifyClick(); }, Qt::QueuedConnection);
    });
    item->StateChanged = [self] {
      if (self) self->SyncMenu();
    };
  }
  SyncMenu();
  connect(hostMenu_.get(), &QMenu::aboutToShow, this, [this] { HostOpensMenu(); });
  if (dbusHost_ && icon_) icon_->setContextMenu(hostMenu_.get());
}

void TrayService::SyncMenu() {
  if (!hostMenu_ || !menuList_) return;
  const QList<QAction*> actions = hostMenu_->actions();
  for (qsizetype i = 0; i < actions.size() && i < qsizetype(menuList_->items.size()); ++i) {
    const forms::MenuItem& item = *menuList_->items[size_t(i)];
    QAction* action = actions[i];
    action->setSeparator(item.IsSeparator());
    action->setText(item.IsSeparator() ? QString() : ToQString(item.Caption()));
    action->setCheckable(item.Checked());  // an unchecked item shows no box, as in the popup menu
    action->setChecked(item.Checked());
    action->setEnabled(item.Enabled());
    action->setVisible(item.Visible());
  }
}

void TrayService::ForgetMenu() {
  if (menuList_) {
    for (forms::MenuItem* item : menuList_->items) item->StateChanged = nullptr;
  }
  if (icon_) icon_->setContextMenu(nullptr);
  hostMenu_.reset();
  menuList_ = nullptr;
}

// What the owner does on a right click, besides popping its menu up, runs before the host shows it.
void TrayService::HostOpensMenu() {
  SyncMenu();
  hostOpening_ = true;
  DeliverNow(forms::WM_RBUTTONUP);
  hostOpening_ = false;
}

void TrayService::Deliver(uint32_t message) {
  QMetaObject::invokeMethod(
      this, [this, message] { DeliverNow(message); }, Qt::QueuedConnection);
}

void TrayService::DeliverNow(uint32_t message) {
  if (owner_) owner_->NotifyMouseMove(0, 0, ToTwips(message), 0);
}

void TrayService::TrackEmbeddedIcon() {
  if (embedded_) return;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (qstrcmp(widget->metaObject()->className(), "QSystemTrayIconSys") != 0) continue;
    embedded_ = widget;
    widget->installEventFilter(this);
    // A tray that goes away takes the widget with it: back to looking for the next one.
    connect(widget, &QObject::destroyed, this, [this] {
      if (icon_) hover_.start(kPollWhereShown);
    });
    return;
  }
}

bool TrayService::eventFilter(QObject* watched, QEvent* event) {
  if (watched == embedded_ && icon_) {
    if (event->type() == QEvent::Enter) {
      DeliverNow(forms::WM_MOUSEMOVE);
      hover_.start(kPollWhereShown);
    } else if (event->type() == QEvent::Leave) {
      hover_.stop();
    }
  }
  return QObject::eventFilter(watched, event);
}

void TrayService::Poll() {
  if (!icon_) return;
  TrackEmbeddedIcon();
  if (embedded_) {
    // The timer runs while the pointer rests on the icon, between its Enter and its Leave.
    if (embedded_->underMouse())
      DeliverNow(forms::WM_MOUSEMOVE);
    else
      hover_.stop();
    return;
  }
  const QRect place = icon_->geometry();
  const int interval = place.isEmpty() ? kTipRefreshBlind : kPollWhereShown;
  if (hover_.interval() != interval) hover_.setInterval(interval);
  if (!place.isEmpty()) {
    if (place.contains(QCursor::pos())) DeliverNow(forms::WM_MOUSEMOVE);
  } else if (hostPresent_() != Host::None) {
    // A tray that does not tell where the icon is. The look is the service's own: Qt's question
    // makes a D-Bus tray icon with a bus connection of its own each time, and aborts in libdbus
    // when the session bus has just gone (as at logout).
    DeliverNow(forms::WM_MOUSEMOVE);
  }
}

}  // namespace sysvane::qt
