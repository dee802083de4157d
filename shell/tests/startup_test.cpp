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

using StartupTest = WindowTest;

TEST_F(StartupTest, WhatTheSavedSettingsOpenAndOffer) {
  struct Case {
    const char* name;
    std::vector<std::string> on;  // empty and undefined: a first run
    bool windows98, options, monitorOffered, monitorShown, battery;
  };
  const Case cases[] = {
      {"first run", {}, false, true, false, false, false},
      {"everything off, a drive key of 2", {"ShowStatsAtStartup"}, false, false, false, false, false},
      {"only drive E", {"ShowEdrive"}, false, false, true, false, false},
      {"a resource key on the NT family", {"ShowSysRsrc"}, false, false, false, false, false},
      {"a resource key on Windows 98", {"ShowGDIRsrc"}, true, false, true, false, false},
      {"monitor at start-up", {"ShowCPU", "ShowStatsAtStartup"}, false, false, true, true, false},
      {"a battery with no flags but a charge", {"ShowBattery"}, false, false, true, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fake::FakeProgram fp;
    fp.kernel.SetFixedDrives({{"c:\\", {100, 40}}, {"d:\\", {100, 40}}, {"e:\\", {100, 40}}});
    fp.kernel.power = SYSTEM_POWER_STATUS{0, 0, 57, 0, 0, 0};
    if (c.windows98) fp.kernel.version = OSVERSIONINFO{148, 4, 10, 2222, VER_PLATFORM_WIN32_WINDOWS, ""};
    if (!c.on.empty()) fp.Set("Defined", "Yes"), fp.Set("ShowSplash", "0"), fp.Set("ShowDdrive", "2");
    for (const auto& key : c.on) fp.Set(key, "1");
    Menu& menu = fp.program.menu();
    menu.Load();
    EXPECT_EQ(fp.program.options().Visible(), c.options);
    EXPECT_EQ(menu.mnuDisplay.Enabled(), c.monitorOffered);
    EXPECT_EQ(fp.program.display().Visible(), c.monitorShown);
    EXPECT_EQ(menu.HasBattery, c.battery);
    EXPECT_EQ(fp.program.info.WindowsFamily, c.windows98 ? 95 : 2000);
    EXPECT_EQ(menu.mnuSplash.Checked(), c.on.empty());
    EXPECT_EQ(fp.runtime.TrayTip(), "Sysvane Monitor");
    EXPECT_FALSE(menu.Visible());
  }
}

TEST_F(StartupTest, TheSplashHoldsTheStartUpUntilItClosesItself) {
  size_t trayCallsWhenSplashClosed = 99;
  UnloadProbe probe(program.logo(), [&] { trayCallsWhenSplashClosed = rt.trayCalls.size(); });
  menu().Load();
  EXPECT_EQ(trayCallsWhenSplashClosed, 0u);
  EXPECT_NEAR(rt.Now(), 3000, 15);
  EXPECT_EQ(rt.trayCalls.size(), 1u);
}

TEST_F(StartupTest, ASecondInstanceSaysSoAndEndsBeforeAnyIconOrWindow) {
  rt.prevInstance = true;
  menu().Load();
  ASSERT_EQ(rt.msgBoxes.size(), 1u);
  EXPECT_EQ(rt.msgBoxes[0].prompt, "Program is already running!");
  EXPECT_TRUE(rt.ended);
  EXPECT_FALSE(program.logo().Loaded() || program.options().Loaded());
  menu().Unload();
  EXPECT_TRUE(rt.trayCalls.empty());
}

TEST_F(StartupTest, ToldToEndWhileTheSplashShowsItGoesNoFurther) {
  Select({"ShowCPU", "ShowStatsAtStartup"});
  fp.Set("ShowSplash", "1");
  rt.onModal = [&](forms::Form&) { menu().CloseProgram(); };  // a termination signal, say
  menu().Load();
  EXPECT_TRUE(rt.ended);
  EXPECT_FALSE(menu().Loaded() || program.logo().Loaded() || program.display().Loaded());
  EXPECT_TRUE(rt.trayCalls.empty());
}

TEST(ClosingTest, TheIconGoesFirstThenEveryWindowInOrder) {
  const std::string icon = " (icon still there)";
  struct Case {
    const char* name;
    bool exitCommand;
    std::vector<std::string> order;
  };
  const Case cases[] = {
      {"told to end from outside",
       false,
       {"DetailDisplay", "Display", "frmAbout", "MessageBox", "Options", "Popup"}},
      {"Exit answered Yes",
       true,
       {"Options" + icon, "DetailDisplay" + icon, "Display" + icon, "frmAbout", "MessageBox", "Popup"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fake::FakeProgram fp;
    Program& program = fp.program;
    for (const char* key : {"ShowCPU", "ShowStatsAtStartup"}) fp.Set(key, "1");
    fp.Set("Defined", "Yes");
    program.menu().Load();
    std::vector<std::string> closed;
    std::vector<std::unique_ptr<UnloadProbe>> probes;
    for (forms::Form* window :
         std::vector<forms::Form*>{&program.display(), &program.detailDisplay(), &program.about(),
                                   &program.messageBox(), &program.options(), &program.popup()}) {
      window->Show();
      probes.push_back(std::make_unique<UnloadProbe>(*window, [&closed, &fp, &icon, window] {
        closed.push_back(window->Name() + (fp.runtime.trayIconShown ? icon : ""));
      }));
    }
    fp.runtime.msgBoxAnswers = {forms::vbNo, forms::vbYes};
    program.menu().mnuExit.NotifyClick();  // No: nothing closes
    EXPECT_TRUE(closed.empty());
    if (c.exitCommand) {
      program.menu().mnuExit.NotifyClick();
    } else {
      program.menu().CloseProgram();
    }
    EXPECT_EQ(closed, c.order);
    EXPECT_TRUE(fp.runtime.ended);
    EXPECT_EQ(fp.runtime.msgBoxes[0].prompt,
              "   Are you sure you wish to exit the\r\nSysvane Monitor program?");
  }
}

}  // namespace
}  // namespace sysvane::testing
