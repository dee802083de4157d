#include "platform/fake/fake_forms.h"

#include <gtest/gtest.h>

namespace sysvane {
namespace {

using fake::FakeRuntime;
using forms::Form;

class SampleForm : public Form {
 public:
  explicit SampleForm(FakeRuntime& rt) : Form(rt, "Sample") {}
  forms::ControlArray<forms::Label> Row{*this, "Row"};
  forms::Timer Timer1{*this, "Timer1"};
  int loads = 0, unloads = 0, activations = 0, ticks = 0;
  bool unloadInLoad = false;

 protected:
  void Design() override {
    Row.Reset();
    Row[0].Move(120, 135, 1935, 240);
    Row[0].SetCaption("design");
    Timer1.SetInterval(900);
    Timer1.SetEnabled(true);
    Timer1.Tick = [this] { ++ticks; };
  }
  void Form_Load() override {
    ++loads;
    if (unloadInLoad) Unload();
  }
  void Form_Activate() override { ++activations; }
  void Form_Unload() override { ++unloads; }
};

TEST(FormsTest, ArrayElementsAreHiddenCopiesOfElementZero) {
  FakeRuntime rt;
  SampleForm f(rt);
  f.Load();
  ASSERT_TRUE(f.Row.Load(1));
  EXPECT_FALSE(f.Row.Load(1));
  EXPECT_EQ(f.Row[1].Caption(), "design");
  EXPECT_EQ(f.Row[1].Width(), 1935);
  EXPECT_FALSE(f.Row[1].Visible());
  EXPECT_NE(f.Row[1].peer(), nullptr);
  EXPECT_FALSE(f.Row.Unload(0));
  int clicked = -1;
  f.Row.Click = [&](int i) { clicked = i; };
  f.Row[1].NotifyClick();
  EXPECT_EQ(clicked, 1);
}

TEST(FormsTest, ReloadStartsFromTheDesign) {
  FakeRuntime rt;
  SampleForm f(rt);
  f.Show();
  f.Row.Load(1);
  f.Row[0].SetCaption("changed");
  f.Unload();
  EXPECT_FALSE(f.Loaded());
  f.Unload();  // not loaded: nothing happens
  EXPECT_EQ(f.unloads, 1);
  f.Load();
  EXPECT_FALSE(f.Row.Exists(1));
  EXPECT_EQ(f.Row[0].Caption(), "design");
}

TEST(FormsTest, TimersRunOnlyWhileTheFormIsLoaded) {
  FakeRuntime rt;
  SampleForm f(rt);
  f.Load();
  rt.Advance(2700);
  EXPECT_EQ(f.ticks, 3);
  f.Unload();
  rt.Advance(2700);
  EXPECT_EQ(f.ticks, 3);
}

TEST(FormsTest, ReEnablingATimerRestartsItsCount) {
  FakeRuntime rt;
  SampleForm f(rt);
  f.Load();
  rt.Advance(800);
  f.Timer1.SetEnabled(false);
  f.Timer1.SetEnabled(true);
  rt.Advance(800);
  EXPECT_EQ(f.ticks, 0);
  rt.Advance(100);
  EXPECT_EQ(f.ticks, 1);
}

TEST(FormsTest, AWindowThatUnloadsDuringItsLoadIsNotShown) {
  FakeRuntime rt;
  SampleForm f(rt);
  f.unloadInLoad = true;
  f.Show();
  EXPECT_FALSE(f.Loaded());
  EXPECT_FALSE(f.Visible());
  EXPECT_EQ(f.activations, 0);
}

TEST(FormsTest, ShowActivatesOnceUntilDeactivated) {
  FakeRuntime rt;
  SampleForm f(rt);
  f.Show();
  f.NotifyActivate();
  EXPECT_EQ(f.activations, 1);
  f.NotifyDeactivate();
  f.NotifyActivate();
  EXPECT_EQ(f.activations, 2);
}

TEST(FormsTest, OuterSizeIsClientPlusFrame) {
  FakeRuntime rt;
  SampleForm f(rt);
  f.SetCaption(" Sysvane");
  f.SetClientSize(4020, 1200);
  EXPECT_EQ(f.Width(), 4110);
  EXPECT_EQ(f.Height(), 1575);
  f.SetBorderStyle(forms::BorderStyle::FixedSingle);
  f.SetControlBox(false);
  f.SetCaption("");
  f.SetClientSize(1830, 945);
  EXPECT_EQ(f.Width(), 1860);
  EXPECT_EQ(f.Height(), 975);
}

TEST(FormsTest, APropertySetToItsOwnValueDoesNotReachThePeer) {
  FakeRuntime rt;
  SampleForm f(rt);
  f.Load();
  forms::ProgressBar bar(f, "Bar");
  forms::AttachPeerIfLoaded(bar);
  bar.SetValue(42);
  bar.SetValue(42);
  EXPECT_EQ(rt.ChangeCount(&bar, forms::Prop::Value), 1);
}

}  // namespace
}  // namespace sysvane
