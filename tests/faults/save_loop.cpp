// Saves in a loop until it is killed, through the program's real file writers:
//   save_loop settings PATH   Counter=N then Payload=<N's text> in the settings file, N going on
//                             from the number the file holds
//   save_loop autostart N     the start-up entry for the program /opt/sysvane-N/sysvane, N + 1 ...
#include <cstdio>
#include <cstdlib>
#include <string>

#include "options/shortcut_maintenance.h"
#include "platform/fake/fake_forms.h"
#include "platform/qt/qt_desktop.h"
#include "platform/qt/qt_settings.h"
#include "tests/faults/save_loop.h"

int main(int argc, char** argv) {
  const std::string mode = argc > 2 ? argv[1] : "";
  if (mode == "settings") {
    sysvane::qt::QtSettingsBackend settings(argv[2]);
    for (long n = std::atol(settings.Read("", "Settings", "Counter").value_or("0").c_str()) + 1;; ++n) {
      if (!settings.Write("", "Settings", "Counter", std::to_string(n)) ||
          !settings.Write("", "Settings", "Payload", sysvane::faults::Payload(n)))
        return 1;
    }
  }
  if (mode == "autostart") {
    sysvane::QtDesktop desktop;
    sysvane::fake::FakeRuntime runtime;  // a failure would show a message box: none is expected
    sysvane::ShortcutMaintenance shortcuts(desktop, runtime);
    for (long n = std::atol(argv[2]); runtime.msgBoxes.empty(); ++n)
      shortcuts.CreateStartupShortcut("Sysvane", sysvane::faults::ProgramOf(n), "");
    return 1;
  }
  std::fprintf(stderr, "usage: save_loop settings PATH | save_loop autostart N\n");
  return 2;
}
