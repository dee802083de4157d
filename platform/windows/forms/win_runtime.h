// The forms runtime on Win32: windows, controls and timers on screen, and the shell's services
// (notification-area icon, popup menus, the standard message box, the monitors and their work
// areas). Per-monitor DPI aware: twips become the pixels of the monitor a window is on.
#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "platform/forms.h"

namespace sysvane::win {

class Tray;

class WinRuntime : public forms::Runtime {
 public:
  // `prevInstance` answers whether another instance runs (the backend's instance lock).
  explicit WinRuntime(std::function<bool()> prevInstance);
  ~WinRuntime() override;

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

  // The program's message loop, until End; returns the exit code.
  int Run();
  // What to do when the session ends or the program is asked to close (WM_ENDSESSION, or
  // WM_CLOSE to its hidden window, as `taskkill` without /F sends it).
  void OnCloseRequest(std::function<void()> close);
  bool EndCalled() const { return ended_; }

 private:
  // A modal box or window is up while the depth is above 0: the tray's clicks wait for its end.
  void EnterModal();
  void LeaveModal();
  int modalDepth_ = 0;
  std::unique_ptr<Tray> tray_;
  std::function<bool()> prevInstance_;
  bool ended_ = false;
};

}  // namespace sysvane::win
