// The forms runtime of the tests: no screen, no real time. It records what the windows ask of the
// screen and the shell, runs timers on a virtual clock, and answers message boxes from a script.
#pragma once

#include <cstring>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/forms.h"

namespace sysvane::fake {

using forms::Twips;

struct FakeRuntime : forms::Runtime {
  // --- what the tests script
  forms::ScreenInfo screen{28800, 16200};         // 1920 x 1080 pixels
  forms::TwipsRect workArea{0, 0, 28800, 15600};  // a 40-pixel panel at the bottom
  LocaleInfo locale;
  bool prevInstance = false;
  std::deque<int> msgBoxAnswers;  // answers in order; vbOK (or vbYes for Yes/No styles) when empty
  bool trayAvailable = true;      // a notification area exists
  std::optional<forms::TwipsRect> trayIconPlace;  // where the icon (or the click) is, when known
  // Runs instead of the default modal loop (which advances the clock until the window closes).
  std::function<void(forms::Form&)> onModal;
  // Runs when a menu pops up: the test picks an item or does nothing.
  std::function<void(forms::MenuList&)> onPopupMenu;

  // --- what the tests read
  std::vector<std::string> msgBoxes;  // the prompts shown
  struct TrayCall {
    int message;
    forms::NOTIFYICONDATA data;
  };
  std::vector<TrayCall> trayCalls;
  bool TrayIconShown() const { return trayOwner_; }
  // The tip the shell shows: at most 63 characters, up to the NUL.
  std::string TrayTip() const {
    for (auto it = trayCalls.rbegin(); it != trayCalls.rend(); ++it)
      if (it->message != forms::NIM_DELETE)
        return std::string(it->data.szTip.data(), strnlen(it->data.szTip.data(), 63));
    return "";
  }
  std::vector<std::string> foregroundWindows;
  std::vector<std::string> unloaded;  // each window as it unloads, with a "+" while the icon still shows
  std::vector<int> pauses;
  bool ended = false;
  long long Now() const { return now_; }  // virtual milliseconds

  // --- what the tests do
  // Advances the virtual clock, firing every due timer of a loaded form in time order.
  void Advance(long long milliseconds);
  // Fires one timer now, whatever its schedule (as if its interval had elapsed).
  void Fire(forms::Timer& timer) {
    if (timers_.count(&timer)) Arm(&timer);
    timer.NotifyTick();
  }
  // A notification from the tray icon, as the shell sends it to the owner window.
  void DeliverTray(uint32_t message) {
    if (trayOwner_) trayOwner_->NotifyMouseMove(0, 0, message * screen.TwipsPerPixelX, 0);
  }
  // How many times a peer was told that `prop` changed, for the control or form given.
  int ChangeCount(const void* modelObject, forms::Prop prop) { return changes_[{modelObject, prop}]; }
  bool TimerRunning(const forms::Timer& t) const { return timers_.count(const_cast<forms::Timer*>(&t)); }

  // --- forms::Runtime
  std::unique_ptr<forms::Peer> CreateFormPeer(forms::Form& form) override;
  std::unique_ptr<forms::Peer> CreateControlPeer(forms::Control& control) override;
  std::unique_ptr<forms::Peer> CreateTimerPeer(forms::Timer& timer) override;
  void RunModal(forms::Form& form) override {
    if (onModal) return onModal(form);
    // Ten virtual minutes at most, in 15 ms steps: the modal window closes itself (a timer, a
    // scripted answer) or the loop gives up.
    for (int step = 0; step < 40000 && form.Loaded() && form.Visible(); ++step) Advance(15);
  }
  // Timers due meanwhile fire at the next Advance.
  void PauseWithoutMessages(int ms) override {
    pauses.push_back(ms);
    now_ += ms;
  }
  forms::ScreenInfo Screen() override { return screen; }
  forms::TwipsRect WorkArea() override { return workArea; }
  std::vector<forms::TwipsRect> WorkAreas() override { return {workArea}; }
  Twips TextWidth(const forms::Font& font, const std::string& text) override;
  Twips TextHeight(const forms::Font& font, const std::string& text) override;
  bool ShellNotifyIcon(int message, const forms::NOTIFYICONDATA& data) override {
    trayCalls.push_back({message, data});
    if (message == forms::NIM_ADD || message == forms::NIM_DELETE)
      trayOwner_ = message == forms::NIM_ADD ? data.hWnd : nullptr;
    return true;
  }
  bool SystemTrayAvailable() override { return trayAvailable; }
  std::optional<forms::TwipsRect> TrayIconPlace() override { return trayIconPlace; }
  void PopupMenu(forms::Form&, forms::MenuList& menu) override {
    if (onPopupMenu) onPopupMenu(menu);
  }
  void SetForegroundWindow(forms::Form& form) override { foregroundWindows.push_back(form.Name()); }
  int MsgBox(const std::string& prompt, int style, const std::string&) override {
    msgBoxes.push_back(prompt);
    if (msgBoxAnswers.empty()) return (style & 15) == 3 || (style & 15) == 4 ? forms::vbYes : forms::vbOK;
    const int answer = msgBoxAnswers.front();
    msgBoxAnswers.pop_front();
    return answer;
  }
  LocaleInfo Locale() override { return locale; }
  bool PrevInstance() override { return prevInstance; }
  void End() override { ended = true; }

 private:
  friend struct FakeTimerPeer;
  friend struct FakeRecordingPeer;
  void Arm(forms::Timer* timer) { timers_[timer] = {now_ + timer->Interval(), order_++}; }
  std::map<forms::Timer*, std::pair<long long, long long>> timers_;  // when due, and in which order
  long long now_ = 0, order_ = 0;
  forms::Form* trayOwner_ = nullptr;
  std::map<std::pair<const void*, forms::Prop>, int> changes_;
};

}  // namespace sysvane::fake
