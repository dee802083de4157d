// The runtime's services on a real Qt: the settings file's text, the XEmbed tray icon (click timing)
// and the choice of platform plugin. (The settings file itself and the single-instance lock are
// tried on the real file system by the fault tests.)
#include <gtest/gtest.h>

#include <QApplication>
#include <QStyleHints>
#include <thread>

#include "platform/qt/ini_text.h"
#include "platform/qt/qt_platform_choice.h"
#include "platform/qt/qt_runtime.h"
#include "platform/qt/qt_tray.h"
#include "platform/qt/tests/qt_test_support.h"

namespace sysvane::qt {
namespace {

using testing::RunEvents;

// A value is written so that it reads back byte for byte: as it is when it can, else quoted with
// escapes; and what a person wrote reads as meant, or as it stands when it is no escape.
TEST(IniTextTest, ValuesReadBackByteForByteAndAsAPersonWroteThem) {
  // clang-format off
  const std::pair<std::string, std::string> written[] = {
      {"", ""}, {"a b", "a b"}, {"C:\\x", "C:\\x"}, {"\"q", "\"\\\"q\""}, {" a", "\" a\""},
      {"a\t", "\"a\\t\""},
      {std::string("\\\n\r\0", 4), "\"\\\\\\n\\r\\0\""}, {"\x01\x1f\x7f~", "\"\\x01\\x1f\\x7f~\""}};
  // clang-format on
  for (const auto& [value, text] : written)
    EXPECT_EQ(std::pair(EncodeIniValue(value), DecodeIniValue(text)), std::pair(text, value));
  // clang-format off
  const std::pair<std::string, std::string> read[] = {
      {"\"\\x09\\xaF\\xA0\\xf9\"", "\x09\xaf\xa0\xf9"}, {"\"\\xG1\\x1\"", "\\xG1\\x1"}, {"\"\\q\"", "\\q"},
      {"\"a\" \"b\"", "\"a\" \"b\""}, {"\"open", "\"open"}, {"\"a\\\"", "\"a\\\""}, {"\"", "\""}};
  // clang-format on
  for (const auto& [text, value] : read) EXPECT_EQ(DecodeIniValue(text), value) << text;
}

// A key is read from the last of its lines in any header of its section, and a change rewrites
// that line alone (its CR kept), or adds one at the end of the section, or a new section.
TEST(IniTextTest, AChangeRewritesItsOwnLineAlone) {
  const IniText file("\xEF\xBB\xBF[S]\r\nk = 1 \r\n;k=c\n[T]\nk=t\n[ S ]\nk=2\nstray\n[U\nk=u\n");
  EXPECT_EQ(std::tuple(file.Get("S", "k"), file.Get("T", "k"), file.Get("U", "k"), file.Get("S", "j")),
            std::tuple("2", "t", "u", std::nullopt));
  // The text, section, key and value; the text then, or "refused" when no line can hold the name.
  const std::tuple<std::string, std::string, std::string, std::string, std::string> rows[] = {
      {"[S]\r\nk=1\r\n;c\n", "S", "k", "2", "[S]\r\nk=2\r\n;c\n"},
      {"[S]\nk=1\n\n[T]\n", "S", "j", "x", "[S]\nk=1\nj=x\n\n[T]\n"},
      {"[S]\nk=1", "S", "j", "x", "[S]\nk=1\nj=x\n"},
      {"", "S", "k", " v", "[S]\nk=\" v\"\n"},
      {"a=1", "S", "k", "v", "a=1\n\n[S]\nk=v\n"},
      {"a=1\n", "S", "k", "v", "a=1\n\n[S]\nk=v\n"},
      // clang-format off
      {"", "S", "k=", "v", "refused"}, {"", "S ", "k", "v", "refused"}, {"", "S", ";k", "v", "refused"},
      {"", "[S", "k", "v", "refused"}, {"", "S", "", "v", "refused"}, {"", "S", "\tk", "v", "refused"}};
  // clang-format on
  for (const auto& [text, section, key, value, after] : rows) {
    IniText ini(text);
    EXPECT_EQ(ini.Set(section, key, value) ? ini.Text() : "refused", after) << text << key;
  }
}

// The owner of the icon: it records the message numbers it is sent.
class TrayOwner : public forms::Form {
 public:
  using Form::Form;
  std::vector<int> messages;

 protected:
  void Form_MouseMove(int, int, forms::Twips x, forms::Twips) override { messages.push_back(int(x / 15)); }
};

struct TrayTest : ::testing::Test, testing::OwnedIcon<TrayOwner> {};

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
