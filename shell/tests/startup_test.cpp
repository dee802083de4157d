// The start-up sequence of the tray controller, and the closing sequence whatever ends the program.
#include "dialogs/about.h"
#include "dialogs/message_box.h"
#include "monitor/detail_display.h"
#include "monitor/display.h"
#include "monitor/popup.h"
#include "options/options_dialog.h"
#include "shell/logo.h"
#include "tests/support/window_test.h"

namespace sysvane::testing {
namespace {

TEST(StartupTest, WhatTheSettingsOpenAndOffer) {
  struct Case {
    const char *on, *state;  // on: nullptr for a first run
    bool windows98 = false;
  };
  for (const Case& c : {Case{nullptr, "splash options"}, Case{"StatsAtStartup", ""},
                        Case{"Edrive", "offered"}, Case{"SysRsrc", ""}, Case{"GDIRsrc", "offered 95", true},
                        Case{"CPU StatsAtStartup", "offered monitor"}, Case{"Battery", "offered battery"}}) {
    fake::FakeProgram fp;
    fp.kernel.SetFixedDrives({{"c:\\", {100, 40}}, {"d:\\", {100, 40}}, {"e:\\", {100, 40}}});
    fp.kernel.power = SYSTEM_POWER_STATUS{0, 0, 57, 0, 0, 0};  // no flags, but a charge: a battery
    if (c.windows98) fp.kernel.version = OSVERSIONINFO{148, 4, 10, 2222, VER_PLATFORM_WIN32_WINDOWS, ""};
    if (c.on) fp.Select(c.on), fp.Set("ShowDdrive", "2");
    Menu& menu = fp.program.menu();
    menu.Load();
    std::string state =
        std::string(menu.mnuSplash.Checked() ? " splash" : "") +
        (fp.program.options().Visible() ? " options" : "") + (menu.mnuDisplay.Enabled() ? " offered" : "") +
        (fp.program.display().Visible() ? " monitor" : "") + (menu.HasBattery ? " battery" : "") +
        (fp.program.info.WindowsFamily == 95 ? " 95" : "");
    EXPECT_EQ(state, c.state[0] ? std::string(" ") + c.state : "") << (c.on ? c.on : "first run");
    EXPECT_EQ(fp.runtime.TrayTip() + (menu.Visible() ? " shown" : ""), "Sysvane Monitor");
    EXPECT_NEAR(fp.runtime.Now(), c.on ? 0 : 3000, 15) << "the splash holds the start-up three seconds";
  }
}

TEST_F(WindowTest, ASecondInstanceSaysSoAndEndsBeforeAnyIconOrWindow) {
  rt.prevInstance = true;
  menu().Load();
  EXPECT_EQ(rt.msgBoxes.at(0).prompt, "Program is already running!");
  EXPECT_TRUE(rt.ended);
  EXPECT_FALSE(program.logo().Loaded() || program.options().Loaded());
  menu().Unload();
  EXPECT_TRUE(rt.trayCalls.empty());
}

TEST_F(WindowTest, ToldToEndWhileTheSplashShowsTheStartUpGoesNoFurther) {
  fp.Select("CPU StatsAtStartup");
  fp.Set("ShowSplash", "1");
  rt.onModal = [&](forms::Form&) { menu().CloseProgram(); };  // a termination signal, say
  menu().Load();
  EXPECT_TRUE(rt.ended);
  EXPECT_FALSE(menu().Loaded() || program.logo().Loaded() || program.display().Loaded());
  EXPECT_TRUE(rt.trayCalls.empty());
}

TEST(ClosingTest, TheIconGoesFirstThenEveryWindowInOrder) {
  const std::string early = "DetailDisplay Display frmAbout MessageBox Options Popup";
  for (const auto& [exitCommand, order] :
       {std::pair{false, early}, {true, "Options+ DetailDisplay+ Display+ frmAbout MessageBox Popup"}}) {
    fake::FakeProgram fp;
    Program& program = fp.program;
    fp.Select("CPU StatsAtStartup");
    program.menu().Load();
    std::string closed;
    std::vector<std::unique_ptr<UnloadProbe>> probes;
    for (forms::Form* window :
         std::vector<forms::Form*>{&program.display(), &program.detailDisplay(), &program.about(),
                                   &program.messageBox(), &program.options(), &program.popup()}) {
      window->Show();
      probes.push_back(std::make_unique<UnloadProbe>(*window, [&closed, &fp, window] {
        closed += (closed.empty() ? "" : " ") + window->Name() + (fp.runtime.trayIconShown ? "+" : "");
      }));
    }
    fp.runtime.msgBoxAnswers = {forms::vbNo, forms::vbYes};
    program.menu().mnuExit.NotifyClick();  // No: nothing closes
    EXPECT_EQ(fp.runtime.msgBoxes[0].prompt,
              "   Are you sure you wish to exit the\r\nSysvane Monitor program?");
    EXPECT_EQ(closed, "");
    exitCommand ? program.menu().mnuExit.NotifyClick() : program.menu().CloseProgram();
    EXPECT_EQ(closed, order);
    EXPECT_TRUE(fp.runtime.ended);
  }
}

}  // namespace
}  // namespace sysvane::testing
