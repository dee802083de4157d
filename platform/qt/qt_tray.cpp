#include "platform/qt/qt_tray.h"

#include <xcb/xcb.h>

#include <QApplication>
#include <QCursor>
#include <QDBusConnection>
#include <QFileInfo>
#include <QStyleHints>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/qt/qt_convert.h"
#include "platform/qt/qt_dbus_menu.h"
#include "platform/qt/qt_host_clicks.h"
#include "platform/qt/qt_live_icon.h"
#include "platform/qt/qt_panel_hover.h"
#include "platform/qt/qt_pictures.h"
#include "platform/qt/qt_session.h"
#include "platform/qt/qt_sni_watch.h"
#include "platform/qt/qt_work_area.h"

namespace sysvane::qt {

namespace {
constexpr int kPollWhereShown = 500;  // ms, the pointer checked against the icon's place
constexpr int kTipRefresh = 2000;     // ms, 512 while the pointer may rest on a D-Bus host's icon
constexpr size_t kVisibleTip = 63;
constexpr int kLookForHost = 500;  // ms, while the icon waits for an XEmbed tray
const QString kBusName = QStringLiteral("sysvane-tray");

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

// The program's icon in the sizes panels draw.
QList<QImage> AppIconImages() {
  QList<QImage> images;
  for (int size : {16, 22, 24, 32, 48}) images.append(AppIcon().pixmap(size).toImage());
  return images;
}

}  // namespace

TrayService::TrayService() : images_(AppIconImages()), xembedPresent_(XEmbedTrayNow) {
  hover_.setTimerType(Qt::CoarseTimer);
  connect(&hover_, &QTimer::timeout, this, [this] { Poll(); });
  waitForHost_.setTimerType(Qt::CoarseTimer);
  waitForHost_.setInterval(kLookForHost);
  connect(&waitForHost_, &QTimer::timeout, this, [this] { Settle(); });
}

TrayService::~TrayService() {
  delete icon_.data();
  watch_.reset();
  if (bus_) {
    bus_->unregisterObject(QLatin1String(SniItemAdaptor::kPath));
    bus_->unregisterObject(QLatin1String(DBusMenuAdaptor::kPath));
  }
  delete item_.data();
  delete menu_.data();
}

void TrayService::UseBus(const QDBusConnection& bus) {
  bus_ = std::make_unique<QDBusConnection>(bus);
}

QString TrayService::ShownTip(const forms::NOTIFYICONDATA& data) {
  const size_t length = strnlen(data.szTip.data(), kVisibleTip);
  return QString::fromUtf8(data.szTip.data(), qsizetype(length));
}

QString TrayService::ToolTip() const {
  if (onDBus_) return tip_;
  return icon_ ? icon_->toolTip() : QString();
}

QRect TrayService::Geometry() const {
  return icon_ ? icon_->geometry() : QRect();
}

std::optional<QRect> TrayService::Place() const {
  const QRect place = Geometry();
  if (!place.isEmpty()) return place;
  if (!lastClick_) return std::nullopt;
  QScreen* screen = QGuiApplication::primaryScreen();
  if (fromHost_ && screen) return IconPlaceFromHost(*lastClick_, screen->geometry(), WorkAreaOf(*screen));
  return QRect(*lastClick_, QSize(1, 1));
}

QPoint TrayService::PopupPoint() const {
  return fromHost_ && lastClick_ ? *lastClick_ : QCursor::pos();
}

bool TrayService::Available() const {
  if (onDBus_ || (watch_ && watch_->HostReady())) return true;
  return (icon_ || !added_) && xembedPresent_();
}

bool TrayService::GnomeHost() const {
  return watch_ && watch_->GnomeHost();
}

// GNOME Shell's host shows no tip: it is not woken for one. Nor is a host while its menu may be
// open: waybar shows the new tip over its open menu, and sway then closes the menu, so that the
// click meant for it is lost.
bool TrayService::AnnounceTip() const {
  return onDBus_ && !GnomeHost() && !(menu_ && menu_->MayBeOpen());
}

bool TrayService::HostShowsMenu(const forms::MenuList& menu) const {
  return hostOpening_ && menu_ && &menu == &menu_->List();
}

bool TrayService::Notify(int message, const forms::NOTIFYICONDATA& data) {
  switch (message) {
    case forms::NIM_ADD:
      added_ = true;
      owner_ = data.hWnd;
      tip_ = ShownTip(data);
      if (icon_) icon_->setToolTip(tip_);
      Export(data.menu);
      ShowPicture(data);
      if (item_) item_->SetToolTip(tip_, AnnounceTip());
      Settle();
      return true;
    case forms::NIM_MODIFY: {
      if (!added_) return false;
      if (data.hWnd) owner_ = data.hWnd;
      ShowPicture(data);
      const QString tip = ShownTip(data);
      if (tip != tip_) {  // the tray hears only of a tip that changed
        tip_ = tip;
        if (icon_) icon_->setToolTip(tip_);
      }
      // A tip held back while the host's menu was open goes now.
      if (item_) item_->SetToolTip(tip_, AnnounceTip());
      return true;
    }
    case forms::NIM_DELETE:
      if (!added_) return false;
      added_ = false;
      owner_ = nullptr;
      // The menu's items may go before the runtime does: the host reads them no more.
      if (menu_) {
        bus_->unregisterObject(QLatin1String(DBusMenuAdaptor::kPath));
        delete menu_.data();
      }
      Settle();
      return true;
    default:
      return false;
  }
}

// The item and its menu are on the bus from the first NIM_ADD on, whether or not a watcher is
// there: a watcher that comes later reads them as soon as the item registers.
void TrayService::Export(forms::MenuList* menu) {
  if (!bus_) {
    if (NoSessionBus()) return;  // the D-Bus library would start a bus just to find no tray
    bus_ = std::make_unique<QDBusConnection>(
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, kBusName));
    EndAtOnceOnExitFromTheLoop();  // before the D-Bus library's own globals go at an exit
  }
  if (!bus_->isConnected()) return;
  if (menu && !menu_) {
    menu_ = new DBusMenu(*menu);
    new DBusMenuAdaptor(menu_);
    menu_->Opening = [this] { HostOpensMenu(); };
    bus_->registerObject(QLatin1String(DBusMenuAdaptor::kPath), menu_, QDBusConnection::ExportAdaptors);
  }
  if (item_) return;
  item_ = new SniItem();
  new SniItemAdaptor(item_);
  item_->SetIconImages(images_);
  item_->Requested = [this](SniRequest request, std::optional<QPoint> place) { HostRequest(request, place); };
  bus_->registerObject(QLatin1String(SniItemAdaptor::kPath), item_, QDBusConnection::ExportAdaptors);
  watch_ = std::make_unique<SniWatch>(*bus_, bus_->baseService());
  watch_->Changed = [this] { Settle(); };
}

void TrayService::Settle() {
  const bool dbus = added_ && watch_ && watch_->HostReady();
  if (dbus != onDBus_) {
    onDBus_ = dbus;
    if (dbus) {
      RemoveXEmbedIcon();
      // A host that came since the last tip reads it afresh; it is told of later changes.
      item_->SetToolTip(tip_, false);
      FollowPanels();
    }
  }
  if (!added_) RemoveXEmbedIcon();
  if (added_ && !dbus && !icon_) {
    // The D-Bus host is preferred: XEmbed is taken once the bus has answered, and once the tray
    // has been there a whole look (a panel sets up its XEmbed tray and its D-Bus host a moment
    // apart).
    const bool xembed = xembedPresent_();
    const bool busAnswered = !watch_ || watch_->Settled();
    if (xembed && busAnswered && (xembedSeen_ || !waitForHost_.isActive())) MakeXEmbedIcon();
    xembedSeen_ = xembed;
  }
  const bool waiting = added_ && !onDBus_ && !icon_;
  if (waiting && !waitForHost_.isActive()) waitForHost_.start();
  if (!waiting) waitForHost_.stop();
  FollowHovering();
  const bool available = added_ && Shown();
  if (available != available_) {
    available_ = available;
    if (AvailabilityChanged) AvailabilityChanged(available);
  }
}

void TrayService::MakeXEmbedIcon() {
  // Qt asks the session bus for a D-Bus host when it makes its first icon, and would put the icon
  // there itself: it is given an address that fails at once, only while the icon is made, so that
  // the icon goes to XEmbed and no D-Bus library starts a bus to answer. Programs started later
  // get the environment as it was.
  const QByteArray address = qgetenv("DBUS_SESSION_BUS_ADDRESS");
  qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/dev/null");
  icon_ = new QSystemTrayIcon();
  connect(icon_, &QSystemTrayIcon::activated, this,
          [this](QSystemTrayIcon::ActivationReason reason) { Activated(reason); });
  icon_->setIcon(XEmbedIcon());
  icon_->setToolTip(tip_);
  icon_->show();
  if (address.isNull())
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
  else
    qputenv("DBUS_SESSION_BUS_ADDRESS", address);
  TrackEmbeddedIcon();
}

void TrayService::RemoveXEmbedIcon() {
  if (!icon_) return;
  if (embedded_) embedded_->removeEventFilter(this);
  embedded_ = nullptr;
  icon_->hide();
  // Removing the icon may be the answer to one of its own clicks.
  icon_->disconnect(this);
  icon_->deleteLater();
  icon_ = nullptr;
}

void TrayService::SetIconImages(const QList<QImage>& images) {
  images_ = images;
  if (item_) item_->SetIconImages(images);
  if (icon_) icon_->setIcon(XEmbedIcon());
}

// An XEmbed tray gives the icon a size of its own: a picture the program draws is drawn at
// exactly that size.
QIcon TrayService::XEmbedIcon() const {
  if (liveIcon_) return LiveQIcon(liveIcon_);
  QIcon icon;
  for (const QImage& image : images_) icon.addPixmap(QPixmap::fromImage(image));
  return icon;
}

void TrayService::ShowPicture(const forms::NOTIFYICONDATA& data) {
  if (data.liveIcon != liveIcon_) {
    liveIcon_ = data.liveIcon;
    // A D-Bus host picks the size it draws from these, at its own scale.
    QList<QImage> images;
    if (liveIcon_) {
      const int scale = std::max(1, int(std::ceil(qApp->devicePixelRatio())));
      for (int size : LiveIconSizes(qgetenv("XDG_CURRENT_DESKTOP"), scale))
        images.append(ToQImage(liveIcon_->Draw(size)));
    } else {
      images = AppIconImages();
    }
    SetIconImages(images);
  }
  if (data.label != label_) {
    label_ = data.label;
    const auto [label, guide] = LiveLabel(ToQString(label_));
    SetLabel(label, guide);
  }
}

void TrayService::SetLabel(const QString& label, const QString& guide) {
  if (item_) item_->SetLabel(label, guide);
}

bool TrayService::QuickSecond() {
  if (sinceTrigger_.isValid() &&
      sinceTrigger_.elapsed() <= QGuiApplication::styleHints()->mouseDoubleClickInterval()) {
    sinceTrigger_.invalidate();
    return true;
  }
  sinceTrigger_.start();
  return false;
}

void TrayService::HostRequest(SniRequest request, std::optional<QPoint> place) {
  // Over a Wayland panel the pointer's position is unknown to the program: the host's is used.
  fromHost_ = place.has_value();
  lastClick_ = place ? *place : QCursor::pos();
  const bool gnome = GnomeHost();
  const bool quick = request == SniRequest::Activate && !gnome && QuickSecond();
  for (uint32_t message : MessagesForRequest(request, gnome, quick)) Deliver(message);
}

void TrayService::Activated(QSystemTrayIcon::ActivationReason reason) {
  fromHost_ = false;
  lastClick_ = QCursor::pos();
  switch (reason) {
    case QSystemTrayIcon::Trigger:
      Deliver(QuickSecond() ? forms::WM_LBUTTONDBLCLK : forms::WM_LBUTTONUP);
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

// What the owner does on a right click, besides popping its menu up, runs before the host shows it.
void TrayService::HostOpensMenu() {
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

// Only what can tell the pointer is on the icon wakes the program: an embedded icon's Enter, or
// its place on screen; for a D-Bus host that shows tips, the pointer on a panel (see TipPollDue).
void TrayService::FollowHovering() {
  if (onDBus_ && !GnomeHost()) {
    if (!TipPollDue()) {
      hover_.stop();
    } else if (hover_.interval() != kTipRefresh || !hover_.isActive()) {
      hover_.start(kTipRefresh);
    }
  } else if (icon_ && !embedded_) {
    if (!hover_.isActive()) hover_.start(kPollWhereShown);
  } else if (!icon_) {
    hover_.stop();
  }
}

// The tip of a D-Bus host is kept fresh while the pointer is on a panel, where the host may show
// it; where no panel can be seen (a Wayland desktop), all the time.
bool TrayService::TipPollDue() const {
  return !panels_ || !panels_->Known() || panels_->Over();
}

// A host that came may sit on a panel that came with it: the panels are looked for again.
void TrayService::FollowPanels() {
  if (GnomeHost()) return;  // it shows no tip
  if (!panels_) {
    panels_ = std::make_unique<PanelHover>();
    panels_->Changed = [this](bool over) {
      if (over && onDBus_) DeliverNow(forms::WM_MOUSEMOVE);  // the tip is fresh before it shows
      FollowHovering();
    };
  }
  panels_->Follow();
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
    } else if (event->type() == QEvent::Hide) {
      // Qt hides the embedded icon when its tray goes away: the icon waits for the next tray,
      // once the tray's selection is let go (a panel that ends lets it go a moment later).
      QTimer::singleShot(kLookForHost, this, [this] {
        if (!icon_ || xembedPresent_()) return;
        RemoveXEmbedIcon();
        Settle();
      });
    }
  }
  return QObject::eventFilter(watched, event);
}

void TrayService::Poll() {
  if (onDBus_) {
    DeliverNow(forms::WM_MOUSEMOVE);
    // A panel may show up after its host: while none is known, it is looked for again.
    if (panels_ && !panels_->Known() && panels_->Follow()) FollowHovering();
    return;
  }
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
  if (!place.isEmpty() && place.contains(QCursor::pos())) DeliverNow(forms::WM_MOUSEMOVE);
}

}  // namespace sysvane::qt
