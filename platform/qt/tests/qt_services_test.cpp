// The runtime's services on a real Qt: the tray icon (tip, click timing, the menu a D-Bus host
// shows) and the choice of platform plugin. (The single-instance lock is tried by the fault tests.)
#include <gtest/gtest.h>

#include <QApplication>
#include <QStyleHints>
#include <thread>

#include "platform/qt/qt_platform_choice.h"
#include "platform/qt/qt_runtime.h"
#include "platform/qt/qt_tray.h"
#include "platform/qt/tests/qt_test_support.h"

namespace sysvane::qt {
namespace {

using testing::RunDeferredDeletes;
using testing::RunEvents;

// The owner of the icon: it records the message numbers it is sent (the hover, 512, only counted), and
// may pop its menu up on 517.
class TrayOwner : public forms::Form {
 public:
  using Form::Form;
  forms::MenuItem splash{"mnuSplash", "Show Splash Screen?"}, line{"Separator", "-"},
      monitor{"mnuDisplay", "Monitor"};
  forms::MenuList menu{"MenuTray", {&splash, &line, &monitor}};
  std::vector<int> messages;
  int hovers = 0;
  bool popsMenu = false;

 protected:
  void Form_MouseMove(int, int, forms::Twips x, forms::Twips) override {
    if (int(x / 15) == 512) {
      ++hovers;
      return;
    }
    messages.push_back(int(x / 15));
    if (messages.back() == 517 && popsMenu) PopupMenu(menu);
  }
};

struct TrayTest : ::testing::Test {
  void SetUp() override {
    owner.Load();
    data.hWnd = &owner;
    data.menu = &owner.menu;
    std::snprintf(data.szTip.data(), data.szTip.size(), "Sysvane Monitor");
    runtime.Tray().LookForHostWith([] { return TrayService::Host::XEmbed; });
    ASSERT_TRUE(runtime.ShellNotifyIcon(forms::NIM_ADD, data));
  }
  void TearDown() override {
    runtime.ShellNotifyIcon(forms::NIM_DELETE, data);
    owner.Unload();
    RunDeferredDeletes();
  }
  QtRuntime runtime;
  TrayOwner owner{runtime, "Menu"};
  forms::NOTIFYICONDATA data;
};

// A panel that starts after the program: the icon waits for it, keeping what it was told meanwhile.
// A panel sets up its XEmbed tray and its D-Bus host a moment apart: XEmbed alone is taken only
// once it has been there a whole look.
TEST(LateTrayTest, TheIconIsMadeOnceATrayIsThereWithTheTipAndMenuOfThatMoment) {
  using H = TrayService::Host;
  struct Row {
    std::vector<H> looks;  // the host found at each look, the first at NIM_ADD
    size_t madeAt;         // the look after which the icon is made
  };
  for (const Row& row : {Row{{H::XEmbed}, 1}, Row{{H::None, H::None, H::DBus}, 3},
                         Row{{H::None, H::XEmbed, H::DBus}, 3}, Row{{H::None, H::XEmbed, H::XEmbed}, 3}}) {
    SCOPED_TRACE(row.looks.size());
    QtRuntime runtime;
    TrayOwner owner{runtime, "Menu"};
    owner.Load();
    size_t looked = 0;
    runtime.Tray().LookForHostWith([&] { return row.looks[std::min(looked++, row.looks.size() - 1)]; });
    forms::NOTIFYICONDATA data;
    data.hWnd = &owner;
    data.menu = &owner.menu;
    ASSERT_TRUE(runtime.ShellNotifyIcon(forms::NIM_ADD, data));
    std::snprintf(data.szTip.data(), data.szTip.size(), "CPU usage: 12%%");
    EXPECT_TRUE(runtime.ShellNotifyIcon(forms::NIM_MODIFY, data)) << "the icon is added, only not shown yet";
    RunEvents(3000, [&] { return runtime.Tray().Shown(); });
    ASSERT_TRUE(runtime.Tray().Shown());
    EXPECT_EQ(looked, row.madeAt);
    EXPECT_EQ(runtime.Tray().ToolTip(), QStringLiteral("CPU usage: 12%"));
    ASSERT_NE(runtime.Tray().HostMenu(), nullptr);
    EXPECT_EQ(runtime.Tray().HostMenu()->actions().size(), 3);
    EXPECT_TRUE(runtime.ShellNotifyIcon(forms::NIM_DELETE, data));
    EXPECT_FALSE(runtime.ShellNotifyIcon(forms::NIM_DELETE, data)) << "removed once";
    owner.Unload();
    RunDeferredDeletes();
  }
}

// Whether a tray is there stays the service's own look once the icon is made, never Qt's answer
// (this platform's Qt sees none): asked directly, and every 2 seconds where the tray does not tell
// the icon's place (this platform's), whose tip is kept live by a 512.
TEST_F(TrayTest, WhetherATrayIsThereIsTheServicesOwnLookAlsoOnceTheIconIsMade) {
  ASSERT_TRUE(runtime.Tray().Shown());
  EXPECT_TRUE(runtime.SystemTrayAvailable());
  ASSERT_TRUE(runtime.Tray().Geometry().isEmpty());
  RunEvents(3000, [&] { return owner.hovers > 0; });
  EXPECT_GT(owner.hovers, 0);
}

TEST_F(TrayTest, ClicksBecomeTheMessagesOfAnXEmbedTrayWhicheverTrayReportsThem) {
  using R = QSystemTrayIcon::ActivationReason;
  const int interval = QGuiApplication::styleHints()->mouseDoubleClickInterval();
  struct Row {
    const char* what;
    std::vector<std::pair<R, int>> clicks;  // reason, then a pause in ms
    std::vector<int> messages;
  };
  const Row rows[] = {
      {"a double-click without its click", {{R::DoubleClick, 0}}, {514, 515}},
      {"XEmbed double-click", {{R::Trigger, 0}, {R::DoubleClick, 0}}, {514, 515}},
      {"D-Bus double-click", {{R::Trigger, 0}, {R::Trigger, 0}}, {514, 515}},
      {"two D-Bus clicks apart", {{R::Trigger, interval + 100}, {R::Trigger, 0}}, {514, 514}},
      {"right button", {{R::Context, 0}}, {517}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    owner.messages.clear();
    for (auto [reason, pause] : row.clicks) {
      runtime.Tray().Activated(reason);
      std::this_thread::sleep_for(std::chrono::milliseconds(pause));
    }
    RunEvents(2000, [&] { return owner.messages.size() >= row.messages.size(); });
    EXPECT_EQ(owner.messages, row.messages);
    std::this_thread::sleep_for(std::chrono::milliseconds(interval + 50));
  }
  data.szTip.fill('x');
  runtime.ShellNotifyIcon(forms::NIM_MODIFY, data);
  EXPECT_EQ(runtime.Tray().ToolTip(), QString(63, 'x')) << "a full tip field shows 63 characters";
}

TEST_F(TrayTest, TheHostsMenuMirrorsTheOwnersAndItsOpeningIsTheRightClick) {
  QMenu* host = runtime.Tray().HostMenu();
  ASSERT_NE(host, nullptr);
  auto shown = [&] {
    std::vector<std::string> items;
    for (QAction* a : host->actions())
      items.push_back(a->isSeparator() ? "-"
                                       : a->text().toStdString() + (a->isChecked() ? " [x]" : "") +
                                             (a->isEnabled() ? "" : " (off)"));
    return items;
  };
  owner.monitor.SetEnabled(false);
  EXPECT_EQ(shown(), (std::vector<std::string>{"Show Splash Screen?", "-", "Monitor (off)"}));
  owner.splash.SetChecked(true);
  owner.monitor.SetEnabled(true);
  EXPECT_EQ(shown(), (std::vector<std::string>{"Show Splash Screen? [x]", "-", "Monitor"})) << "kept in step";

  bool popped = false;
  owner.popsMenu = true;
  QTimer::singleShot(300, [&] {
    if (QWidget* popup = QApplication::activePopupWidget()) popped = popup->close();
  });
  emit host->aboutToShow();
  EXPECT_EQ(owner.messages, std::vector<int>{517}) << "at once, before the host shows the menu";
  RunEvents(400);
  EXPECT_FALSE(popped) << "the owner's own popup gives way to the host's menu";

  int clicks = 0;
  owner.monitor.Click = [&] { ++clicks; };
  host->actions()[2]->trigger();
  RunEvents(1000, [&] { return clicks > 0; });
  EXPECT_EQ(clicks, 1);
}

TEST(QtPlatformChoice, AWaylandSessionRunsOnXWaylandWheneverItCan) {
  struct Row {
    SessionFacts facts;  // chosen by the user, Wayland session, X server answers, Wayland plugin
    const char* platform;
    bool says, runs;
  };
  const Row rows[] = {
      {{false, false, true, true}, "", false, true},        // X11 session: Qt's choice
      {{true, true, true, true}, "", false, true},          // the user's choice stands
      {{false, true, true, true}, "xcb", false, true},      // XWayland
      {{false, true, false, true}, "wayland", true, true},  // native, placement up to the compositor
      {{false, true, false, false}, "", true, false},       // nothing to run on: said, not aborted
  };
  for (const Row& row : rows) {
    const PlatformChoice choice = ChoosePlatform(row.facts);
    EXPECT_EQ(choice.platform, row.platform);
    EXPECT_EQ(!choice.note.empty(), row.says) << choice.note;
    EXPECT_EQ(choice.canRun, row.runs);
  }
}

}  // namespace
}  // namespace sysvane::qt
