// Saves in a loop until it is killed, through the program's real file writers, and tells on its
// standard output the number of every save that has returned:
//   save_loop settings PATH   Counter=N then Payload=<N's text> in the settings file, N going on
//                             from the number the file holds
//   save_loop autostart N     the start-up entry for the program /opt/sysvane-N/sysvane, N + 1 ...
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "options/shortcut_maintenance.h"
#include "platform/fake/fake_forms.h"
#include "platform/qt/qt_desktop.h"
#include "platform/qt/qt_settings.h"
#include "tests/faults/save_loop.h"

namespace {

void Tell(long generation) {
  const std::string line = std::to_string(generation) + "\n";
  [[maybe_unused]] const ssize_t written = write(STDOUT_FILENO, line.data(), line.size());
}

int SaveSettings(const std::string& path) {
  sysvane::qt::QtSettingsBackend settings(path);
  long generation = std::atol(settings.Read("", "Settings", "Counter").value_or("0").c_str());
  for (;;) {
    ++generation;
    if (!settings.Write("", "Settings", "Counter", std::to_string(generation))) return 1;
    if (!settings.Write("", "Settings", "Payload", sysvane::faults::Payload(generation))) return 1;
    Tell(generation);
  }
}

int SaveAutostart(long generation) {
  sysvane::QtDesktop desktop;
  sysvane::fake::FakeRuntime runtime;  // a failure would show a message box: none is expected
  sysvane::ShortcutMaintenance shortcuts(desktop, runtime);
  for (;;) {
    shortcuts.CreateStartupShortcut("Sysvane", sysvane::faults::ProgramOf(generation), "");
    if (!runtime.msgBoxes.empty()) return 1;
    Tell(generation++);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 2 ? argv[1] : "";
  if (mode == "settings") return SaveSettings(argv[2]);
  if (mode == "autostart") return SaveAutostart(std::atol(argv[2]));
  std::fprintf(stderr, "usage: save_loop settings PATH | save_loop autostart N\n");
  return 2;
}
