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
  program.info.PopupShowing = true;  // the roll-up shows the figures: the tip is left alone
  menu().CPUMeter = std::make_unique<FixedSampler>(7);
  notify(forms::WM_LBUTTONUP + 0.5);
  notify(forms::WM_LBUTTONUP);
  EXPECT_EQ(rt.TrayTip() + std::to_string(program.popup().Loaded()), "CPU: 5%0");
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
    command->NotifyClick();       // again: the window comes back in front
    notify(forms::WM_MOUSEMOVE);  // a window that shows the figures is open: the fixed tip
    EXPECT_EQ(std::tuple(window->Visible(), closes && closes->Loaded(),
                         rt.ChangeCount(window, forms::Prop::Raise), window->WindowState(), rt.TrayTip()),
              std::tuple(true, false, 1, forms::vbNormal, std::string("Sysvane Monitor")))
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
  auto& cpu = static_cast<FixedSampler&>(*(menu().CPUMeter = std::make_unique<FixedSampler>(3)));
  auto apply = [&](int option) {  // "Tray icon shows:" chosen and applied
    program.options().Show();
    program.options().Option1[option].NotifyClick();
    program.options().applyButton.NotifyClick();
  };
  // What happens; then the tray calls, a new picture, the icon's own timer running, the label.
  const std::tuple<const char*, std::function<void()>, size_t, bool, bool, const char*> steps[] = {
      {"3 %", [&] { rt.Advance(900); }, 1, true, true, "3%"},
      {"3 % again", [&] { rt.Advance(900); }, 0, false, true, "3%"},
      {"99 %", [&] { cpu.Set(99), rt.Advance(900); }, 1, true, true, "99%"},
      {"Monitor window open", [&] { program.display().Show(), cpu.Set(42), rt.Advance(900); }, 1, true, false,
       "42%"},
      {"bars applied", [&] { apply(2); }, 1, true, false, "42% 63%"},
      {"memory moved a percent", [&] { SetMemory(1000, 360), rt.Advance(900); }, 1, true, false, "42% 64%"},
      {"Monitor window closed", [&] { program.UnloadDisplay(), rt.Advance(900); }, 0, false, true, "42% 64%"},
      {"program icon applied", [&] { apply(0); }, 1, true, false, ""}};
  for (const auto& [what, act, sends, newPicture, timer, label] : steps) {
    const size_t before = rt.trayCalls.size();
    const auto picture = rt.trayCalls.back().data.liveIcon;
    act();
    const forms::NOTIFYICONDATA& sent = rt.trayCalls.back().data;
    EXPECT_EQ(std::tuple(rt.trayCalls.size() - before, sent.liveIcon != picture,
                         rt.TimerRunning(menu().IconTimer), sent.label, rt.TrayTip()),
              std::tuple(sends, newPicture, timer, std::string(label), std::string("Sysvane Monitor")))
        << what;
  }
  EXPECT_EQ(rt.trayCalls.back().data.liveIcon, nullptr);
}

TEST(TipTest, TheFiguresOfTheSelectedStatisticsSentOnlyWhenTheyChange) {
  // The statistics on, the power state, the tip; the free physical memory of 1000 (above 1000: no
  // total), the CPU figure. The free resources are Windows 95's: no row of these systems shows them.
  // clang-format off
  const std::tuple<const char*, SYSTEM_POWER_STATUS, const char*, uint64_t, int32_t> cases[] = {
      {"Battery", {0, 1, 57, 0, 0, 0}, "Battery(unplugged): 57%", 370, 5},
      {"Battery", {1, 8, 40, 0, 0, 0}, "Battery(charging): 40%", 370, 5},
      {"Battery", {1, 2, 100, 0, 0, 0}, "Battery: 100%", 370, 5}, {"", {}, "Sysvane Monitor", 370, 5},
      {"CPU Battery", {1, 128, 255, 0, 0, 0}, "CPU: 0%", 370, -1}, {"Ddrive", {}, "", 370, 5},
      {"CPU PhysMem VirtMem Battery", {0, 1, 90, 0, 0, 0}, "CPU: 5%, Memory: 63%, Battery(unplugged): 90%", 370, 5},
      {"PhysMem SysRsrc", {}, "Memory: 48%", 515, 5},  // 48.5: halves to even
      {"CPU PhysMem", {}, "CPU: 5%", 1001, 5}};
  for (const auto& [on, power, tip, availPhys, cpu] : cases) {
    // clang-format on
    fake::FakeProgram fp;
    fp.kernel.SetFixedDrives({{"c:\\", {100, 40}}, {"d:\\", {100, 40}}});
    fp.kernel.memory = MEMORYSTATUS{32, 0, availPhys > 1000 ? 0u : 1000u, availPhys, 0, 0, 0, 0};
    fp.kernel.power = power;
    fp.resources.free[0] = 81;
    fp.Select(on);
    Menu& menu = fp.program.menu();
    menu.Load();
    menu.CPUMeter = std::make_unique<FixedSampler>(cpu);
    for (int i = 0; i < 2; ++i) fp.runtime.DeliverTray(forms::WM_MOUSEMOVE);
    EXPECT_EQ(std::pair(fp.runtime.TrayTip(), fp.runtime.trayCalls.size()),
              std::pair(std::string(tip), std::string(tip) == "Sysvane Monitor" ? size_t(1) : 2));
  }
}

}  // namespace
}  // namespace sysvane::testing
