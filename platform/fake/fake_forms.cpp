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
  ~FakeTimerPeer() override { rt_.timers_.erase(&timer_); }
  void Changed(Prop) override {
    timer_.Enabled() && timer_.Interval() > 0 ? rt_.Arm(&timer_) : void(rt_.timers_.erase(&timer_));
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

void FakeRuntime::Advance(long long milliseconds) {
  const long long end = now_ + milliseconds;
  for (;;) {  // the earliest due timer, the first armed of those due together
    const auto next = std::min_element(timers_.begin(), timers_.end(),
                                       [](const auto& a, const auto& b) { return a.second < b.second; });
    if (next == timers_.end() || next->second.first > end) break;
    forms::Timer* timer = next->first;
    now_ = std::max(now_, next->second.first);
    Arm(timer);  // before the tick, so that a handler that disables or re-enables the timer wins
    timer->NotifyTick();
  }
  now_ = end;
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
  const auto lines = Lines(text);  // 90 twips a character at 8.25 points
  return Twips(std::ranges::max_element(lines, {}, &std::string::size)->size()) * 90 * font.size / 8.25;
}

Twips FakeRuntime::TextHeight(const forms::Font& font, const std::string& text) {
  return Twips(Lines(text).size()) * 195 * font.size / 8.25;  // 195 twips a line
}

}  // namespace sysvane::fake
