// The forms model: what a user's click and key do, and which changes reach the screen.
#include <gtest/gtest.h>

#include "platform/fake/fake_forms.h"

namespace sysvane {
namespace {

TEST(FormsTest, AClickTogglesACheckBoxAndOnlyARealChangeReachesTheScreen) {
  struct Sample : forms::Form {
    explicit Sample(fake::FakeRuntime& rt) : Form(rt, "Sample") {}
    forms::CheckBox Check{*this, "Check"};
    forms::TabStrip Tabs{*this, "Tabs"};
    forms::Label Text{*this, "Text"};
    std::string keys;
    void Form_KeyUp(int keyCode, int) override { keys += std::to_string(keyCode); }
  };
  fake::FakeRuntime rt;
  Sample f(rt);
  f.NotifyKeyUp(27, 0);  // not loaded: no key reaches it
  int modals = 0;
  rt.onModal = [&](forms::Form&) { ++modals; };
  f.Show();
  f.NotifyKeyUp(13, 0);
  f.Show(forms::Modality::Modal);
  EXPECT_EQ(f.keys + " " + std::to_string(modals), "13 1");
  for (auto [before, enabled, after] : {std::tuple{0, true, 1}, {1, true, 0}, {2, true, 1}, {0, false, 0}}) {
    f.Check.SetValue(before);
    f.Check.SetEnabled(enabled);
    f.Check.NotifyClick();
    EXPECT_EQ(f.Check.Value(), after) << before << (enabled ? "" : ", disabled");
  }
  f.Tabs.SetTabs({"Options", "Statistics", "System"});
  std::string previous;
  f.Tabs.TabClick = [&](int tab) { previous += std::to_string(tab); };
  for (int tab : {-1, 3, 0, 2, 2, 0, 1}) f.Tabs.NotifyTabSelected(tab);  // only another page it has
  EXPECT_EQ(previous + " " + std::to_string(f.Tabs.Tab()), "020 1");
  for (forms::Twips height : {4, 4, 6}) f.Text.Move(1, 2, 3, height);
  f.Text.Move(1, 2, 5, 6);
  for (int twice = 0; twice < 2; ++twice) f.Text.SetFont(forms::Font{"Sans", 10});
  f.Refresh();
  EXPECT_EQ(std::tuple(rt.ChangeCount(&f.Text, forms::Prop::Geometry), f.Text.Width(),
                       rt.ChangeCount(&f.Text, forms::Prop::Font), rt.ChangeCount(&f, forms::Prop::Repaint)),
            std::tuple(3, 5.0, 1, 1));
}

}  // namespace
}  // namespace sysvane
