#include "platform/fake/fake_forms.h"

#include <algorithm>
#include <cstring>

namespace sysvane::fake {

using forms::Prop;

// Records every property change and a window's unload; a focus request reaches the control as a
// real focus would.
struct FakeRecordingPeer : forms::Peer {
  FakeRecordingPeer(FakeRuntime& rt, const void* model, forms::Control* control, std::string window = "")
      : rt_(rt), model_(model), control_(control), window_(std::move(window)) {}
  ~FakeRecordingPeer() override {
    if (!window_.empty()) rt_.unloaded.push_back(window_ + (rt_.TrayIconShown() ? "+" : ""));
  }
  void Changed(Prop prop) override { ++rt_.changes_[{model_, prop}]; }
  void SetFocus() override {
    if (control_) control_->NotifyGotFocus();
  }
  FakeRuntime& rt_;
  const void* model_;
  forms::Control* control_;
  std::string window_;
};

struct FakeTimerPeer : forms::Peer {
  FakeTimerPeer(FakeRuntime& rt, forms::Timer& timer) : rt_(rt), timer_(timer) { Changed(Prop::TimerState); }
  ~FakeTimerPeer() override { rt_.Disarm(&timer_); }
  void Changed(Prop) override {
    timer_.Enabled() && timer_.Interval() > 0 ? rt_.Arm(&timer_) : rt_.Disarm(&timer_);
  }
  FakeRuntime& rt_;
  forms::Timer& timer_;
};

std::unique_ptr<forms::Peer> FakeRuntime::CreateFormPeer(forms::Form& form) {
  return std::make_unique<FakeRecordingPeer>(*this, &form, nullptr, form.Name());
}

std::unique_ptr<forms::Peer> FakeRuntime::CreateControlPeer(forms::Control& control) {
  return std::make_unique<FakeRecordingPeer>(*this, &control, &control);
}

std::unique_ptr<forms::Peer> FakeRuntime::CreateTimerPeer(forms::Timer& timer) {
  return std::make_unique<FakeTimerPeer>(*this, timer);
}

void FakeRuntime::Arm(forms::Timer* timer) {
  timers_[timer] = Schedule{now_ + timer->Interval(), order_++};
}

void FakeRuntime::Advance(long long milliseconds) {
  const long long end = now_ + milliseconds;
  for (;;) {  // the earliest due timer, the first armed of those due together
    const auto next = std::min_element(timers_.begin(), timers_.end(), [](const auto& a, const auto& b) {
      return std::pair(a.second.due, a.second.order) < std::pair(b.second.due, b.second.order);
    });
    if (next == timers_.end() || next->second.due > end) break;
    forms::Timer* timer = next->first;
    now_ = std::max(now_, next->second.due);
    Arm(timer);  // before the tick, so that a handler that disables or re-enables the timer wins
    timer->NotifyTick();
  }
  now_ = end;
}

void FakeRuntime::Fire(forms::Timer& timer) {
  if (timers_.count(&timer)) Arm(&timer);
  timer.NotifyTick();
}

void FakeRuntime::RunModal(forms::Form& form) {
  if (onModal) return onModal(form);
  // Ten virtual minutes at most, in 15 ms steps: the modal window closes itself (a timer, a
  // scripted answer) or the loop gives up.
  for (int step = 0; step < 40000 && form.Loaded() && form.Visible(); ++step) Advance(15);
}

// Lines end at "\r\n", "\n" or a lone "\r" (text[size] is the terminating NUL).
static std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines(1);
  for (size_t i = 0; i < text.size(); ++i)
    if (text[i] != '\r' || text[i + 1] != '\n')
      text[i] == '\n' || text[i] == '\r' ? lines.emplace_back() : lines.back() += text[i];
  return lines;
}

Twips FakeRuntime::TextWidth(const forms::Font& font, const std::string& text) {
  size_t widest = 0;
  for (const auto& line : Lines(text)) widest = std::max(widest, line.size());
  return Twips(widest) * 90 * font.size / 8.25;  // 90 twips a character at 8.25 points
}

Twips FakeRuntime::TextHeight(const forms::Font& font, const std::string& text) {
  return Twips(Lines(text).size()) * 195 * font.size / 8.25;  // 195 twips a line
}

bool FakeRuntime::ShellNotifyIcon(int message, const forms::NOTIFYICONDATA& data) {
  trayCalls.push_back({message, data});
  if (message == forms::NIM_ADD || message == forms::NIM_DELETE)
    trayOwner_ = message == forms::NIM_ADD ? data.hWnd : nullptr;
  return true;
}

std::string FakeRuntime::TrayTip() const {
  for (auto it = trayCalls.rbegin(); it != trayCalls.rend(); ++it)
    if (it->message != forms::NIM_DELETE)
      return std::string(it->data.szTip.data(), strnlen(it->data.szTip.data(), 63));
  return "";
}

int FakeRuntime::MsgBox(const std::string& prompt, int style, const std::string&) {
  msgBoxes.push_back(prompt);
  if (msgBoxAnswers.empty()) return (style & 15) == 3 || (style & 15) == 4 ? forms::vbYes : forms::vbOK;
  const int answer = msgBoxAnswers.front();
  msgBoxAnswers.pop_front();
  return answer;
}

}  // namespace sysvane::fake
