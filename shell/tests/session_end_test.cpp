// Told to end from outside, on Qt: a termination signal or the end of the desktop session closes
// the program in its own order before Qt would close its windows, and the session manager is asked
// never to start it again.
#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QGuiApplication>
#include <QSessionManager>
#include <QWidget>
#include <csignal>

#include "platform/qt/qt_session.h"
#include "platform/qt/tests/qt_test_support.h"

namespace sysvane {
namespace {

TEST(SessionEndTest, SignalsAndTheSessionsEndCloseTheProgramFirstAndItIsNeverRestarted) {
  std::vector<std::string> log;
  struct Window : QWidget {
    std::vector<std::string>* log;
    void closeEvent(QCloseEvent*) override { log->push_back("a window closed by Qt"); }
  } window;
  window.log = &log;
  window.show();
  qt::CatchTerminationSignals();
  const auto toldToEnd = qt::CloseWhenToldToEnd(*qApp, [&] { log.push_back("the program closed"); });
  auto* manager = qApp->findChild<QSessionManager*>();
  ASSERT_NE(manager, nullptr);
  for (auto request : {&QGuiApplication::commitDataRequest, &QGuiApplication::saveStateRequest}) {
    manager->setRestartHint(QSessionManager::RestartIfRunning);
    emit(qApp->*request)(*manager);
    EXPECT_EQ(manager->restartHint(), QSessionManager::RestartNever);
  }
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    const size_t before = log.size();
    raise(signal);  // the process lives on: the close comes from the event loop
    qt::testing::RunEvents(10'000, [&] { return log.size() > before; });
    EXPECT_EQ(log.size(), before + 1) << strsignal(signal);
  }
  QEvent quit(QEvent::Quit);  // the session manager's last word
  QCoreApplication::sendEvent(qApp, &quit);
  EXPECT_EQ(log, std::vector<std::string>(4, "the program closed"));
}

}  // namespace
}  // namespace sysvane
