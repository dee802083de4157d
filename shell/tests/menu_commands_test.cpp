// The tray menu's commands, the Exit confirmation and the closing order.
#include "dialogs/about.h"
#include "dialogs/message_box.h"
#include "monitor/detail_display.h"
#include "monitor/display.h"
#include "monitor/popup.h"
#include "options/options_dialog.h"
#include "shell/tests/shell_test_support.h"

namespace sysvane::testing {
namespace {

class MenuCommandTest : public ShellTest {
 protected:
  void SetUp() override {
    Saved({"ShowCPU"});
    fp.Set("ShowSplash", "1");
    rt.onModal = [](forms::Form& form) { form.Unload(); };
    Start();
  }
  std::vector<std::pair<std::string, std::string>> SplashWrites() const {
    std::vector<std::pair<std::string, std::string>> writes;
    for (const auto& w : fp.settings.writes)
      if (w.first == "ShowSplash") writes.push_back(w);
    return writes;
  }
};

TEST_F(MenuCommandTest, SplashToggleIsSaved) {
  ASSERT_TRUE(menu().mnuSplash.Checked());
  menu().mnuSplash.NotifyClick();
  EXPECT_FALSE(menu().mnuSplash.Checked());
  EXPECT_EQ(fp.settings.values["ShowSplash"], "0");
  menu().mnuSplash.NotifyClick();
  EXPECT_TRUE(menu().mnuSplash.Checked());
  EXPECT_EQ(fp.settings.values["ShowSplash"], "1");
  EXPECT_EQ(SplashWrites().size(), 2u);
}

TEST_F(MenuCommandTest, SplashToggleShowsInTheOpenOptionsDialog) {
  menu().mnuOptions.NotifyClick();
  Options& options = program.options();
  menu().mnuOptions.SetChecked(true);  // what the dialog does when it loads
  options.Check0.Load(3);              // its splash box (already there once the dialog builds it)
  options.Check0[3].SetValue(1);

  menu().mnuSplash.NotifyClick();
  EXPECT_EQ(options.Check0[3].Value(), 0);
  menu().mnuSplash.NotifyClick();
  EXPECT_EQ(options.Check0[3].Value(), 1);
  EXPECT_EQ(fp.settings.values["ShowSplash"], "1");
}

TEST_F(MenuCommandTest, OptionsAndMonitorReplaceEachOther) {
  menu().mnuDisplay.NotifyClick();
  EXPECT_TRUE(program.display().Visible());
  menu().mnuOptions.NotifyClick();
  EXPECT_FALSE(program.display().Loaded());
  EXPECT_TRUE(program.options().Visible());
  menu().mnuDisplay.NotifyClick();
  EXPECT_FALSE(program.options().Loaded());
  EXPECT_TRUE(program.display().Visible());
  EXPECT_FALSE(program.info.MonitorOpenedFromTray);
}

TEST_F(MenuCommandTest, ExitAnsweredNoLeavesEverythingOpen) {
  menu().mnuDisplay.NotifyClick();
  menu().mnuAbout.NotifyClick();
  rt.msgBoxAnswers = {forms::vbNo};
  menu().mnuExit.NotifyClick();
  ASSERT_EQ(rt.msgBoxes.size(), 1u);
  EXPECT_EQ(rt.msgBoxes[0].prompt, "   Are you sure you wish to exit the\r\nSysvane Monitor program?");
  EXPECT_EQ(rt.msgBoxes[0].style, 36);
  EXPECT_EQ(rt.msgBoxes[0].title, "Exit");
  EXPECT_FALSE(rt.ended);
  EXPECT_TRUE(rt.trayIconShown);
  EXPECT_TRUE(menu().Loaded());
  EXPECT_TRUE(program.display().Visible());
  EXPECT_TRUE(program.about().Visible());
}

TEST_F(MenuCommandTest, ExitAnsweredYesClosesEverythingThenEnds) {
  menu().mnuOptions.NotifyClick();
  menu().mnuAbout.NotifyClick();
  bool endedWhenMenuClosed = true;
  bool iconShownWhenMenuClosed = true;
  UnloadProbe probe(menu(), [&] {
    endedWhenMenuClosed = rt.ended;
    iconShownWhenMenuClosed = rt.trayIconShown;
  });
  rt.msgBoxAnswers = {forms::vbYes};
  menu().mnuExit.NotifyClick();
  EXPECT_FALSE(iconShownWhenMenuClosed);
  EXPECT_FALSE(endedWhenMenuClosed);
  EXPECT_TRUE(rt.ended);
  EXPECT_FALSE(rt.trayIconShown);
  EXPECT_EQ(TrayCallCount(forms::NIM_DELETE), 1u);
  EXPECT_FALSE(menu().Loaded());
  EXPECT_FALSE(program.options().Loaded());
  EXPECT_FALSE(program.about().Loaded());
}

TEST_F(MenuCommandTest, ClosingRemovesTheIconFirstThenWindowsInOrder) {
  std::vector<std::string> closed;
  auto note = [&](const std::string& name) {
    return
        [&closed, name, this] { closed.push_back(rt.trayIconShown ? name + " (icon still there)" : name); };
  };
  // In an order in which no window closes another on its way up.
  program.display().Show();
  program.detailDisplay().Show();
  program.about().Show();
  program.messageBox().Show();
  program.options().Show();
  program.popup().Show();
  UnloadProbe p1(program.popup(), note("Popup"));
  UnloadProbe p2(program.options(), note("Options"));
  UnloadProbe p3(program.messageBox(), note("MessageBox"));
  UnloadProbe p4(program.about(), note("frmAbout"));
  UnloadProbe p5(program.display(), note("Display"));
  UnloadProbe p6(program.detailDisplay(), note("DetailDisplay"));

  menu().Unload();  // closed for any reason, say at shutdown
  EXPECT_EQ(closed, (std::vector<std::string>{"DetailDisplay", "Display", "frmAbout", "MessageBox", "Options",
                                              "Popup"}));
  EXPECT_FALSE(rt.ended);
}

}  // namespace
}  // namespace sysvane::testing
