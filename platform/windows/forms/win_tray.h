// The notification-area icon on Shell_NotifyIconW. The shell's mouse notifications arrive on the
// runtime's window as they are (512 move, 514 click, 515 double-click, 517 context) and reach the
// owner window's Form_MouseMove as the message number in pixels' worth of twips. A shell that
// restarts (TaskbarCreated) gets the icon again.
#pragma once

#include "platform/windows/forms/win_api.h"

#include <functional>

#include "platform/forms.h"

namespace sysvane::win {

class Tray {
 public:
  // `twipsPerPixel` gives the horizontal twips per pixel that the owner decodes with.
  explicit Tray(std::function<forms::Twips()> twipsPerPixel);
  ~Tray();
  bool Notify(int message, const forms::NOTIFYICONDATA& data);
  // Where the icon is on screen; false when there is none or the shell does not tell.
  bool Place(RECT& place) const;

 private:
  static bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  bool Send(int message);
  // Draws a live icon when it is a new one; the icon it replaces goes once the shell has the new.
  HICON TakeUpLiveIcon(const forms::NOTIFYICONDATA& data);
  std::function<forms::Twips()> twipsPerPixel_;
  forms::NOTIFYICONDATA last_{};
  HICON liveIcon_ = nullptr;  // last_.liveIcon drawn at the small-icon size
  bool shown_ = false;
};

}  // namespace sysvane::win
