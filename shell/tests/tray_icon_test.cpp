#include "shell/tray_icon.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/fake/fake_forms.h"

namespace sysvane {
namespace {

class Owner : public forms::Form {
 public:
  Owner(forms::Runtime& rt, std::string caption, std::string icon) : forms::Form(rt, "Owner") {
    SetCaption(caption);
    SetIcon(icon);
  }
};

std::string Field(const std::array<char, 64>& field) {
  return std::string(field.data(), field.size());
}

TEST(TipField, TextThenNulThenSpaces) {
  const auto field = FillTipField("Sysvane Monitor", "");
  EXPECT_EQ(Field(field), std::string("Sysvane Monitor") + '\0' + std::string(48, ' '));
}

TEST(TipField, EmptyTipTakesTheCaption) {
  EXPECT_EQ(Field(FillTipField("", "Form1")), std::string("Form1") + '\0' + std::string(58, ' '));
  EXPECT_EQ(Field(FillTipField("", "")), std::string(1, '\0') + std::string(63, ' '));
}

TEST(TipField, LongTextFillsTheFieldWithoutNul) {
  const std::string seventy(70, 'x');
  EXPECT_EQ(Field(FillTipField(seventy, "")), std::string(64, 'x'));
  const std::string sixtyThree = std::string(62, 'y') + "z";
  const auto field = FillTipField(sixtyThree, "");
  EXPECT_EQ(Field(field).substr(0, 63), sixtyThree);
  EXPECT_EQ(field[63], '\0');
}

TEST(TrayIconModule, AddFillsTheRecordAndHidesTheOwner) {
  fake::FakeRuntime rt;
  Owner owner(rt, "Form1", "app-icon");
  owner.Show();
  TrayIcon tray(rt);
  tray.AddTrayIcon(owner, "");
  ASSERT_EQ(rt.trayCalls.size(), 1u);
  const auto& call = rt.trayCalls[0];
  EXPECT_EQ(call.message, forms::NIM_ADD);
  EXPECT_EQ(call.data.cbSize, 88u);
  EXPECT_EQ(call.data.hWnd, &owner);
  EXPECT_EQ(call.data.uID, 1u);
  EXPECT_EQ(call.data.uFlags, 7u);
  EXPECT_EQ(call.data.uCallbackMessage, 512u);
  EXPECT_EQ(call.data.hIcon, "app-icon");
  EXPECT_EQ(rt.TrayTip(), "Form1");
  EXPECT_FALSE(owner.Visible());
}

TEST(TrayIconModule, ModifyKeepsTheAddedIconAndSendsOnlyChanges) {
  fake::FakeRuntime rt;
  Owner first(rt, "", "app-icon");
  Owner other(rt, "Other", "other-icon");
  TrayIcon tray(rt);
  tray.AddTrayIcon(first, "one");
  tray.ModifyTrayIcon(other, "two");
  ASSERT_EQ(rt.trayCalls.size(), 2u);
  EXPECT_EQ(rt.trayCalls[1].message, forms::NIM_MODIFY);
  EXPECT_EQ(rt.trayCalls[1].data.hWnd, &first);
  EXPECT_EQ(rt.trayCalls[1].data.hIcon, "app-icon");
  EXPECT_EQ(rt.trayCalls[1].data.uFlags, 7u);
  EXPECT_EQ(rt.TrayTip(), "two");

  tray.ModifyTrayIcon(other, "two");
  EXPECT_EQ(rt.trayCalls.size(), 2u);
  // Texts that differ only past what the field holds make the same field.
  tray.ModifyTrayIcon(other, std::string(64, 'c') + "1");
  tray.ModifyTrayIcon(other, std::string(64, 'c') + "2");
  EXPECT_EQ(rt.trayCalls.size(), 3u);
}

TEST(TrayIconModule, DeleteSendsTheRecordOnceAndOnlyForAnAddedIcon) {
  fake::FakeRuntime rt;
  Owner owner(rt, "", "app-icon");
  TrayIcon tray(rt);
  tray.DeleteTrayIcon();
  tray.ModifyTrayIcon(owner, "tip");
  EXPECT_TRUE(rt.trayCalls.empty());

  tray.AddTrayIcon(owner, "tip");
  tray.DeleteTrayIcon();
  tray.DeleteTrayIcon();
  ASSERT_EQ(rt.trayCalls.size(), 2u);
  EXPECT_EQ(rt.trayCalls[1].message, forms::NIM_DELETE);
  EXPECT_EQ(rt.trayCalls[1].data.hWnd, &owner);
  EXPECT_EQ(rt.trayCalls[1].data.uID, 1u);
  EXPECT_FALSE(rt.trayIconShown);
}

}  // namespace
}  // namespace sysvane
