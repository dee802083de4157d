// The notification-area icon on Shell_NotifyIconW. The shell's mouse notifications arrive on the
// runtime's window as they are (512 move, 514 click, 515 double-click, 517 context) and reach the
// owner window's Form_MouseMove as the message number in pixels' worth of twips. A shell that is
// not ready (at sign-in) is asked again every second until it takes the icon, and one that
// restarts (TaskbarCreated) gets the icon again.
#pragma once

#include "platform/windows/forms/win_api.h"

#include <functional>
#include <vector>

#include "platform/forms.h"

namespace sysvane::win {

class Tray {
 public:
  using Shell = std::function<bool(DWORD message, NOTIFYICONDATAW& data)>;
  // `twipsPerPixel` gives the horizontal twips per pixel that the owner decodes with;
  // `modalUp` tells whether a modal box is up; `shell` is Shell_NotifyIconW unless a test
  // plays the shell.
  Tray(std::function<forms::Twips()> twipsPerPixel, std::function<bool()> modalUp, Shell shell = {});
  ~Tray();
  bool Notify(int message, const forms::NOTIFYICONDATA& data);
  // The icon is in the notification area now.
  bool Added() const { return added_; }
  // Where the icon is on screen; false when there is none or the shell does not tell.
  bool Place(RECT& place) const;
  // The small-icon size at the DPI of the monitor the notification area is on.
  int IconSize() const;
  // The notifications held while a modal box was up reach the owner once the current handler
  // has returned.
  void ModalEnded();

  static constexpr UINT kRetryMilliseconds = 1000;

 private:
  static bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  static void CALLBACK Retry(HWND, UINT, UINT_PTR, DWORD);
  bool Send(int message);
  // Draws a live icon when it is a new one; the icon it replaces goes once the shell has the new.
  HICON TakeUpLiveIcon(const forms::NOTIFYICONDATA& data);
  void Add();
  void Deliver(LPARAM notification);
  std::function<forms::Twips()> twipsPerPixel_;
  std::function<bool()> modalUp_;
  Shell shell_;
  forms::NOTIFYICONDATA last_{};
  HICON liveIcon_ = nullptr;  // last_.liveIcon drawn at IconSize()
  bool shown_ = false;        // the program wants the icon
  bool added_ = false;        // the shell has it
  std::vector<LPARAM> held_;
};

}  // namespace sysvane::win
