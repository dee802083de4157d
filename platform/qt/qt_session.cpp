#include "platform/qt/qt_session.h"

#include <cstdio>
#include <cstdlib>

#include <sys/socket.h>
#include <unistd.h>

#include <QEvent>
#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <csignal>

namespace sysvane::qt {

namespace {
bool insideTheLoop = false;

void EndAtOnce(int status, void*) {
  if (!insideTheLoop) return;
  std::fflush(nullptr);
  std::_Exit(status);
}
}  // namespace

void EndAtOnceOnExitFromTheLoop() {
  on_exit(EndAtOnce, nullptr);
}

void SetInsideTheLoop(bool inside) {
  insideTheLoop = inside;
}

namespace {

// A termination signal becomes a byte on this pair, read by the event loop.
int signalPair[2] = {-1, -1};

void OnTerminationSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = write(signalPair[1], &byte, 1);
}

class ToldToEnd : public QObject {
 public:
  ToldToEnd(QGuiApplication& app, std::function<void()> close) : app_(app), close_(std::move(close)) {
    app.installEventFilter(this);
    // Asked at every save of the session, logout or checkpoint; the manager reads it afterwards.
    auto never = [](QSessionManager& manager) { manager.setRestartHint(QSessionManager::RestartNever); };
    connect(&app, &QGuiApplication::commitDataRequest, this, never);
    connect(&app, &QGuiApplication::saveStateRequest, this, never);
    if (signalPair[0] < 0) return;
    auto* caught = new QSocketNotifier(signalPair[0], QSocketNotifier::Read, this);
    connect(caught, &QSocketNotifier::activated, this, [this] {
      char byte;
      [[maybe_unused]] const ssize_t got = read(signalPair[0], &byte, 1);
      close_();
    });
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

void CatchTerminationSignals() {
  if (signalPair[0] >= 0 || socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPair) != 0) return;
  struct sigaction action {};
  action.sa_handler = OnTerminationSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal : {SIGTERM, SIGINT, SIGHUP}) sigaction(signal, &action, nullptr);
}

std::unique_ptr<QObject> CloseWhenToldToEnd(QGuiApplication& app, std::function<void()> close) {
  return std::make_unique<ToldToEnd>(app, std::move(close));
}

}  // namespace sysvane::qt
