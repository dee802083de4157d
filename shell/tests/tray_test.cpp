// What the tray icon's notifications and menu commands do, and the tip they keep.
#include "dialogs/about.h"
#include "monitor/display.h"
#include "monitor/popup.h"
#include "options/options_dialog.h"
#include "tests/support/window_test.h"

namespace sysvane::testing {
namespace {

class TrayTest : public WindowTest {
 protected:
  void SetUp() override {
    fp.Select("CPU Battery");
    Power(1, 1, 80);
    menu().Load();
    menu().CPUMeter = std::make_unique<FixedSampler>(5);
  }
  // The message number arrives in x, in pixels of the screen's resolution.
  void Notify(double message) { menu().NotifyMouseMove(0, 0, message * rt.screen.TwipsPerPixelX, 0); }
};

TEST_F(TrayTest, NotificationsOpenTheirWindowsAndAnythingElseRefreshesTheTip) {
  Notify(forms::WM_LBUTTONUP + 0.5);  // between two numbers: none the program knows
  EXPECT_FALSE(program.popup().Loaded());
  EXPECT_EQ(rt.TrayTip(), "CPU: 5%, Battery: 80%");
  program.info.PopupShowing = true;
  Notify(forms::WM_LBUTTONUP);
  EXPECT_FALSE(program.popup().Loaded());
  program.info.PopupShowing = false;
  Notify(forms::WM_LBUTTONUP);
  rt.onPopupMenu = [&](forms::MenuList& list) {
    EXPECT_FALSE(program.popup().Loaded()) << "the roll-up closes before the menu opens";
    EXPECT_EQ(rt.foregroundWindows, std::vector<std::string>{"Menu"});
    list.items[2]->NotifyClick();  // Options
  };
  Notify(forms::WM_RBUTTONUP);
  Notify(forms::WM_LBUTTONDBLCLK);
  EXPECT_TRUE(program.info.MonitorOpenedFromTray);
  EXPECT_FALSE(program.options().Loaded());
  EXPECT_TRUE(program.display().Visible());
}

TEST_F(TrayTest, CommandsSwapOptionsAndMonitorAndBringBackAWindowAlreadyOpen) {
  for (auto [command, window, closes] : {std::tuple<forms::MenuItem*, forms::Form*, forms::Form*>{
                                             &menu().mnuDisplay, &program.display(), &program.options()},
                                         {&menu().mnuOptions, &program.options(), &program.display()},
                                         {&menu().mnuAbout, &program.about(), &program.popup()}}) {
    command->NotifyClick();
    EXPECT_TRUE(window->Visible() && !closes->Loaded()) << window->Name();
    window->NotifyDeactivate();
    window->NotifyWindowState(forms::vbMinimized);
    const int raised = rt.ChangeCount(window, forms::Prop::Raise);
    command->NotifyClick();  // again: the window comes back in front
    EXPECT_EQ(rt.ChangeCount(window, forms::Prop::Raise), raised + 1) << window->Name();
    EXPECT_EQ(window->WindowState(), forms::vbNormal);
  }
  for (int on : {1, 0}) {
    menu().mnuSplash.NotifyClick();  // saved, and ticked in the open Options dialog
    EXPECT_EQ(fp.settings.values["ShowSplash"] + std::to_string(program.options().Check0[3].Value()),
              std::to_string(on) + std::to_string(on));
  }
}

TEST(TipTest, TheFiguresOfTheSelectedStatistics) {
  struct Case {
    const char* on;
    int32_t cpu;
    SYSTEM_POWER_STATUS power;
    const char* tip;
    bool windows98 = false;
    uint64_t availPhys = 370;
  };
  const Case cases[] = {
      {"Battery", 5, {1, 1, 100, 0, 0, 0}, "Battery: 100%"},
      {"Battery", 5, {0, 1, 57, 0, 0, 0}, "Battery(unplugged): 57%"},
      {"Battery", 5, {1, 8, 40, 0, 0, 0}, "Battery(charging): 40%"},
      {"Battery", 5, {1, 2, 100, 0, 0, 0}, "Battery: 100%"},
      {"Battery", 5, {255, 255, 255, 0, 0, 0}, "Battery(charging): ?"},
      {"CPU Battery", 5, {1, 0, 1, 0, 0, 0}, "CPU: 5%, Battery: 1%"},
      {"CPU Battery", -1, {1, 128, 255, 0, 0, 0}, "CPU: 0%"},
      {"CPU PhysMem VirtMem SysRsrc GDIRsrc Battery",
       5,
       {0, 1, 90, 0, 0, 0},
       "CPU: 5%, Memory: 63%, Resources: 81%, Battery(unplugged): 90%",
       true},
      {"CPU PhysMem SysRsrc Battery",
       100,
       {0, 1, 100, 0, 0, 0},
       "CPU: 100%, Memory: 100%, Resources: 81%, Battery(unplugged): 10",
       true,
       0},                                                    // 65 cut to 63
      {"PhysMem SysRsrc", 5, {}, "Memory: 48%", false, 515},  // 48.5: halves to even
      {"CPU PhysMem", 5, {}, "CPU: 5%", false, 1001},         // no total: left out
      {"Ddrive", 5, {}, ""},
      {"", 5, {}, "Sysvane Monitor"},
  };
  for (const Case& c : cases) {
    fake::FakeProgram fp;
    fp.kernel.SetFixedDrives({{"c:\\", {100, 40}}, {"d:\\", {100, 40}}});
    if (c.windows98) fp.kernel.version = OSVERSIONINFO{148, 4, 10, 2222, VER_PLATFORM_WIN32_WINDOWS, ""};
    fp.kernel.memory = MEMORYSTATUS{32, 0, c.availPhys > 1000 ? 0u : 1000u, c.availPhys, 0, 0, 0, 0};
    fp.kernel.power = c.power;
    fp.resources.free[0] = 81;
    fp.Select(c.on);
    fp.program.menu().Load();
    fp.program.menu().CPUMeter = std::make_unique<FixedSampler>(c.cpu);
    fp.runtime.DeliverTray(forms::WM_MOUSEMOVE);
    EXPECT_EQ(fp.runtime.TrayTip(), c.tip);
  }
}

TEST_F(TrayTest, TheTipIsSentOnlyWhenItChangesAndIsFixedWhileAWindowShowsTheFigures) {
  Power(1, 0, 0);  // the battery has gone since the start: a figure without a label
  for (int i = 0; i < 2; ++i) rt.DeliverTray(forms::WM_MOUSEMOVE);
  EXPECT_EQ(rt.TrayTip(), "CPU: 5%, 0%");
  program.info.PopupShowing = true;
  menu().CPUMeter = std::make_unique<FixedSampler>(7);
  rt.DeliverTray(forms::WM_MOUSEMOVE);
  EXPECT_EQ(rt.TrayTip(), "CPU: 5%, 0%");
  program.info.PopupShowing = false;
  for (forms::MenuItem* open : {&menu().mnuOptions, &menu().mnuDisplay}) {
    for (bool checked : {true, false}) {
      open->SetChecked(checked);
      rt.DeliverTray(forms::WM_MOUSEMOVE);
      EXPECT_EQ(rt.TrayTip(), checked ? "Sysvane Monitor" : "CPU: 7%, 0%");
    }
  }
  EXPECT_EQ(rt.trayCalls.size(), 6u);  // the icon, then five changes
}

}  // namespace
}  // namespace sysvane::testing
