#include "platform/windows/forms/win_timer.h"

#include <map>

#include "platform/windows/forms/win_window.h"

namespace sysvane::win {

namespace {

// Every timer alive by its id: a tick may unload windows and their timers with them, so a tick
// finds its timer here or not at all.
std::map<UINT_PTR, forms::Timer*>& Live() {
  static std::map<UINT_PTR, forms::Timer*> timers;
  return timers;
}

bool OnTimer(UINT message, WPARAM wParam, LPARAM) {
  if (message != WM_TIMER) return false;
  auto it = Live().find(wParam);
  if (it != Live().end()) it->second->NotifyTick();
  return true;
}

}  // namespace

TimerPeer::TimerPeer(forms::Timer& timer) : model_(timer) {
  static UINT_PTR nextId = 1;
  static const bool handled = (AddRuntimeHandler(OnTimer), true);
  (void)handled;
  id_ = nextId++;
  Live()[id_] = &timer;
  Changed(forms::Prop::TimerState);
}

TimerPeer::~TimerPeer() {
  KillTimer(RuntimeWindow(), id_);
  Live().erase(id_);
}

void TimerPeer::Changed(forms::Prop) {
  if (!model_.Enabled() || model_.Interval() <= 0) {
    KillTimer(RuntimeWindow(), id_);
    return;
  }
  // The same id again replaces the timer: its count starts afresh.
  SetTimer(RuntimeWindow(), id_, UINT(model_.Interval()), nullptr);
}

}  // namespace sysvane::win
