// The start-up entry started by the desktop's own launcher: the program runs, with its path whole
// whatever characters the path holds.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "options/shortcut_maintenance.h"
#include "platform/fake/fake_forms.h"
#include "platform/qt/qt_desktop.h"
#include "tests/faults/config_home.h"

namespace sysvane {
namespace {

TEST(LauncherTest, ALauncherStartsTheProgramTheEntryNames) {
  ASSERT_EQ(std::system("command -v gio >/dev/null"), 0) << "gio is missing: install libglib2.0-bin";
  faults::ConfigHome home;
  QtDesktop desktop;
  fake::FakeRuntime runtime;
  ShortcutMaintenance shortcuts(desktop, runtime);
  for (const std::string folder :
       {"a b  c", "it's \"q\" `id` $HOME ${x}", "back\\slash\\ \\\"$`\\", "caf\xC3\xA9;|&<>~#*?()=[]{}!"}) {
    SCOPED_TRACE(folder);
    const std::string program = home.Path(folder + "/sysvane"), ran = home.Path("ran");
    home.Write(folder + "/sysvane", "#!/bin/sh\nprintf '%s' \"$0\" > '" + ran + "'\n");
    ::chmod(program.c_str(), 0700);
    std::filesystem::remove(ran);
    shortcuts.CreateStartupShortcut("Sysvane", program, "");
    ASSERT_TRUE(runtime.msgBoxes.empty());
    ASSERT_EQ(std::system(("gio launch '" + home.Path("config/autostart/Sysvane.desktop") + "'").c_str()), 0);
    for (int i = 0; i < 500 && desktop.ReadFile(ran) != program; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(desktop.ReadFile(ran), program);
  }
}

}  // namespace
}  // namespace sysvane
