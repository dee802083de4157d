// The icon record: its tip field, and what each call hands the shell.
#include "shell/tray_icon.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_forms.h"

namespace sysvane {
namespace {

TEST(TipField, TextThenOneNulThenSpacesCutAtSixtyFourCharacters) {
  struct Case {
    std::string tip, caption, field;
  };
  const std::string pad = std::string(64, ' ');
  const Case cases[] = {
      {"Sysvane Monitor", "Form1", "Sysvane Monitor" + std::string(1, '\0') + pad.substr(16)},
      {"", "Form1", "Form1" + std::string(1, '\0') + pad.substr(6)},
      {"", "", std::string(1, '\0') + pad.substr(1)},
      {std::string(63, 'y'), "", std::string(63, 'y') + '\0'},
      {std::string(70, 'x'), "", std::string(64, 'x')},
  };
  for (const Case& c : cases) {
    const auto field = FillTipField(c.tip, c.caption);
    EXPECT_EQ(std::string(field.data(), field.size()), c.field) << c.tip << "|" << c.caption;
  }
}

TEST(TrayIconModule, AddThenModifyKeepsTheOwnerAndIconAndOnlyAnAddedIconIsDeleted) {
  struct Owner : forms::Form {
    Owner(forms::Runtime& rt, const char* icon) : forms::Form(rt, icon) { SetIcon(icon); }
  };
  fake::FakeRuntime rt;
  Owner first(rt, "app-icon"), other(rt, "other-icon");
  first.Show();
  TrayIcon tray(rt);
  tray.DeleteTrayIcon();
  tray.ModifyTrayIcon(other, "before the icon");
  EXPECT_TRUE(rt.trayCalls.empty());
  tray.AddTrayIcon(first, "one");
  EXPECT_FALSE(first.Visible());
  for (const char* tip : {"two", "two", "three"})
    tray.ModifyTrayIcon(other, tip);  // an unchanged tip: not sent
  tray.DeleteTrayIcon();
  tray.DeleteTrayIcon();
  ASSERT_EQ(rt.trayCalls.size(), 4u);
  for (int i = 0; i < 4; ++i) {
    const forms::NOTIFYICONDATA& data = rt.trayCalls[i].data;
    EXPECT_EQ(rt.trayCalls[i].message, std::vector<int>({0, 1, 1, 2})[i]);
    EXPECT_EQ(data.hWnd, &first);
    EXPECT_EQ(data.hIcon, "app-icon");
    EXPECT_EQ(std::tuple(data.cbSize, data.uID, data.uFlags, data.uCallbackMessage),
              std::tuple(88u, 1u, 7u, 512u));
  }
  EXPECT_EQ(rt.trayCalls[2].data.szTip[5], '\0');  // "three"
  EXPECT_FALSE(rt.trayIconShown);
}

}  // namespace
}  // namespace sysvane
