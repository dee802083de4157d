#include "platform/qt/qt_peers.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/qt/qt_bar_widget.h"
#include "platform/qt/qt_controls.h"
#include "platform/qt/qt_form.h"
#include "platform/qt/qt_tab_strip.h"

namespace sysvane::qt {

using forms::Prop;

namespace {

QWidget* ContainerOf(forms::Control& control) {
  if (forms::TabStrip* strip = control.ContainerStrip()) {
    if (!strip->peer()) strip->AttachPeer(MakeControlPeer(*strip));
    if (auto* peer = dynamic_cast<ControlPeer*>(strip->peer())) {
      if (auto* widget = dynamic_cast<TabStripWidget*>(peer->widget()))
        return widget->Page(control.ContainerPage());
    }
  }
  auto* form = dynamic_cast<FormPeer*>(control.form().peer());
  return form ? form->widget() : nullptr;
}

BoundWidget* MakeWidget(forms::Control& control, QWidget* parent) {
  if (auto* c = dynamic_cast<forms::Label*>(&control)) return new LabelWidget(*c, parent);
  if (auto* c = dynamic_cast<forms::ProgressBar*>(&control)) return new BarWidget(*c, parent);
  if (auto* c = dynamic_cast<forms::CheckBox*>(&control)) return new CheckBoxWidget(*c, parent);
  if (auto* c = dynamic_cast<forms::CommandButton*>(&control)) return new ButtonWidget(*c, parent);
  if (auto* c = dynamic_cast<forms::OptionButton*>(&control)) return new OptionButtonWidget(*c, parent);
  if (auto* c = dynamic_cast<forms::Frame*>(&control)) return new FrameWidget(*c, parent);
  if (auto* c = dynamic_cast<forms::Image*>(&control)) return new ImageWidget(*c, parent);
  if (auto* c = dynamic_cast<forms::Line*>(&control)) return new LineWidget(*c, parent);
  if (auto* c = dynamic_cast<forms::TabStrip*>(&control)) return new TabStripWidget(*c, parent);
  return nullptr;
}

}  // namespace

std::unique_ptr<ControlPeer> MakeControlPeer(forms::Control& control) {
  // An element a window's Design loads comes before the window's own peer: the load gives it
  // its peer with the others.
  QWidget* container = ContainerOf(control);
  if (!container) return nullptr;
  BoundWidget* widget = MakeWidget(control, container);
  return widget ? std::make_unique<ControlPeer>(control, widget) : nullptr;
}

// ---------------------------------------------------------------------------------------------

ControlPeer::ControlPeer(forms::Control& control, BoundWidget* widget)
    : control_(control),
      bound_(widget),
      widget_(widget ? widget->AsWidget() : nullptr),
      focusable_(widget_ && widget_->focusPolicy() != Qt::NoFocus) {
  for (Prop prop : forms::kControlProperties) Changed(prop);
}

ControlPeer::~ControlPeer() {
  if (!widget_) return;
  // The control may go inside one of the widget's own signals: the widget goes at the next turn.
  bound_->Unbind();
  widget_->hide();
  widget_->deleteLater();
}

void ControlPeer::Changed(Prop prop) {
  if (!widget_) return;
  switch (prop) {
    case Prop::Geometry:
      ApplyGeometry();
      bound_->Apply(prop);
      break;
    case Prop::Visible:
      widget_->setVisible(control_.Visible());
      break;
    case Prop::Enabled:
      widget_->setEnabled(control_.Enabled());
      break;
    case Prop::ToolTip:
      widget_->setToolTip(ToQString(control_.ToolTipText()));
      break;
    case Prop::TabStop:
      if (focusable_) widget_->setFocusPolicy(control_.TabStop() ? Qt::StrongFocus : Qt::ClickFocus);
      break;
    default:
      bound_->Apply(prop);
      break;
  }
}

void ControlPeer::ApplyGeometry() {
  QPoint origin;
  if (auto* form = dynamic_cast<FormWidget*>(widget_->parentWidget())) origin = form->ClientOrigin();
  widget_->setGeometry(bound_->Box().translated(origin));
}

void ControlPeer::SetFocus() {
  if (widget_) widget_->setFocus(Qt::OtherFocusReason);
}

// ---------------------------------------------------------------------------------------------

namespace {

// A slow timer rides on a frequent one only when it is at least this many times slower, so that
// firing it one frequent interval early changes its period by a tenth at most (a sixth with the
// coarse timers' own slack, below).
constexpr int kRideAlongRatio = 10;

// A coarse timer fires up to a twentieth of its interval early or late: a slow tick that may
// come before the frequent timer's next one is taken along now, or it would wake the program
// on its own between two ticks.
int RideReach(int frequent, int slow) {
  return frequent + frequent / 20 + slow / 20;
}

// Every timer peer alive, with a serial number: a tick may destroy peers, and a new peer may
// take a destroyed one's address.
std::vector<std::pair<TimerPeer*, uint64_t>>& LivePeers() {
  static std::vector<std::pair<TimerPeer*, uint64_t>> peers;
  return peers;
}
uint64_t nextSerial = 1;

bool Alive(const std::pair<TimerPeer*, uint64_t>& peer) {
  const auto& peers = LivePeers();
  return std::find(peers.begin(), peers.end(), peer) != peers.end();
}

}  // namespace

TimerPeer::TimerPeer(forms::Timer& timer, QObject* parent)
    : model_(timer), timer_(new QTimer(parent)), serial_(nextSerial++) {
  LivePeers().emplace_back(this, serial_);
  QObject::connect(timer_, &QTimer::timeout, timer_, [this] { Tick(); });
  Changed(Prop::TimerState);
}

TimerPeer::~TimerPeer() {
  auto& peers = LivePeers();
  peers.erase(std::remove(peers.begin(), peers.end(), std::make_pair(this, serial_)), peers.end());
  if (!timer_) return;
  timer_->stop();
  // A tick may be unloading the window right now: the QTimer goes at the next turn.
  QObject::disconnect(timer_, &QTimer::timeout, nullptr, nullptr);
  timer_->deleteLater();
}

void TimerPeer::Tick() {
  // The slow timers that would wake the program before this one's next tick come along now.
  const int interval = timer_->interval();
  std::vector<std::pair<TimerPeer*, uint64_t>> riders;
  for (const auto& peer : LivePeers()) {
    QTimer* other = peer.first->timer_;
    if (peer.first == this || !other || !other->isActive()) continue;
    if (other->interval() >= kRideAlongRatio * interval &&
        other->remainingTime() <= RideReach(interval, other->interval()))
      riders.push_back(peer);
  }
  model_.NotifyTick();  // may unload windows: `this` and the riders may be gone from here on
  for (const auto& rider : riders) {
    if (!Alive(rider)) continue;
    rider.first->timer_->start();  // its next tick counts from now
    rider.first->model_.NotifyTick();
  }
}

void TimerPeer::Changed(Prop) {
  if (!timer_) return;
  const int interval = model_.Interval();
  if (!model_.Enabled() || interval <= 0) {
    timer_->stop();
    return;
  }
  timer_->setTimerType(interval < 100 ? Qt::PreciseTimer : Qt::CoarseTimer);
  timer_->start(interval);  // a new interval or a new start counts afresh
}

}  // namespace sysvane::qt
