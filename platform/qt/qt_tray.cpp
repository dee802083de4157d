#include "platform/qt/qt_tray.h"

#include <QApplication>
#include <QCursor>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QStyleHints>
#include <cstring>

#include "platform/qt/qt_convert.h"
#include "platform/qt/qt_pictures.h"

namespace sysvane::qt {

namespace {
constexpr int kPollWhereShown = 500;    // ms, the pointer checked against the icon's place
constexpr int kTipRefreshBlind = 2000;  // ms, 512 without knowing where the icon is
constexpr size_t kVisibleTip = 63;
}  // namespace

TrayService::TrayService() {
  hover_.setTimerType(Qt::CoarseTimer);
  connect(&hover_, &QTimer::timeout, this, [this] { Poll(); });
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

bool DBusTrayHostRegistered() {
  // Qt asks the same question once, when the first icon is made, and keeps the answer.
  static const bool registered = [] {
    const QString platform = QGuiApplication::platformName();
    if (platform != QLatin1String("xcb") && !platform.startsWith(QLatin1String("wayland"))) return false;
    QDBusInterface watcher(QStringLiteral("org.kde.StatusNotifierWatcher"),
                           QStringLiteral("/StatusNotifierWatcher"),
                           QStringLiteral("org.kde.StatusNotifierWatcher"), QDBusConnection::sessionBus());
    return watcher.isValid() && watcher.property("IsStatusNotifierHostRegistered").toBool();
  }();
  return registered;
}

bool TrayService::Notify(int message, const forms::NOTIFYICONDATA& data) {
  switch (message) {
    case forms::NIM_ADD: {
      if (!icon_) {
        icon_ = new QSystemTrayIcon();
        connect(icon_, &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) { Activated(reason); });
      }
      owner_ = data.hWnd;
      iconName_ = data.hIcon;
      MirrorMenu(data.menu);
      icon_->setIcon(AppIcon());
      tip_ = ShownTip(data);
      icon_->setToolTip(tip_);
      // Shown even when no tray exists yet: a tray that starts later (or restarts) takes it.
      icon_->show();
      TrackEmbeddedIcon();
      hover_.start(kPollWhereShown);
      return true;
    }
    case forms::NIM_MODIFY: {
      if (!icon_) return false;
      if (data.hWnd) owner_ = data.hWnd;
      const QString tip = ShownTip(data);
      if (tip != tip_) {  // the tray hears only of a tip that changed
        tip_ = tip;
        icon_->setToolTip(tip_);
      }
      return true;
    }
    case forms::NIM_DELETE: {
      if (!icon_) return false;
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
  if (DBusTrayHostRegistered() && icon_) icon_->setContextMenu(hostMenu_.get());
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
  } else if (QSystemTrayIcon::isSystemTrayAvailable()) {
    DeliverNow(forms::WM_MOUSEMOVE);  // a tray that does not tell where the icon is
  }
}

}  // namespace sysvane::qt
