#include "platform/qt/qt_session.h"

#include <QEvent>
#include <QGuiApplication>
#include <QSessionManager>

namespace sysvane::qt {

namespace {

class SessionEnd : public QObject {
 public:
  SessionEnd(QGuiApplication& app, std::function<void()> close) : app_(app), close_(std::move(close)) {
    app.installEventFilter(this);
    // Asked at every save of the session, logout or checkpoint; the manager reads it afterwards.
    auto never = [](QSessionManager& manager) { manager.setRestartHint(QSessionManager::RestartNever); };
    connect(&app, &QGuiApplication::commitDataRequest, this, never);
    connect(&app, &QGuiApplication::saveStateRequest, this, never);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Quit || watched != &app_) return false;
    close_();
    return true;  // the close has ended the program; Qt has nothing left to close
  }

 private:
  QGuiApplication& app_;
  std::function<void()> close_;
};

}  // namespace

std::unique_ptr<QObject> CloseWithTheSession(QGuiApplication& app, std::function<void()> close) {
  return std::make_unique<SessionEnd>(app, std::move(close));
}

}  // namespace sysvane::qt
