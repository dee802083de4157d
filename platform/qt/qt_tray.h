// The notification-area icon (Shell_NotifyIcon) on QSystemTrayIcon. Its mouse notifications reach
// the owner window's Form_MouseMove as Windows mouse message numbers, in twips:
// click 514, double-click 515 (always after a 514), context request 517, and 512 while the
// pointer rests on the icon. Two kinds of tray hold it:
// - XEmbed: Qt embeds the icon as a widget of its own and reports clicks and double-clicks; the
//   program pops its menu up on 517.
// - D-Bus (StatusNotifierItem): the host reports each click as a plain activation, so two within
//   the desktop's double-click interval are the click and then the double-click; and the host shows
//   the menu itself, from a copy kept in step with the owner's (the host's request to show it is
//   the 517, and the owner's popup call then does nothing).
// The icon is made once a tray host is there. Qt asks the session bus for a D-Bus host only when
// it makes its first icon, and keeps that answer for the rest of the run: an icon made before a
// panel that started with the same session would live in XEmbed (or nowhere) even on a panel
// that offers D-Bus. Until a host is there the icon waits, and a host is looked for twice a second;
// a D-Bus host takes it at once, an XEmbed tray once it has been there a whole look.
// Qt reports no hovering: where the tray tells the icon's place, the pointer is checked against it
// every 500 ms; where it does not, 512 comes every 2 seconds, so that the tip stays live. An
// embedded icon's Enter and Leave events start and stop that check, so that nothing wakes up while
// the pointer is elsewhere.
#pragma once

#include <QElapsedTimer>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "platform/forms.h"

namespace sysvane::qt {

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
  // The icon's place, else the pointer's position at the last click on it.
  std::optional<QRect> Place() const;
  bool Shown() const { return icon_ != nullptr; }
  // Whether a tray could hold the icon now, asked of the desktop afresh without asking Qt.
  bool Available() const;
  // How a host is looked for while the icon waits (the real desktop's unless replaced).
  enum class Host { None, XEmbed, DBus };
  void LookForHostWith(std::function<Host()> present) { hostPresent_ = std::move(present); }

  // The copy of the owner's menu that a D-Bus host shows (exported only to such a host); null
  // without a menu.
  QMenu* HostMenu() const { return hostMenu_.get(); }
  // The host is opening `menu`: the owner's popup call for it has nothing more to do.
  bool HostShowsMenu(const forms::MenuList& menu) const { return hostOpening_ && &menu == menuList_; }

  // Hands a notification to the owner window at the next turn of the event loop, after the
  // tray's own event has been handled; a double-click is preceded by its 514 when Qt gave none.
  void Deliver(uint32_t message);
  void Activated(QSystemTrayIcon::ActivationReason reason);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Poll();
  void MakeIconOnceHostIsThere();
  void TrackEmbeddedIcon();
  void DeliverNow(uint32_t message);
  void MirrorMenu(forms::MenuList* list);
  void SyncMenu();
  void ForgetMenu();
  void HostOpensMenu();
  QPointer<QSystemTrayIcon> icon_;
  QPointer<QWidget> embedded_;  // the icon's own widget in an XEmbed tray
  forms::Form* owner_ = nullptr;
  QString tip_;
  std::string iconName_;
  QTimer hover_;
  QElapsedTimer sinceTrigger_;
  std::optional<QPoint> lastClick_;
  forms::MenuList* menuList_ = nullptr;
  std::unique_ptr<QMenu> hostMenu_;
  bool hostOpening_ = false;
  bool added_ = false;     // between NIM_ADD and NIM_DELETE, whether or not the icon is made yet
  bool dbusHost_ = false;  // the icon went to a D-Bus host (which shows the menu itself)
  forms::MenuList* menuToMirror_ = nullptr;
  QTimer waitForHost_;
  std::function<Host()> hostPresent_;
  bool xembedSeen_ = false;  // at the last look: a panel sets up its XEmbed tray and D-Bus host
                             // a moment apart, and the icon waits for the second a little
};

}  // namespace sysvane::qt
