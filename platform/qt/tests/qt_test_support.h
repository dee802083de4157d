// Helpers of the Qt runtime's tests: reaching a control's widget and letting the event loop run.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QWidget>
#include <functional>

#include "platform/forms.h"
#include "platform/qt/qt_form.h"
#include "platform/qt/qt_peers.h"

namespace sysvane::qt::testing {

inline QWidget* WidgetOf(const forms::Control& control) {
  auto* peer = dynamic_cast<ControlPeer*>(control.peer());
  return peer ? peer->widget() : nullptr;
}

inline FormWidget* WidgetOf(const forms::Form& form) {
  auto* peer = dynamic_cast<FormPeer*>(form.peer());
  return peer ? peer->widget() : nullptr;
}

// Runs the event loop for about `ms` milliseconds, or until `done` holds.
inline void RunEvents(int ms, const std::function<bool()>& done = nullptr) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < ms && !(done && done())) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// Deletes what was left for deletion at the next turn, as the main loop would.
inline void RunDeferredDeletes() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
  int count = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++count;
    return false;
  }
};

}  // namespace sysvane::qt::testing
