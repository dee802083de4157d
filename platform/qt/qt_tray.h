// The notification-area icon (Shell_NotifyIcon) on QSystemTrayIcon. Its mouse notifications reach
// the owner window's Form_MouseMove as Windows mouse message numbers, in twips:
// click 514, double-click 515 (always after a 514), context request 517, and 512 while the
// pointer rests on the icon. Qt reports no hovering: where the tray tells the icon's place
// (XEmbed), the pointer is checked against it every 500 ms; where it does not (StatusNotifierItem),
// 512 comes every 2 seconds, so that the tip stays live. Where Qt embeds the icon as a widget of
// its own (XEmbed), its Enter and Leave events start and stop that check, so that nothing wakes
// up while the pointer is elsewhere.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>

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
  bool Shown() const { return icon_ != nullptr; }

  // Hands a notification to the owner window at the next turn of the event loop, after the
  // tray's own event has been handled; a double-click is preceded by its 514 when Qt gave none.
  void Deliver(uint32_t message);
  void Activated(QSystemTrayIcon::ActivationReason reason);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Poll();
  void TrackEmbeddedIcon();
  void DeliverNow(uint32_t message);
  QPointer<QSystemTrayIcon> icon_;
  QPointer<QWidget> embedded_;  // the icon's own widget in an XEmbed tray
  forms::Form* owner_ = nullptr;
  QString tip_;
  std::string iconName_;
  QTimer hover_;
  QElapsedTimer sinceTrigger_;
};

}  // namespace sysvane::qt
