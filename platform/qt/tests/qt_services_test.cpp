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

using OwnedIcon = testing::OwnedIcon<TrayOwner>;
struct TrayTest : ::testing::Test, OwnedIcon {};

TEST_F(TrayTest, ClicksBecomeTheMessagesOfAnXEmbedTrayWhicheverTrayReportsThem) {
  runtime.Tray().LookForXEmbedWith([] { return true; });
  ASSERT_TRUE(runtime.ShellNotifyIcon(forms::NIM_ADD, data));
  using R = QSystemTrayIcon::ActivationReason;
  const int interval = QGuiApplication::styleHints()->mouseDoubleClickInterval();
  // What the tray reports, each a reason and then a pause in ms; the messages the owner gets.
  const std::tuple<const char*, std::vector<std::pair<R, int>>, std::vector<int>> rows[] = {
      {"a double-click without its click", {{R::DoubleClick, 0}}, {514, 515}},
      {"XEmbed double-click", {{R::Trigger, 0}, {R::DoubleClick, 0}}, {514, 515}},
      {"D-Bus double-click", {{R::Trigger, 0}, {R::Trigger, 0}}, {514, 515}},
      {"two D-Bus clicks apart", {{R::Trigger, interval + 100}, {R::Trigger, 0}}, {514, 514}},
      {"right button", {{R::Context, 0}}, {517}},
  };
  for (const auto& [what, clicks, messages] : rows) {
    SCOPED_TRACE(what);
    owner.messages.clear();
    for (auto [reason, pause] : clicks) {
      runtime.Tray().Activated(reason);
      std::this_thread::sleep_for(std::chrono::milliseconds(pause));
    }
    RunEvents(2000, [&, &messages = messages] { return owner.messages.size() >= messages.size(); });
    EXPECT_EQ(owner.messages, messages);
    std::this_thread::sleep_for(std::chrono::milliseconds(interval + 50));
  }
  runtime.ShellNotifyIcon(forms::NIM_DELETE, data);
}

TEST(QtPlatformChoice, AWaylandSessionRunsOnXWaylandWheneverItCan) {
  // Chosen by the user, Wayland session, X server answers, Wayland plugin; then the platform, a
  // note said, and whether the program can run (nothing to run on is said, not aborted).
  const std::pair<SessionFacts, std::tuple<std::string, bool, bool>> rows[] = {
      {{false, false, true, true}, {"", false, true}},        // X11 session: Qt's choice
      {{true, true, true, true}, {"", false, true}},          // the user's choice stands
      {{false, true, true, true}, {"xcb", false, true}},      // XWayland
      {{false, true, false, true}, {"wayland", true, true}},  // native, placement up to the compositor
      {{false, true, false, false}, {"", true, false}}};
  for (const auto& [facts, expected] : rows) {
    const PlatformChoice choice = ChoosePlatform(facts);
    EXPECT_EQ(std::tuple(choice.platform, !choice.note.empty(), choice.canRun), expected) << choice.note;
  }
}

}  // namespace
}  // namespace sysvane::qt
