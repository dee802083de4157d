// Sysvane's start on Linux (Windows' is main_windows.cpp beside it): the Qt application, the Linux services,
// and the hidden Menu window whose load is the whole start-up sequence. The event loop runs unless the
// start-up ended the program (a second instance ends inside that load, before any loop).
#include <QApplication>
#include <vector>

#include "platform/linux/linux_kernel.h"
#include "platform/linux/linux_outside.h"
#include "platform/linux/linux_registry.h"
#include "platform/qt/qt_desktop.h"
#include "platform/qt/qt_platform_choice.h"
#include "platform/qt/qt_runtime.h"
#include "platform/qt/qt_session.h"
#include "platform/qt/qt_settings.h"
#include "shell/menu.h"
#include "shell/program.h"

namespace {

int Run() {
  sysvane::LinuxKernel kernel;
  sysvane::LinuxRegistry registry;
  sysvane::LinuxProcessorLibrary processor;
  sysvane::LinuxResourceMeter resources;
  sysvane::QtDesktop desktop;
  sysvane::qt::QtSettingsBackend settings;
  sysvane::qt::QtRuntime runtime;
  sysvane::Program program{
      sysvane::Platform{kernel, registry, processor, resources, settings, runtime, desktop}};

  // A termination signal and the end of the desktop session close the program as Exit does, also
  // while the splash holds the start-up (its loop runs inside the Menu window's load).
  const auto toldToEnd = sysvane::qt::CloseWhenToldToEnd(*qApp, [&] { program.menu().CloseProgram(); });

  sysvane::qt::EndAtOnceOnExitFromTheLoop();
  sysvane::qt::SetInsideTheLoop(true);
  program.menu().Load();
  const int status = runtime.EndCalled() ? 0 : QApplication::exec();
  sysvane::qt::SetInsideTheLoop(false);
  return status;
}

// What Qt would set up that a tray monitor never uses, left out while the application is made:
// GLib's event loop (Qt's own Unix loop holds less memory and wakes up cheaper), an input
// method (no window of the program takes text), and X shared memory for the windows' pictures:
// after each picture put that way Qt waits for the X server's answer before it may draw into the
// memory again, two more wake-ups and a round trip per repaint. The bars, repainted at every
// refresh, put their pictures on their own windows without Qt's help; what Qt still repaints
// (a caption, a dialog) is rare and small, and costs the X server less sent whole. Qt reads these
// choices only then; the environment is put back afterwards for the programs the user starts
// from Sysvane.
class LeanQtStart {
 public:
  LeanQtStart() {
    for (const char* name : {"QT_NO_GLIB", "QT_IM_MODULE", "QT_XCB_NO_MITSHM"})
      saved_.push_back({name, qgetenv(name), qEnvironmentVariableIsSet(name)});
    qputenv("QT_NO_GLIB", "1");
    qputenv("QT_IM_MODULE", "none");
    qputenv("QT_XCB_NO_MITSHM", "1");
  }
  void Restore() {
    for (const Saved& variable : saved_) {
      if (variable.set)
        qputenv(variable.name, variable.value);
      else
        qunsetenv(variable.name);
    }
  }

 private:
  struct Saved {
    const char* name;
    QByteArray value;
    bool set;
  };
  std::vector<Saved> saved_;
};

}  // namespace

int main(int argc, char** argv) {
  if (!sysvane::qt::ChoosePlatformPlugin()) return 1;
  sysvane::qt::CatchTerminationSignals();
  LeanQtStart lean;
  QApplication app(argc, argv);
  lean.Restore();
  QApplication::setApplicationName(QStringLiteral("Sysvane"));
  QGuiApplication::setDesktopFileName(QStringLiteral("sysvane"));
  // The program lives in the notification area: closing its last window does not end it.
  QApplication::setQuitOnLastWindowClosed(false);
  const int status = Run();
  // Windows of unloaded forms wait for the next turn of the loop to be deleted: that is now.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  return status;
}
