// Sysvane's start: the Qt application, the Linux services, and the hidden Menu window whose load
// is the whole start-up sequence. The event loop runs unless the start-up ended the program
// (a second instance ends inside that load, before any loop).
#include <sys/socket.h>
#include <unistd.h>
#include <QApplication>
#include <QSocketNotifier>
#include <csignal>

#include "platform/linux/linux_kernel.h"
#include "platform/linux/linux_outside.h"
#include "platform/linux/linux_registry.h"
#include "platform/qt/qt_desktop.h"
#include "platform/qt/qt_platform_choice.h"
#include "platform/qt/qt_runtime.h"
#include "platform/qt/qt_settings.h"
#include "shell/menu.h"
#include "shell/program.h"

namespace {

// A termination signal becomes a byte on this pair, read by the event loop: the program then
// closes as its Menu window closes (icon first, then every window), not in the middle of a handler.
int signalPair[2] = {-1, -1};

void OnTerminationSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = write(signalPair[1], &byte, 1);
}

void CatchTerminationSignals() {
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPair) != 0) return;
  struct sigaction action {};
  action.sa_handler = OnTerminationSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal : {SIGTERM, SIGINT, SIGHUP}) sigaction(signal, &action, nullptr);
}

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

  bool running = false;
  std::unique_ptr<QSocketNotifier> termination;
  if (signalPair[0] >= 0) {
    termination = std::make_unique<QSocketNotifier>(signalPair[0], QSocketNotifier::Read);
    QObject::connect(termination.get(), &QSocketNotifier::activated, [&] {
      char byte;
      [[maybe_unused]] const ssize_t got = read(signalPair[0], &byte, 1);
      if (running && program.menu().Loaded()) program.menu().Unload();
      runtime.End();
    });
  }

  program.menu().Load();
  if (runtime.EndCalled()) return 0;
  running = true;
  return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
  if (!sysvane::qt::ChoosePlatformPlugin()) return 1;
  CatchTerminationSignals();
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Sysvane"));
  QGuiApplication::setDesktopFileName(QStringLiteral("sysvane"));
  // The program lives in the notification area: closing its last window does not end it.
  QApplication::setQuitOnLastWindowClosed(false);
  const int status = Run();
  // Windows of unloaded forms wait for the next turn of the loop to be deleted: that is now.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  return status;
}
