// The forms runtime on Qt 6 Widgets: windows, controls and timers on screen, and the shell's
// services (tray icon, popup menus, message boxes, the screen, the single-instance lock).
// Needs a QApplication.
#pragma once

#include <memory>

#include "platform/forms.h"

class QString;
class QSystemTrayIcon;

namespace sysvane::qt {

class TrayService;
class InstanceLock;

class QtRuntime : public forms::Runtime {
 public:
  QtRuntime();
  ~QtRuntime() override;

  std::unique_ptr<forms::Peer> CreateFormPeer(forms::Form& form) override;
  std::unique_ptr<forms::Peer> CreateControlPeer(forms::Control& control) override;
  std::unique_ptr<forms::Peer> CreateTimerPeer(forms::Timer& timer) override;
  void RunModal(forms::Form& form) override;
  void PauseWithoutMessages(int milliseconds) override;

  forms::ScreenInfo Screen() override;
  forms::TwipsRect WorkArea() override;
  std::vector<forms::TwipsRect> WorkAreas() override;

  forms::Twips TextWidth(const forms::Font& font, const std::string& text) override;
  forms::Twips TextHeight(const forms::Font& font, const std::string& text) override;

  bool ShellNotifyIcon(int message, const forms::NOTIFYICONDATA& data) override;
  bool SystemTrayAvailable() override;
  std::optional<forms::TwipsRect> TrayIconPlace() override;
  void PopupMenu(forms::Form& owner, forms::MenuList& menu) override;
  void SetForegroundWindow(forms::Form& form) override;
  int MsgBox(const std::string& prompt, int style, const std::string& title) override;

  LocaleInfo Locale() override;
  bool PrevInstance() override;
  void End() override;

  // End was called: the program is over, even if no event loop ran yet.
  bool EndCalled() const { return ended_; }
  // The notification-area icon, for those who look at it (tests, diagnostics).
  TrayService& Tray() { return *tray_; }

 private:
  std::unique_ptr<TrayService> tray_;
  std::unique_ptr<InstanceLock> lock_;
  bool ended_ = false;
};

}  // namespace sysvane::qt
