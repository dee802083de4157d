// What the tray icon's notifications and menu commands do, and the tip they keep.
#include <algorithm>

#include "dialogs/about.h"
#include "monitor/display.h"
#include "monitor/popup.h"
#include "options/options_dialog.h"
#include "tests/support/window_test.h"

namespace sysvane::testing {
namespace {

class TrayTest : public WindowTest {
 protected:
  void Start(const std::vector<std::string>& keys, int32_t cpu = 5) {
    Select(keys);
    menu().Load();
    menu().CPUMeter = std::make_unique<FixedSampler>(cpu);
  }
  size_t Sent(int message) const {
    return std::count_if(rt.trayCalls.begin(), rt.trayCalls.end(),
                         [&](auto& c) { return c.message == message; });
  }
  // The message number arrives in x, in pixels of the screen's resolution.
  void Notify(double pixels) { menu().NotifyMouseMove(0, 0, pixels * rt.screen.TwipsPerPixelX, 0); }
};

TEST_F(TrayTest, NotificationsOpenTheirWindowsAndAnythingElseRefreshesTheTip) {
  Start({"ShowCPU"});
  Notify(forms::WM_LBUTTONUP + 0.5);  // between two numbers: none the program knows
  EXPECT_FALSE(program.popup().Loaded());
  EXPECT_EQ(rt.TrayTip(), "CPU: 5%");
  Notify(forms::WM_LBUTTONUP);
  EXPECT_TRUE(program.popup().Visible());
  program.popup().Unload();
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
  EXPECT_TRUE(program.options().Visible());
  Notify(forms::WM_LBUTTONDBLCLK);
  EXPECT_TRUE(program.info.MonitorOpenedFromTray);
  EXPECT_FALSE(program.options().Loaded());
  EXPECT_TRUE(program.display().Visible());
}

TEST_F(TrayTest, CommandsSwapOptionsAndMonitorAndBringBackAWindowAlreadyOpen) {
  Start({"ShowCPU"});
  struct Case {
    forms::MenuItem& command;
    forms::Form& window;
    forms::Form* closes;
  };
  const Case cases[] = {{menu().mnuDisplay, program.display(), &program.options()},
                        {menu().mnuOptions, program.options(), &program.display()},
                        {menu().mnuAbout, program.about(), nullptr}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.window.Name());
    c.command.NotifyClick();
    EXPECT_TRUE(c.window.Visible());
    EXPECT_FALSE(c.closes && c.closes->Loaded());
    c.window.NotifyDeactivate();
    c.window.NotifyWindowState(forms::vbMinimized);
    const int raised = rt.ChangeCount(&c.window, forms::Prop::Raise);
    c.command.NotifyClick();  // the same command again: the window comes back in front
    EXPECT_EQ(rt.ChangeCount(&c.window, forms::Prop::Raise), raised + 1);
    EXPECT_EQ(c.window.WindowState(), forms::vbNormal);
  }
  EXPECT_FALSE(program.info.MonitorOpenedFromTray);
}

TEST_F(TrayTest, TheSplashCommandSavesTheChoiceAndTicksTheOpenOptionsDialog) {
  Start({"ShowCPU"});
  menu().mnuOptions.NotifyClick();
  for (const char* expected : {"1", "0"}) {
    menu().mnuSplash.NotifyClick();
    EXPECT_EQ(fp.settings.values["ShowSplash"], expected);
    EXPECT_EQ(menu().mnuSplash.Checked(), *expected == '1');
    EXPECT_EQ(program.options().Check0[3].Value(), *expected == '1' ? 1 : 0);
  }
}

TEST(TipTest, TheFiguresOfTheSelectedStatistics) {
  struct Case {
    std::vector<std::string> on;
    bool windows98;
    int32_t cpu;
    MEMORYSTATUS memory;
    SYSTEM_POWER_STATUS power;
    const char* tip;
  };
  const MEMORYSTATUS mem63{32, 0, 1000, 370, 0, 0, 0, 0}, full{32, 0, 1000, 0, 0, 0, 0, 0};
  const Case cases[] = {
      {{"ShowBattery"}, false, 5, mem63, {1, 1, 100, 0, 0, 0}, "Battery: 100%"},
      {{"ShowBattery"}, false, 5, mem63, {0, 1, 57, 0, 0, 0}, "Battery(unplugged): 57%"},
      {{"ShowBattery"}, false, 5, mem63, {1, 8, 40, 0, 0, 0}, "Battery(charging): 40%"},
      {{"ShowBattery"}, false, 5, mem63, {1, 2, 100, 0, 0, 0}, "Battery: 100%"},
      {{"ShowBattery"}, false, 5, mem63, {255, 255, 255, 0, 0, 0}, "Battery(charging): ?"},
      {{"ShowCPU", "ShowBattery"}, false, 5, mem63, {1, 0, 1, 0, 0, 0}, "CPU: 5%, Battery: 1%"},
      {{"ShowCPU", "ShowBattery"}, false, 5, mem63, {1, 128, 255, 0, 0, 0}, "CPU: 5%"},
      {{"ShowCPU", "ShowPhysMem", "ShowVirtMem", "ShowSysRsrc", "ShowGDIRsrc", "ShowBattery"},
       true,
       5,
       mem63,
       {0, 1, 90, 0, 0, 0},
       "CPU: 5%, Memory: 63%, Resources: 81%, Battery(unplugged): 90%"},
      {{"ShowCPU", "ShowPhysMem", "ShowSysRsrc", "ShowBattery"},
       true,
       100,
       full,
       {0, 1, 100, 0, 0, 0},
       "CPU: 100%, Memory: 100%, Resources: 81%, Battery(unplugged): 10"},  // 65 cut to 63
      {{"ShowPhysMem", "ShowSysRsrc"}, false, 5, {32, 0, 200, 103, 0, 0, 0, 0}, {}, "Memory: 48%"},
      {{"ShowCPU", "ShowPhysMem"}, false, -1, {}, {}, "CPU: 0%"},
      {{"ShowDdrive"}, false, 5, mem63, {}, ""},
      {{}, false, 5, mem63, {}, "Sysvane Monitor"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tip);
    fake::FakeProgram fp;
    fp.kernel.SetFixedDrives({{"c:\\", {100, 40}}, {"d:\\", {100, 40}}});
    if (c.windows98) fp.kernel.version = OSVERSIONINFO{148, 4, 10, 2222, VER_PLATFORM_WIN32_WINDOWS, ""};
    fp.kernel.memory = c.memory;
    fp.kernel.power = c.power;
    fp.resources.free[0] = 81;
    fp.Set("Defined", "Yes");
    fp.Set("ShowSplash", "0");
    for (const auto& key : c.on) fp.Set(key, "1");
    fp.program.menu().Load();
    fp.program.menu().CPUMeter = std::make_unique<FixedSampler>(c.cpu);
    fp.runtime.DeliverTray(forms::WM_MOUSEMOVE);
    EXPECT_EQ(fp.runtime.TrayTip(), c.tip);
  }
}

TEST_F(TrayTest, TheTipIsSentOnlyWhenItChangesAndIsFixedWhileAWindowShowsTheFigures) {
  Power(1, 1, 80);
  Start({"ShowCPU", "ShowBattery"});
  Power(1, 0, 0);  // the battery has gone since the start: a figure without a label
  for (int i = 0; i < 2; ++i) rt.DeliverTray(forms::WM_MOUSEMOVE);
  EXPECT_EQ(rt.TrayTip(), "CPU: 5%, 0%");
  EXPECT_EQ(Sent(forms::NIM_MODIFY), 1u);
  program.info.PopupShowing = true;
  menu().CPUMeter = std::make_unique<FixedSampler>(7);
  rt.DeliverTray(forms::WM_MOUSEMOVE);
  EXPECT_EQ(rt.TrayTip(), "CPU: 5%, 0%");
  program.info.PopupShowing = false;
  for (forms::MenuItem* open : {&menu().mnuOptions, &menu().mnuDisplay}) {
    open->SetChecked(true);
    rt.DeliverTray(forms::WM_MOUSEMOVE);
    EXPECT_EQ(rt.TrayTip(), "Sysvane Monitor");
    open->SetChecked(false);
    rt.DeliverTray(forms::WM_MOUSEMOVE);
    EXPECT_EQ(rt.TrayTip(), "CPU: 7%, 0%");
  }
  EXPECT_EQ(Sent(forms::NIM_MODIFY), 5u);
}

}  // namespace
}  // namespace sysvane::testing
