// The end of the desktop session, on Qt: the program closes in its own order before Qt would close
// its windows, and asks the session manager never to start it again.
#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QGuiApplication>
#include <QSessionManager>
#include <QWidget>

#include "platform/qt/qt_session.h"

namespace sysvane {
namespace {

TEST(SessionEndTest, TheProgramClosesFirstAndIsNeverRestartedBySessionManagement) {
  std::vector<std::string> log;
  struct Window : QWidget {
    std::vector<std::string>* log;
    void closeEvent(QCloseEvent*) override { log->push_back("a window closed by Qt"); }
  } window;
  window.log = &log;
  window.show();
  const auto session = qt::CloseWithTheSession(*qApp, [&] { log.push_back("the program closed"); });
  auto* manager = qApp->findChild<QSessionManager*>();
  ASSERT_NE(manager, nullptr);
  for (auto request : {&QGuiApplication::commitDataRequest, &QGuiApplication::saveStateRequest}) {
    manager->setRestartHint(QSessionManager::RestartIfRunning);
    emit(qApp->*request)(*manager);
    EXPECT_EQ(manager->restartHint(), QSessionManager::RestartNever);
  }
  QEvent quit(QEvent::Quit);  // the session manager's last word
  QCoreApplication::sendEvent(qApp, &quit);
  EXPECT_EQ(log, std::vector<std::string>{"the program closed"});
}

}  // namespace
}  // namespace sysvane
