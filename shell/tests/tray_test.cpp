// What the tray icon's notifications and menu commands do, and the tip they keep.
#include "dialogs/about.h"
#include "monitor/display.h"
#include "monitor/popup.h"
#include "options/options_dialog.h"
#include "tests/support/window_test.h"

namespace sysvane::testing {
namespace {

TEST_F(WindowTest, NotificationsAndCommandsOpenTheirWindowsAndBringBackAWindowAlreadyOpen) {
  fp.Select("CPU");
  menu().Load();
  menu().CPUMeter = std::make_unique<FixedSampler>(5);
  auto notify = [&](double message) { menu().NotifyMouseMove(0, 0, message * rt.screen.TwipsPerPixelX, 0); };
  notify(forms::WM_LBUTTONUP + 0.5);  // between two numbers: none the program knows, a tip refresh
  EXPECT_EQ(rt.TrayTip() + std::to_string(program.popup().Loaded()), "CPU: 5%0");
  program.info.PopupShowing = true;
  notify(forms::WM_LBUTTONUP);
  EXPECT_FALSE(program.popup().Loaded());
  program.info.PopupShowing = false;
  notify(forms::WM_LBUTTONUP);
  rt.onPopupMenu = [&](forms::MenuList& list) {
    EXPECT_FALSE(program.popup().Loaded()) << "the roll-up closes before the menu opens";
    EXPECT_EQ(rt.foregroundWindows, std::vector<std::string>{"Menu"});
    list.items[2]->NotifyClick();  // Options
  };
  notify(forms::WM_RBUTTONUP);
  notify(forms::WM_LBUTTONDBLCLK);
  EXPECT_TRUE(program.info.MonitorOpenedFromTray && !program.options().Loaded() &&
              program.display().Visible());
  for (auto [command, window, closes] :
       {std::tuple{&menu().mnuOptions, (forms::Form*)&program.options(), (forms::Form*)&program.display()},
        {&menu().mnuDisplay, &program.display(), &program.options()},
        {&menu().mnuAbout, &program.about(), nullptr}}) {
    command->NotifyClick();
    window->NotifyDeactivate();
    window->NotifyWindowState(forms::vbMinimized);
    command->NotifyClick();  // again: the window comes back in front
    EXPECT_EQ(std::tuple(window->Visible(), closes && closes->Loaded(),
                         rt.ChangeCount(window, forms::Prop::Raise), window->WindowState()),
              std::tuple(true, false, 1, forms::vbNormal))
        << window->Name();
  }
  for (const char* on : {"1", "0"}) {
    menu().mnuOptions.NotifyClick();
    menu().mnuSplash.NotifyClick();  // saved, and ticked in the open Options dialog
    EXPECT_EQ(fp.settings.values["ShowSplash"] + std::to_string(program.options().Check0[3].Value()),
              on + std::string(on));
  }
}

// A live icon redraws on its own timer while the Monitor window is closed and on that window's
// refresh while it is open; the tray hears only of new pixels.
TEST_F(WindowTest, TheLiveIconIsSentOnlyWhenWhatItShowsChanges) {
  fp.Select("CPU PhysMem");
  fp.Set("TrayIcon", "1");
  SetMemory(1000, 370);
  menu().Load();
  auto owned = std::make_unique<FixedSampler>(3);
  FixedSampler& cpu = *owned;
  menu().CPUMeter = std::move(owned);
  auto optionApplied = [&](int option) {
    return [this, option] {
      program.options().Show();
      program.options().Option1[option].NotifyClick();
      program.options().applyButton.NotifyClick();
    };
  };
  struct Step {
    const char* what;
    std::function<void()> act;
    size_t sends;  // tray calls
    bool newPicture, timer;
    const char* label;
  };
  const Step steps[] = {
      {"3 %", [&] { rt.Advance(900); }, 1, true, true, "3%"},
      {"3 % again", [&] { rt.Advance(900); }, 0, false, true, "3%"},
      {"only memory moved", [&] { SetMemory(1000, 100), rt.Advance(900); }, 0, false, true, "3%"},
      {"99 %", [&] { cpu.Set(99), rt.Advance(900); }, 1, true, true, "99%"},
      {"100 % looks as 99", [&] { cpu.Set(100), rt.Advance(900); }, 0, false, true, "99%"},
      {"Monitor window open", [&] { program.display().Show(), cpu.Set(42), rt.Advance(900); }, 1, true, false,
       "42%"},
      {"bars applied", optionApplied(2), 1, true, false, "42% 90%"},
      {"memory moved a percent", [&] { SetMemory(1000, 94), rt.Advance(900); }, 1, true, false, "42% 91%"},
      {"Monitor window closed", [&] { program.UnloadDisplay(), rt.Advance(900); }, 0, false, true, "42% 91%"},
      {"program icon applied", optionApplied(0), 1, true, false, ""}};
  for (const Step& step : steps) {
    const size_t before = rt.trayCalls.size();
    const auto picture = rt.trayCalls.back().data.liveIcon;
    step.act();
    const forms::NOTIFYICONDATA& sent = rt.trayCalls.back().data;
    EXPECT_EQ(std::tuple(rt.trayCalls.size() - before, sent.liveIcon != picture,
                         rt.TimerRunning(menu().IconTimer), sent.label, rt.TrayTip()),
              std::tuple(step.sends, step.newPicture, step.timer, std::string(step.label),
                         std::string("Sysvane Monitor")))
        << step.what;
  }
  EXPECT_EQ(rt.trayCalls.back().data.liveIcon, nullptr);
}

TEST(TipTest, TheFiguresOfTheSelectedStatisticsSentOnlyWhenTheyChange) {
  struct Case {
    const char* on;
    SYSTEM_POWER_STATUS power;
    const char* tip;
    uint64_t availPhys = 370;  // of 1000; above 1000: no total
    int32_t cpu = 5;
    bool windows98 = false;
  };
  // clang-format off
  for (const Case& c : {Case{"Battery", {0, 1, 57, 0, 0, 0}, "Battery(unplugged): 57%"},
       Case{"Battery", {1, 8, 40, 0, 0, 0}, "Battery(charging): 40%"}, Case{"Battery", {1, 2, 100, 0, 0, 0}, "Battery: 100%"},
       Case{"Battery", {255, 255, 255, 0, 0, 0}, "Battery(charging): ?"},
       Case{"CPU Battery", {1, 0, 1, 0, 0, 0}, "CPU: 5%, Battery: 1%"}, Case{"CPU Battery", {1, 128, 255, 0, 0, 0}, "CPU: 0%", 370, -1},
       Case{"CPU PhysMem VirtMem SysRsrc GDIRsrc Battery", {0, 1, 90, 0, 0, 0},
            "CPU: 5%, Memory: 63%, Resources: 81%, Battery(unplugged): 90%", 370, 5, true},
       Case{"CPU PhysMem SysRsrc Battery", {0, 1, 100, 0, 0, 0},
            "CPU: 100%, Memory: 100%, Resources: 81%, Battery(unplugged): 10", 0, 100, true},  // 65 cut to 63
       Case{"PhysMem SysRsrc", {}, "Memory: 48%", 515},  // 48.5: halves to even
       Case{"CPU PhysMem", {}, "CPU: 5%", 1001}, Case{"Ddrive", {}, ""}, Case{"", {}, "Sysvane Monitor"}}) {
    // clang-format on
    fake::FakeProgram fp;
    fp.kernel.SetFixedDrives({{"c:\\", {100, 40}}, {"d:\\", {100, 40}}});
    if (c.windows98) fp.kernel.version = OSVERSIONINFO{148, 4, 10, 2222, VER_PLATFORM_WIN32_WINDOWS, ""};
    fp.kernel.memory = MEMORYSTATUS{32, 0, c.availPhys > 1000 ? 0u : 1000u, c.availPhys, 0, 0, 0, 0};
    fp.kernel.power = c.power;
    fp.resources.free[0] = 81;
    fp.Select(c.on);
    Menu& menu = fp.program.menu();
    menu.Load();
    menu.CPUMeter = std::make_unique<FixedSampler>(c.cpu);
    for (int i = 0; i < 2; ++i) fp.runtime.DeliverTray(forms::WM_MOUSEMOVE);
    EXPECT_EQ(fp.runtime.TrayTip(), c.tip);
    EXPECT_EQ(fp.runtime.trayCalls.size(), std::string(c.tip) == "Sysvane Monitor" ? 1u : 2u) << c.tip;
    fp.program.info.PopupShowing = true;  // the roll-up shows the figures: the tip is left alone
    menu.CPUMeter = std::make_unique<FixedSampler>(7);
    fp.runtime.DeliverTray(forms::WM_MOUSEMOVE);
    EXPECT_EQ(fp.runtime.TrayTip(), c.tip);
    fp.program.info.PopupShowing = false;
    for (forms::MenuItem* open : {&menu.mnuOptions, &menu.mnuDisplay}) {
      open->SetChecked(true);  // the window shows the figures: the fixed tip
      fp.runtime.DeliverTray(forms::WM_MOUSEMOVE);
      EXPECT_EQ(fp.runtime.TrayTip(), "Sysvane Monitor");
      open->SetChecked(false);
    }
  }
}

}  // namespace
}  // namespace sysvane::testing
