// What the tray icon's notifications do: the roll-up window, the Monitor window, the menu.
#include "dialogs/about.h"
#include "monitor/display.h"
#include "monitor/popup.h"
#include "options/options_dialog.h"
#include "shell/tests/shell_test_support.h"

namespace sysvane::testing {
namespace {

class TrayNotificationTest : public ShellTest {
 protected:
  void SetUp() override {
    Saved({"ShowCPU"});
    Start();
    SetCpu(5);
  }
};

TEST_F(TrayNotificationTest, LeftReleaseOpensTheRollUpWindowUnlessItShows) {
  rt.DeliverTray(forms::WM_LBUTTONUP);
  EXPECT_TRUE(program.popup().Visible());

  program.popup().Unload();
  program.info.PopupShowing = true;
  rt.DeliverTray(forms::WM_LBUTTONUP);
  EXPECT_FALSE(program.popup().Loaded());
}

TEST_F(TrayNotificationTest, DoubleClickSwapsOptionsForTheMonitor) {
  menu().mnuOptions.NotifyClick();
  ASSERT_TRUE(program.options().Visible());
  for (uint32_t message : {forms::WM_LBUTTONDOWN, forms::WM_LBUTTONUP, forms::WM_LBUTTONDBLCLK})
    rt.DeliverTray(message);
  EXPECT_TRUE(program.info.MonitorOpenedFromTray);
  EXPECT_FALSE(program.options().Loaded());
  EXPECT_TRUE(program.display().Visible());
}

TEST_F(TrayNotificationTest, RightReleaseClosesTheRollUpThenPopsTheMenu) {
  rt.DeliverTray(forms::WM_LBUTTONUP);
  ASSERT_TRUE(program.popup().Loaded());
  bool popupLoadedAtMenu = true;
  size_t foregroundCallsAtMenu = 0;
  rt.onPopupMenu = [&](forms::MenuList& list) {
    popupLoadedAtMenu = program.popup().Loaded();
    foregroundCallsAtMenu = rt.foregroundWindows.size();
    EXPECT_EQ(list.items.size(), 7u);
  };
  rt.DeliverTray(forms::WM_RBUTTONUP);
  EXPECT_FALSE(popupLoadedAtMenu);
  EXPECT_EQ(foregroundCallsAtMenu, 1u);
  EXPECT_EQ(rt.foregroundWindows, std::vector<std::string>{"Menu"});
  EXPECT_EQ(rt.poppedMenus, std::vector<std::string>{"MenuTray"});
}

TEST_F(TrayNotificationTest, ItemsPickedFromThePoppedMenuRunTheirCommands) {
  std::string pick = "mnuAbout";
  rt.onPopupMenu = [&](forms::MenuList& list) {
    for (forms::MenuItem* item : list.items)
      if (item->Name() == pick) item->NotifyClick();
  };
  rt.DeliverTray(forms::WM_RBUTTONUP);
  EXPECT_TRUE(program.about().Visible());
  pick = "mnuDisplay";
  rt.DeliverTray(forms::WM_RBUTTONUP);
  EXPECT_TRUE(program.display().Visible());
}

TEST_F(TrayNotificationTest, OtherMessagesRefreshTheTip) {
  for (uint32_t message : {forms::WM_MOUSEMOVE, forms::WM_LBUTTONDOWN, forms::WM_RBUTTONDOWN}) {
    rt.trayCalls.clear();
    SetCpu(int32_t(message % 100));
    rt.DeliverTray(message);
    EXPECT_EQ(rt.TrayTip(), "CPU: " + std::to_string(message % 100) + "%") << message;
  }
  EXPECT_FALSE(program.popup().Loaded());
  EXPECT_FALSE(program.display().Loaded());
  EXPECT_TRUE(rt.poppedMenus.empty());
}

TEST_F(TrayNotificationTest, MessageNumberIsComparedExactlyAtTheScreensResolution) {
  // A coordinate between two pixels is no notification the program knows: a tip refresh.
  menu().NotifyMouseMove(0, 0, forms::WM_LBUTTONUP * 15 + 7, 0);
  EXPECT_FALSE(program.popup().Loaded());
  EXPECT_EQ(rt.TrayTip(), "CPU: 5%");

  rt.screen.TwipsPerPixelX = 12;
  menu().NotifyMouseMove(0, 0, forms::WM_LBUTTONUP * 15, 0);  // 642.5 at 12 twips per pixel
  EXPECT_FALSE(program.popup().Loaded());
  rt.DeliverTray(forms::WM_LBUTTONUP);
  EXPECT_TRUE(program.popup().Loaded());
}

}  // namespace
}  // namespace sysvane::testing
