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
  struct Row {
    const char* what;
    std::vector<std::string> selected;
    bool defined;  // the options were saved once
    bool trayComes;
    bool monitorShown, optionsShown, endsWhenClosed;
    bool lostLater = false;  // there at start, gone a while after
  };
  const Row rows[] = {
      {"statistics selected: the Monitor window", {"ShowCPU"}, true, false, true, false, true},
      {"nothing selected: the choice first", {}, true, false, false, true, true},
      {"first run: the Options dialog", {}, false, false, false, true, true},
      {"a tray comes: on as usual", {"ShowCPU"}, true, true, true, false, false},
      {"the tray goes after start-up", {"ShowCPU"}, true, false, true, false, true, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    fake::FakeProgram fresh;
    fake::FakeRuntime& runtime = fresh.runtime;
    if (row.defined) fresh.Set("Defined", "Yes");
    fresh.Set("ShowSplash", "0");
    for (const auto& key : row.selected) fresh.Set(key, "1");
    runtime.trayAvailable = row.lostLater;
    int boxes = 0;
    runtime.onModal = [&](forms::Form& box) {
      ++boxes;
      box.Unload();
    };
    Menu& menu = fresh.program.menu();
    menu.Load();
    if (row.lostLater) {
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
              std::pair(row.monitorShown, row.optionsShown));
    runtime.Advance(3000);
    EXPECT_FALSE(runtime.ended) << "not while a window is open";
    runtime.trayAvailable = row.trayComes;
    runtime.Advance(1000);
    fresh.program.UnloadDisplay();
    fresh.program.UnloadOptions();
    runtime.Advance(1000);
    EXPECT_EQ(runtime.ended, row.endsWhenClosed);
    EXPECT_EQ(runtime.trayIconShown, !row.endsWhenClosed);
  }
}

}  // namespace
}  // namespace sysvane::testing
