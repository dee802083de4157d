// The icon record: its tip field, and what each call hands the shell.
#include "shell/tray_icon.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_forms.h"

namespace sysvane {
namespace {

TEST(TrayIconTest, TipFieldIsTheTextOrCaptionThenOneNulThenSpacesCutAtSixtyFour) {
  const std::string nul(1, '\0'), pad(64, ' ');
  for (auto [tip, caption, field] :
       {std::tuple{std::string("Sysvane Monitor"), "Form1", "Sysvane Monitor" + nul + pad.substr(16)},
        {"", "Form1", "Form1" + nul + pad.substr(6)},
        {"", "", nul + pad.substr(1)},
        {std::string(63, 'y'), "", std::string(63, 'y') + nul},
        {std::string(70, 'x'), "", std::string(64, 'x')}}) {
    const auto filled = FillTipField(tip, caption);
    EXPECT_EQ(std::string(filled.data(), filled.size()), field) << tip << "|" << caption;
  }
}

TEST(TrayIconTest, ModifyKeepsTheAddedOwnerAndIconAndOnlyAnAddedIconIsDeleted) {
  struct Owner : forms::Form {
    Owner(forms::Runtime& rt, const char* icon) : forms::Form(rt, icon) { SetIcon(icon); }
  };
  fake::FakeRuntime rt;
  Owner first(rt, "app-icon"), other(rt, "other-icon");
  first.Show();
  TrayIcon tray(rt);
  tray.DeleteTrayIcon();
  tray.ModifyTrayIcon(other, "before the icon");
  tray.AddTrayIcon(first, "one");
  EXPECT_FALSE(first.Visible());
  for (const char* tip : {"two", "two", "three"})
    tray.ModifyTrayIcon(other, tip);  // the same tip is not sent
  tray.DeleteTrayIcon();
  tray.DeleteTrayIcon();
  ASSERT_EQ(rt.trayCalls.size(), 4u);
  for (int i = 0; i < 4; ++i) {
    const forms::NOTIFYICONDATA& data = rt.trayCalls[i].data;
    EXPECT_EQ(rt.trayCalls[i].message, std::vector<int>({0, 1, 1, 2})[i]);
    EXPECT_EQ(std::tuple(data.hWnd, data.hIcon, data.cbSize, data.uID, data.uFlags, data.uCallbackMessage),
              std::tuple(&first, "app-icon", 88u, 1u, 7u, 512u));
  }
  EXPECT_EQ(rt.TrayTip(), "three");
}

}  // namespace
}  // namespace sysvane
