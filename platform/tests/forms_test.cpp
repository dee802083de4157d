// The forms model: array elements, activation, a window that unloads during its own load.
#include <gtest/gtest.h>

#include "platform/fake/fake_forms.h"

namespace sysvane {
namespace {

TEST(FormsTest, ArrayElementsAreHiddenCopiesAndAWindowActivatesOnceUntilDeactivated) {
  struct Sample : forms::Form {
    explicit Sample(fake::FakeRuntime& rt) : Form(rt, "Sample") {}
    forms::ControlArray<forms::ProgressBar> Row{*this, "Row"};
    int activations = 0;
    bool unloadInLoad = false;
    void Form_Load() override {
      if (unloadInLoad) Unload();
    }
    void Form_Activate() override { ++activations; }
  };
  fake::FakeRuntime rt;
  Sample f(rt);
  f.unloadInLoad = true;
  f.Show();  // unloaded during its load: never shown
  EXPECT_FALSE(f.Loaded() || f.Visible() || f.activations);
  f.unloadInLoad = false;
  f.Show();
  f.Row[0].SetValue(7);
  ASSERT_TRUE(f.Row.Load(1));
  EXPECT_FALSE(f.Row.Load(1) || f.Row.Unload(0) || f.Row[1].Visible() || !f.Row[1].peer());
  EXPECT_EQ(f.Row[1].Value(), 7);
  for (int i = 0; i < 2; ++i) f.NotifyActivate();
  EXPECT_EQ(f.activations, 1);
  f.NotifyDeactivate();
  f.NotifyActivate();
  EXPECT_EQ(f.activations, 2);
}

}  // namespace
}  // namespace sysvane
