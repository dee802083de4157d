// The peers of controls and timers: they keep a widget or a QTimer in step with the model.
#pragma once

#include <QPointer>
#include <QTimer>
#include <cstdint>
#include <memory>

#include "platform/forms.h"
#include "platform/qt/qt_bound_widget.h"

namespace sysvane::qt {

class ControlPeer : public forms::Peer {
 public:
  // `widget` is already a child of the control's container.
  ControlPeer(forms::Control& control, BoundWidget* widget);
  ~ControlPeer() override;
  void Changed(forms::Prop prop) override;
  void SetFocus() override;
  QWidget* widget() const { return widget_; }

 private:
  void ApplyGeometry();
  forms::Control& control_;
  BoundWidget* bound_;
  QPointer<QWidget> widget_;
  bool focusable_;
};

// Makes the widget for `control` inside its container (the form's client area or a page of a
// tab strip) and its peer. Needs the form's peer; gives a tab strip its peer first when a
// control on one of its pages comes before it. Null while the form has no peer yet.
std::unique_ptr<ControlPeer> MakeControlPeer(forms::Control& control);

// A window timer. Short intervals (the roll-up animation) run on a precise timer; the others on a
// coarse one, which lets the system bundle wake-ups. A slow timer (the 10-second drive re-check)
// that would fall due before a frequent timer's next tick (the 900 ms refresh) fires on that
// tick instead of waking the program on its own: at most one frequent interval early.
class TimerPeer : public forms::Peer {
 public:
  TimerPeer(forms::Timer& timer, QObject* parent);
  ~TimerPeer() override;
  void Changed(forms::Prop prop) override;

 private:
  void Tick();
  forms::Timer& model_;
  QPointer<QTimer> timer_;
  uint64_t serial_;
};

}  // namespace sysvane::qt
