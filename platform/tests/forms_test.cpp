// The forms model: loads from the design, control arrays, timers on the window's life, activation.
#include <gtest/gtest.h>

#include "platform/fake/fake_forms.h"

namespace sysvane {
namespace {

struct SampleForm : forms::Form {
  explicit SampleForm(fake::FakeRuntime& rt) : Form(rt, "Sample") {}
  forms::ControlArray<forms::ProgressBar> Row{*this, "Row"};
  forms::Timer Timer1{*this, "Timer1"};
  int ticks = 0, activations = 0, unloads = 0;
  bool unloadInLoad = false;
  void Design() override {
    Row.Reset();
    Row[0].Move(120, 135, 1935, 240);
    Row[0].SetValue(7);
    Timer1.SetInterval(900);
    Timer1.SetEnabled(true);
    Timer1.Tick = [this] { ++ticks; };
  }
  void Form_Load() override {
    if (unloadInLoad) Unload();
  }
  void Form_Activate() override { ++activations; }
  void Form_Unload() override { ++unloads; }
};

TEST(FormsTest, EachLoadStartsFromTheDesignAndArrayElementsAreHiddenCopiesOfElementZero) {
  fake::FakeRuntime rt;
  SampleForm f(rt);
  f.Show();
  ASSERT_TRUE(f.Row.Load(1));
  EXPECT_FALSE(f.Row.Load(1) || f.Row.Unload(0) || f.Row[1].Visible());
  EXPECT_EQ(std::tuple(f.Row[1].Value(), f.Row[1].Width(), f.Row[1].peer() != nullptr),
            std::tuple(7, 1935.0, true));
  f.Row[1].SetValue(42);
  f.Row[1].SetValue(42);  // the same value again does not reach the screen
  EXPECT_EQ(rt.ChangeCount(&f.Row[1], forms::Prop::Value), 1);
  f.Row[0].SetValue(9);
  f.Unload();
  f.Unload();  // not loaded: nothing happens
  f.Load();
  EXPECT_EQ(std::tuple(f.unloads, f.Row.Exists(1), f.Row[0].Value()), std::tuple(1, false, 7));
}

TEST(FormsTest, TimersTickWhileTheWindowIsLoadedAndEnablingOneStartsItsCountAfresh) {
  fake::FakeRuntime rt;
  SampleForm f(rt);
  f.Load();
  rt.Advance(800);
  f.Timer1.SetEnabled(false);
  f.Timer1.SetEnabled(true);
  rt.Advance(800);
  EXPECT_EQ(f.ticks, 0);
  rt.Advance(100 + 1800);
  EXPECT_EQ(f.ticks, 3);
  f.Unload();
  rt.Advance(2700);
  EXPECT_EQ(f.ticks, 3);
}

TEST(FormsTest, ShowActivatesOnceUntilDeactivatedAndShowingAgainBringsTheWindowBack) {
  fake::FakeRuntime rt;
  SampleForm f(rt);
  f.unloadInLoad = true;
  f.Show();  // unloaded during its load: never shown
  EXPECT_FALSE(f.Loaded() || f.Visible() || f.activations);
  f.unloadInLoad = false;
  f.Show();
  f.NotifyActivate();
  EXPECT_EQ(f.activations, 1);
  f.NotifyDeactivate();
  f.NotifyWindowState(forms::vbMinimized);
  f.Show();
  EXPECT_EQ(std::tuple(rt.ChangeCount(&f, forms::Prop::Raise), f.WindowState()),
            std::tuple(1, forms::vbNormal));
  f.NotifyActivate();
  EXPECT_EQ(f.activations, 2);
}

}  // namespace
}  // namespace sysvane
