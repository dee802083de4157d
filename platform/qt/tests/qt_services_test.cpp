// The runtime's services on a real Qt: the XEmbed tray icon (tip, click timing) and the choice of
// platform plugin. (The single-instance lock is tried by the fault tests.)
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

// The owner of the icon: it records the message numbers it is sent.
class TrayOwner : public forms::Form {
 public:
  using Form::Form;
  std::vector<int> messages;

 protected:
  void Form_MouseMove(int, int, forms::Twips x, forms::Twips) override { messages.push_back(int(x / 15)); }
};

// A panel that starts after the program: the icon waits for it, keeping what it was told meanwhile.
// A panel sets up its XEmbed tray and its D-Bus host a moment apart: an XEmbed tray that was not
// there at once is taken only once it has been there a whole look.
TEST(LateTrayTest, TheIconIsMadeOnceATrayIsThereWithTheTipOfThatMoment) {
  struct Row {
    std::vector<bool> looks;  // an XEmbed tray at each look, the first at NIM_ADD
    size_t madeAt;            // the look after which the icon is made
  };
  for (const Row& row :
       {Row{{true}, 1}, Row{{false, true, true}, 3}, Row{{false, true, false, true, true}, 5}}) {
    SCOPED_TRACE(row.looks.size());
    QtRuntime runtime;
    TrayOwner owner{runtime, "Menu"};
    owner.Load();
    size_t looked = 0;
    runtime.Tray().LookForXEmbedWith(
        [&] { return bool(row.looks[std::min(looked++, row.looks.size() - 1)]); });
    forms::NOTIFYICONDATA data;
    data.hWnd = &owner;
    ASSERT_TRUE(runtime.ShellNotifyIcon(forms::NIM_ADD, data));
    std::snprintf(data.szTip.data(), data.szTip.size(), "CPU usage: 12%%");
    EXPECT_TRUE(runtime.ShellNotifyIcon(forms::NIM_MODIFY, data)) << "the icon is added, only not shown yet";
    RunEvents(4000, [&] { return runtime.Tray().Shown(); });
    ASSERT_TRUE(runtime.Tray().Shown());
    EXPECT_EQ(looked, row.madeAt);
    EXPECT_EQ(runtime.Tray().ToolTip(), QStringLiteral("CPU usage: 12%"));
    EXPECT_TRUE(runtime.ShellNotifyIcon(forms::NIM_DELETE, data));
    EXPECT_FALSE(runtime.ShellNotifyIcon(forms::NIM_DELETE, data)) << "removed once";
    owner.Unload();
    RunDeferredDeletes();
  }
}

TEST(TrayTest, ClicksBecomeTheMessagesOfAnXEmbedTrayWhicheverTrayReportsThem) {
  QtRuntime runtime;
  TrayOwner owner{runtime, "Menu"};
  owner.Load();
  forms::NOTIFYICONDATA data;
  data.hWnd = &owner;
  runtime.Tray().LookForXEmbedWith([] { return true; });
  ASSERT_TRUE(runtime.ShellNotifyIcon(forms::NIM_ADD, data));
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
  runtime.ShellNotifyIcon(forms::NIM_DELETE, data);
  owner.Unload();
  RunDeferredDeletes();
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
