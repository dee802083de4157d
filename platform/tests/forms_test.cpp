// The forms model: what a user's click on a check box and a tab does. (That only a real change
// reaches the screen is a cost, which the benchmarks measure.)
#include <gtest/gtest.h>

#include "platform/fake/fake_forms.h"

namespace sysvane {
namespace {

TEST(FormsTest, AClickTogglesAnEnabledCheckBoxAndATabClickChangesOnlyToAnotherPage) {
  struct Sample : forms::Form {
    explicit Sample(fake::FakeRuntime& rt) : Form(rt, "Sample") {}
    forms::CheckBox Check{*this, "Check"};
    forms::TabStrip Tabs{*this, "Tabs"};
  };
  fake::FakeRuntime rt;
  Sample f(rt);
  f.Show();
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
}

}  // namespace
}  // namespace sysvane
