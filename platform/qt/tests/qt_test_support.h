// Helpers of the Qt runtime's tests: reaching a window's widget, letting the event loop run, and
// an icon with its owner.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <functional>

#include "platform/forms.h"
#include "platform/qt/qt_form.h"
#include "platform/qt/qt_runtime.h"

namespace sysvane::qt::testing {

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

// A runtime with a loaded owner of the icon, and the icon's data naming it.
template <class Owner = forms::Form>
struct OwnedIcon {
  OwnedIcon() { owner.Load(), data.hWnd = &owner; }
  ~OwnedIcon() { owner.Unload(), RunDeferredDeletes(); }
  QtRuntime runtime;
  Owner owner{runtime, "Menu"};
  forms::NOTIFYICONDATA data;
};

}  // namespace sysvane::qt::testing
