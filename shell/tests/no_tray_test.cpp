// A desktop without a notification area: the program says so once, lives in a window, and ends
// when the last is closed, unless a tray has come meanwhile.
#include <gtest/gtest.h>

#include "platform/fake/fake_program.h"

#include "monitor/display.h"
#include "options/options_dialog.h"
#include "shell/menu.h"
#include "shell/program.h"

namespace sysvane::testing {
namespace {

TEST(NoTrayTest, TheProgramLivesInAWindowAndEndsWithTheLastUnlessATrayCame) {
  // What, the statistic selected (the options saved before), the tray there at start and gone a while
  // after, a tray comes later; the Monitor window shown, the Options dialog shown, the end with them.
  const std::tuple<const char*, const char*, bool, bool, bool, bool, bool> rows[] = {
      {"statistics selected: the Monitor window", "CPU", false, false, true, false, true},
      {"nothing selected: the choice first", "", false, false, false, true, true},
      {"a tray comes: on as usual", "CPU", false, true, true, false, false},
      {"the tray goes after start-up", "CPU", true, false, true, false, true}};
  for (const auto& [what, selected, lostLater, trayComes, monitorShown, optionsShown, endsWhenClosed] :
       rows) {
    SCOPED_TRACE(what);
    fake::FakeProgram fresh;
    fake::FakeRuntime& runtime = fresh.runtime;
    fresh.Select(selected);
    runtime.trayAvailable = lostLater;
    int boxes = 0;
    runtime.onModal = [&](forms::Form& box) { ++boxes, box.Unload(); };
    Menu& menu = fresh.program.menu();
    menu.Load();
    if (lostLater) {
      runtime.Advance(9000);
      runtime.trayAvailable = false;
      ASSERT_TRUE(runtime.TrayLost) << "the program hears of it";
      runtime.TrayLost();
    }
    EXPECT_EQ(boxes, 0) << "a panel may still be starting";
    runtime.Advance(5000);
    EXPECT_EQ(boxes, 1) << "said once";
    EXPECT_EQ(runtime.trayCalls.front().data.menu, &menu.MenuTray) << "the icon waits with its menu";
    EXPECT_EQ(std::pair(menu.mnuDisplay.Checked(), menu.mnuOptions.Checked()),
              std::pair(monitorShown, optionsShown));
    runtime.Advance(3000);
    EXPECT_FALSE(runtime.ended) << "not while a window is open";
    runtime.trayAvailable = trayComes;
    runtime.Advance(1000);
    fresh.program.UnloadDisplay();
    fresh.program.UnloadOptions();
    runtime.Advance(1000);
    EXPECT_EQ(std::pair(runtime.ended, runtime.TrayIconShown()), std::pair(endsWhenClosed, !endsWhenClosed));
  }
}

}  // namespace
}  // namespace sysvane::testing
