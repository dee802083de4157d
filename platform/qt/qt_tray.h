// The notification-area icon (Shell_NotifyIcon). Its mouse notifications reach the owner
// window's Form_MouseMove as Windows mouse message numbers, in twips: click 514, double-click 515,
// context request 517, and 512 while the pointer rests on the icon. Two kinds of tray hold it:
// - D-Bus (StatusNotifierItem): the program's own item and menu (SniItem, DBusMenu), shown
//   whenever the session's watcher has a host. The host reports requests rather than clicks
//   (see MessagesForRequest), with the click's place, and shows the menu itself from the
//   owner's items (its opening is the 517, and the owner's popup call then does nothing).
// - XEmbed, through QSystemTrayIcon, only while no D-Bus host is there: Qt embeds the icon as a
//   widget of its own and reports clicks and double-clicks; the program pops its menu up on 517.
// The icon follows the trays: it moves to a D-Bus host that comes (a panel that registers its
// host after it took the XEmbed selection), waits for a tray while none is there, and the owner
// hears when the tray that held it goes away or one comes back.
// The tip: a D-Bus host that shows tips (not GNOME Shell's) reports no hovering, so 512 comes when
// the pointer comes onto a panel and every 2 seconds while it stays there (on a desktop whose
// panels the program cannot see, Wayland's, every 2 seconds), and the tip goes out when its text
// changed; an XEmbed icon gets 512 while the pointer rests on it.
#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "platform/forms.h"
#include "platform/qt/qt_dbus_menu.h"
#include "platform/qt/qt_sni_item.h"

class QDBusConnection;

namespace sysvane::qt {

class PanelHover;
class SniWatch;

class TrayService : public QObject {
 public:
  TrayService();
  ~TrayService() override;

  // NIM_ADD, NIM_MODIFY, NIM_DELETE; false for an unknown message or a MODIFY/DELETE without icon.
  bool Notify(int message, const forms::NOTIFYICONDATA& data);

  // The tip the icon shows: szTip up to its first NUL, 63 characters at most.
  static QString ShownTip(const forms::NOTIFYICONDATA& data);
  // The icon's tip and place on screen (empty when it has none or no icon is shown).
  QString ToolTip() const;
  QRect Geometry() const;
  // The icon's place, else the place of the last click on it (the host's, else the pointer's).
  std::optional<QRect> Place() const;
  // Where the owner's own menu pops up: at the host's click, else at the pointer.
  QPoint PopupPoint() const;
  bool Shown() const { return icon_ != nullptr || onDBus_; }
  bool OnDBus() const { return onDBus_; }
  // Whether a tray holds the icon now (or, before NIM_ADD, could hold it).
  bool Available() const;
  // Told when that changes: the tray that held the icon went away, or one came.
  std::function<void(bool available)> AvailabilityChanged;

  // How an XEmbed tray is looked for (the real desktop's unless replaced).
  void LookForXEmbedWith(std::function<bool()> present) { xembedPresent_ = std::move(present); }
  // Follows the watcher on `bus` instead of the session bus (before NIM_ADD).
  void UseBus(const QDBusConnection& bus);

  // The pictures of the icon, one per size (on every kind of tray), and the text a D-Bus host
  // may draw beside it (GNOME's AppIndicator extension); `guide` is its longest text.
  void SetIconImages(const QList<QImage>& images);
  void SetLabel(const QString& label, const QString& guide = QString());

  // The D-Bus item and menu, once NIM_ADD exported them (null without a session bus).
  SniItem* Item() const { return item_; }
  DBusMenu* Menu() const { return menu_; }
  bool GnomeHost() const;
  bool AnnounceTip() const;
  // The host is opening `menu`: the owner's popup call for it has nothing more to do.
  bool HostShowsMenu(const forms::MenuList& menu) const;

  // Hands a notification to the owner window at the next turn of the event loop, after the
  // tray's own event has been handled; an XEmbed double-click is preceded by its 514 when Qt
  // gave none.
  void Deliver(uint32_t message);
  void Activated(QSystemTrayIcon::ActivationReason reason);
  void HostRequest(SniRequest request, std::optional<QPoint> place);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Export(forms::MenuList* menu);
  void Settle();
  void MakeXEmbedIcon();
  void RemoveXEmbedIcon();
  void FollowHovering();
  void FollowPanels();
  bool TipPollDue() const;
  void Poll();
  void TrackEmbeddedIcon();
  void DeliverNow(uint32_t message);
  void HostOpensMenu();
  bool QuickSecond();
  // A new picture or label the owner gave: a picture is drawn again only when it is a new one.
  void ShowPicture(const forms::NOTIFYICONDATA& data);
  QIcon XEmbedIcon() const;

  QPointer<QSystemTrayIcon> icon_;  // XEmbed only
  QPointer<QWidget> embedded_;      // the icon's own widget in an XEmbed tray
  std::unique_ptr<QDBusConnection> bus_;
  QPointer<SniItem> item_;
  QPointer<DBusMenu> menu_;
  std::unique_ptr<SniWatch> watch_;
  std::unique_ptr<PanelHover> panels_;  // on a D-Bus host that shows tips
  forms::Form* owner_ = nullptr;
  QString tip_;
  QList<QImage> images_;
  std::shared_ptr<const forms::LiveIcon> liveIcon_;  // the picture the program draws, if any
  std::string label_;
  QTimer hover_;
  QTimer waitForHost_;
  QElapsedTimer sinceTrigger_;
  std::optional<QPoint> lastClick_;
  bool fromHost_ = false;  // lastClick_ is a place a host gave
  std::function<bool()> xembedPresent_;
  bool added_ = false;  // between NIM_ADD and NIM_DELETE, whether or not a tray holds it yet
  bool onDBus_ = false;
  bool hostOpening_ = false;
  bool xembedSeen_ = false;  // at the last look
  bool available_ = false;   // as the owner was last told
};

}  // namespace sysvane::qt
