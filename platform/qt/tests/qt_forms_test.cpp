// Windows and controls on Qt's offscreen platform: geometry from twips, painting, events from the
// user back to the model, and windows that unload themselves from their own events.
#include <gtest/gtest.h>

#include <chrono>

#include <QApplication>
#include <QBitmap>
#include <QCheckBox>
#include <QImage>
#include <QKeyEvent>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>

#include "platform/qt/qt_runtime.h"
#include "platform/qt/qt_tab_strip.h"
#include "platform/qt/tests/qt_test_support.h"

namespace sysvane::qt {
namespace {

using forms::Color;
using forms::Twips;
using testing::PaintCounter;
using testing::RunDeferredDeletes;
using testing::RunEvents;
using testing::WidgetOf;

// A window like the Monitor window: a caption, two bars, a button and a timer.
class MonitorLikeForm : public forms::Form {
 public:
  explicit MonitorLikeForm(forms::Runtime& runtime) : Form(runtime, "MonitorLike") {}
  forms::Label caption{*this, "StatText"};
  forms::ProgressBar bar{*this, "StatBar"};
  forms::ProgressBar otherBar{*this, "OtherBar"};
  forms::CommandButton button{*this, "Button"};
  forms::Timer timer{*this, "Timer1"};
  std::vector<std::pair<Twips, Twips>> formMoves;
  int timerTicks = 0;

 protected:
  void Design() override {
    SetCaption(" Sysvane");
    SetClientSize(4020, 1200);
    Move(1500, 3000, Width(), Height());
    caption.Move(120, 135, 1935, 240);
    caption.SetCaption("CPU usage:");
    bar.Move(2070, 120, 1815, 255);
    otherBar.Move(2070, 390, 1815, 255);
    button.Move(120, 700, 1095, 375);
    button.SetCaption("&Close");
    timer.SetInterval(0);
    timer.SetEnabled(false);
  }
  void Form_MouseMove(int, int, Twips x, Twips y) override { formMoves.emplace_back(x, y); }
};

// A window like the roll-up window: border only, no caption, no title-bar buttons.
class RollupLikeForm : public forms::Form {
 public:
  explicit RollupLikeForm(forms::Runtime& runtime) : Form(runtime, "RollupLike") {}
  forms::Label line{*this, "Stat"};
  std::vector<std::pair<Twips, Twips>> formMoves;

 protected:
  void Design() override {
    SetControlBox(false);
    SetShowInTaskbar(false);
    SetBackColor(Color::Rgb(255, 255, 192));
    SetClientSize(1950, 0);
    line.Move(45, 45, 1860, 195);
  }
  void Form_MouseMove(int, int, Twips x, Twips y) override { formMoves.emplace_back(x, y); }
};

class QtFormsTest : public ::testing::Test {
 protected:
  void TearDown() override { RunDeferredDeletes(); }
  QtRuntime runtime;
};

TEST_F(QtFormsTest, ControlsAndClientAreaTakeTheirTwipsDividedByFifteen) {
  MonitorLikeForm form(runtime);
  form.Show();
  FormWidget* window = WidgetOf(form);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->size(), QSize(268, 80));  // the client area; the frame is the window manager's
  EXPECT_EQ(window->pos(), QPoint(100, 200));
  EXPECT_EQ(WidgetOf(form.caption)->geometry(), QRect(8, 9, 129, 16));
  EXPECT_EQ(WidgetOf(form.bar)->geometry(), QRect(138, 8, 121, 17));
  EXPECT_TRUE(window->windowFlags() & Qt::WindowTitleHint);
  EXPECT_FALSE(window->windowFlags() & Qt::FramelessWindowHint);

  // A move in twips that ends on the same pixels keeps the widget where it is.
  form.bar.SetTop(390);
  EXPECT_EQ(WidgetOf(form.bar)->geometry(), QRect(138, 26, 121, 17));
  form.Unload();
}

TEST_F(QtFormsTest, ABorderOnlyWindowIsFramelessOfItsOuterSizeWithItsControlsInsideTheBorder) {
  RollupLikeForm form(runtime);
  form.Move(27000, 15000, form.Width(), form.Height());
  form.Show();
  FormWidget* window = WidgetOf(form);
  EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_TRUE(window->windowFlags() & Qt::Tool) << "not shown in the taskbar";
  EXPECT_TRUE(window->testAttribute(Qt::WA_ShowWithoutActivating));
  EXPECT_EQ(window->size(), QSize(132, 2));  // 1950 + 30 wide, the border alone high
  EXPECT_EQ(WidgetOf(form.line)->pos(), QPoint(1 + 3, 1 + 3));

  // The roll-up grows by one pixel at a time, from a two-pixel strip.
  form.Move(form.Left(), form.Top() - 15, form.Width(), form.Height() + 15);
  EXPECT_EQ(window->geometry(), QRect(1800, 999, 132, 3));

  QMouseEvent move(QEvent::MouseMove, QPointF(10, 2), QPointF(10, 2), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(window, &move);
  ASSERT_EQ(form.formMoves.size(), 1u);
  EXPECT_EQ(form.formMoves[0], std::make_pair(Twips(9 * 15), Twips(1 * 15))) << "client coordinates";
  form.Unload();
}

TEST_F(QtFormsTest, ARoundedRegionMasksTheCornersOfTheWindow) {
  RollupLikeForm form(runtime);
  form.Show();
  form.Move(0, 0, 3975 + 30, 2955 + 30);
  form.SetRegion({1, 1, 267, 199, 40, 40});
  const QRegion mask = WidgetOf(form)->mask();
  EXPECT_FALSE(mask.contains(QPoint(0, 0)));
  EXPECT_FALSE(mask.contains(QPoint(3, 3))) << "inside the rounded corner's cut";
  EXPECT_TRUE(mask.contains(QPoint(133, 100)));
  EXPECT_TRUE(mask.contains(QPoint(133, 1)));
  EXPECT_FALSE(mask.contains(QPoint(133, 199))) << "the bottom edge is outside, as with CreateRoundRectRgn";
  form.Unload();
}

TEST_F(QtFormsTest, ABarPaintsItsGradientOverTheFilledPartAndItsText) {
  MonitorLikeForm form(runtime);
  form.Show();
  form.bar.SetBackColor(Color::Rgb(255, 255, 255));
  form.bar.SetForeColor(Color::Rgb(0, 0, 0));
  form.bar.SetValue(100);
  const QImage full = WidgetOf(form.bar)->grab().toImage();
  const int middle = full.height() / 2;
  const QColor start = full.pixelColor(3, middle), end = full.pixelColor(full.width() - 4, middle);
  EXPECT_GT(start.green(), 150);
  EXPECT_LT(start.red(), 60);
  EXPECT_GT(end.red(), 200);
  EXPECT_LT(end.green(), 60);

  // Half a bar: green at its start, white beyond its end; "50%" is centred, so its "%" lies on white.
  form.bar.SetValue(50);
  const QImage half = WidgetOf(form.bar)->grab().toImage();
  EXPECT_GT(half.pixelColor(3, 3).green(), 150);
  EXPECT_EQ(half.pixelColor(half.width() - 4, 3), QColor(255, 255, 255));
  int dark = 0;  // the text's strokes beyond the fill, on white
  for (int x = half.width() / 2 + 2; x < half.width() - 1; ++x)
    for (int y = 1; y < half.height() - 1; ++y) dark += half.pixelColor(x, y).lightness() < 100;
  EXPECT_GT(dark, 5) << "the value text";
  form.Unload();
}

TEST_F(QtFormsTest, AnUnknownValuePaintsNoFillAnywhere) {
  MonitorLikeForm form(runtime);
  form.Show();
  form.bar.SetBackColor(Color::Rgb(255, 255, 255));
  form.bar.SetValue(255);
  const QImage image = WidgetOf(form.bar)->grab().toImage();
  for (int x = 1; x < image.width() - 1; ++x) {
    for (int y = 1; y < image.height() - 1; ++y) {
      const QColor c = image.pixelColor(x, y);
      ASSERT_FALSE(c.green() > c.red() + 40 || c.red() > c.green() + 40)
          << "fill colour at " << x << "," << y;
    }
  }
  form.Unload();
}

TEST_F(QtFormsTest, OnlyTheBarWhoseValueChangedRepaints) {
  MonitorLikeForm form(runtime);
  form.Show();
  PaintCounter bar(WidgetOf(form.bar)), other(WidgetOf(form.otherBar)), window(WidgetOf(form));
  RunEvents(3000, [&] { return bar.count > 0 && other.count > 0 && window.count > 0; });  // the first paint
  RunEvents(50);
  bar.count = other.count = window.count = 0;

  form.bar.SetValue(42);
  RunEvents(3000, [&] { return bar.count > 0; });
  EXPECT_GE(bar.count, 1);
  EXPECT_EQ(other.count, 0);
  EXPECT_EQ(window.count, 0) << "no repaint of the window behind an opaque bar";

  bar.count = 0;
  form.bar.SetValue(42);
  form.caption.SetCaption("CPU usage:");
  RunEvents(100);
  EXPECT_EQ(bar.count, 0) << "the same value again is no change";
  form.Unload();
}

TEST_F(QtFormsTest, TimersTickWhileTheWindowIsLoadedAndStopWhenItUnloads) {
  MonitorLikeForm form(runtime);
  form.timer.Tick = [&] { ++form.timerTicks; };
  form.Load();
  form.timer.SetInterval(20);
  form.timer.SetEnabled(true);
  RunEvents(5000, [&] { return form.timerTicks >= 3; });
  EXPECT_GE(form.timerTicks, 3);

  form.Unload();
  const int ticks = form.timerTicks;
  RunEvents(120);
  EXPECT_EQ(form.timerTicks, ticks);
}

// The drive re-check must not wake the program on its own while the refresh runs anyway: each
// slow tick comes in the same turn as a frequent one, not at a time of its own.
TEST_F(QtFormsTest, ASlowTimerFiresOnAFrequentTimersWakeUp) {
  using Clock = std::chrono::steady_clock;
  MonitorLikeForm form(runtime);
  forms::Timer slow(form, "Timer3");
  Clock::time_point lastFrequent;
  std::vector<Clock::duration> sinceFrequent;
  form.timer.Tick = [&] { lastFrequent = Clock::now(); };
  slow.Tick = [&] { sinceFrequent.push_back(Clock::now() - lastFrequent); };
  form.Load();
  form.timer.SetInterval(30);
  form.timer.SetEnabled(true);
  slow.SetInterval(400);
  slow.SetEnabled(true);
  RunEvents(5000, [&] { return sinceFrequent.size() >= 3; });
  ASSERT_GE(sinceFrequent.size(), 3u);
  for (const auto& gap : sinceFrequent) EXPECT_LT(gap, std::chrono::milliseconds(2));
  form.Unload();
}

TEST_F(QtFormsTest, AButtonWhoseClickUnloadsItsWindowLeavesNothingBroken) {
  MonitorLikeForm form(runtime);
  int clicks = 0;
  form.button.Click = [&] {
    ++clicks;
    form.Unload();
  };
  form.Show();
  QPointer<QWidget> button = WidgetOf(form.button);
  QPointer<QWidget> window = WidgetOf(form);
  static_cast<QPushButton*>(button.data())->click();
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(form.Loaded());
  EXPECT_FALSE(window->isVisible());
  RunDeferredDeletes();
  EXPECT_TRUE(button.isNull());
  EXPECT_TRUE(window.isNull());

  // Loaded again, the window works as before.
  form.Show();
  static_cast<QPushButton*>(WidgetOf(form.button))->click();
  EXPECT_EQ(clicks, 2);
}

TEST_F(QtFormsTest, ATimerThatUnloadsItsWindowEndsAModalShow) {
  MonitorLikeForm form(runtime);
  form.timer.Tick = [&] { form.Unload(); };
  bool rescued = false;
  // Should the modal loop not end, the window is hidden, which ends it too.
  QTimer::singleShot(5000, [&] {
    rescued = true;
    form.Hide();
  });
  form.Load();
  form.timer.SetInterval(30);
  form.timer.SetEnabled(true);
  form.Show(forms::Modality::Modal);
  EXPECT_FALSE(form.Loaded());
  EXPECT_FALSE(rescued);
}

TEST_F(QtFormsTest, MouseMovesOverAControlAreTheControlsOnly) {
  MonitorLikeForm form(runtime);
  std::vector<std::pair<Twips, Twips>> barMoves;
  form.bar.MouseMove = [&](int, int, Twips x, Twips y) { barMoves.emplace_back(x, y); };
  form.Show();
  QMouseEvent move(QEvent::MouseMove, QPointF(4, 5), QPointF(4, 5), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(WidgetOf(form.bar), &move);
  ASSERT_EQ(barMoves.size(), 1u);
  EXPECT_EQ(barMoves[0], std::make_pair(Twips(60), Twips(75)));
  EXPECT_TRUE(form.formMoves.empty());
  form.Unload();
}

TEST_F(QtFormsTest, ACheckBoxClickTogglesTheModelOnce) {
  class OptionsLike : public forms::Form {
   public:
    using Form::Form;
    forms::CheckBox box{*this, "Check0"};

   protected:
    void Design() override {
      SetCaption(" Options");
      box.Move(240, 480, 2775, 255);
      box.SetCaption("Display splash screen at StartUp?");
    }
  } form(runtime, "OptionsLike");
  int clicks = 0;
  form.box.Click = [&] { ++clicks; };
  form.Show();
  auto* box = static_cast<QCheckBox*>(WidgetOf(form.box));
  box->click();
  EXPECT_EQ(form.box.Value(), 1);
  EXPECT_EQ(box->checkState(), Qt::Checked);
  EXPECT_EQ(clicks, 1);
  box->click();
  EXPECT_EQ(form.box.Value(), 0);
  EXPECT_EQ(box->checkState(), Qt::Unchecked);

  form.box.SetValue(2);  // grey, set by code
  EXPECT_EQ(box->checkState(), Qt::PartiallyChecked);
  form.Unload();
}

class KeyForm : public forms::Form {
 public:
  using Form::Form;
  forms::CheckBox box{*this, "Check"};
  forms::CommandButton ok{*this, "OK"};
  forms::CommandButton cancel{*this, "Cancel"};
  std::vector<int> keysDown, keysUp;

 protected:
  void Design() override {
    SetCaption(" Keys");
    SetKeyPreview(true);
    box.Move(120, 120, 1500, 255);
    ok.Move(120, 600, 1095, 375);
    ok.SetCaption("&OK");
    ok.SetDefault(true);
    cancel.Move(1320, 600, 1095, 375);
    cancel.SetCaption("Cancel");
    cancel.SetCancel(true);
  }
  void Form_KeyDown(int key, int) override { keysDown.push_back(key); }
  void Form_KeyUp(int key, int) override { keysUp.push_back(key); }
};

TEST_F(QtFormsTest, KeysReachTheFormFirstAndEnterAndEscapePressTheDefaultAndCancelButtons) {
  KeyForm form(runtime, "Keys");
  int okClicks = 0, cancelClicks = 0;
  form.ok.Click = [&] { ++okClicks; };
  form.cancel.Click = [&] { ++cancelClicks; };
  form.Show();
  QWidget* window = WidgetOf(form);
  window->activateWindow();
  QApplication::setActiveWindow(window);
  WidgetOf(form.box)->setFocus();
  ASSERT_EQ(QApplication::focusWidget(), WidgetOf(form.box));

  auto press = [](QWidget* target, int key) {
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier), up(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(target, &down);
    QApplication::sendEvent(target, &up);
  };
  press(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_EQ(okClicks, 1);
  EXPECT_EQ(cancelClicks, 0);
  press(QApplication::focusWidget(), Qt::Key_Escape);
  EXPECT_EQ(cancelClicks, 1);
  press(QApplication::focusWidget(), Qt::Key_A);
  EXPECT_EQ(form.keysDown, (std::vector<int>{forms::vbKeyReturn, forms::vbKeyEscape, 'A'})) << "once each";
  EXPECT_EQ(form.keysUp, (std::vector<int>{forms::vbKeyReturn, forms::vbKeyEscape, 'A'}));
  form.Unload();
}

TEST_F(QtFormsTest, TabPagesHoldTheirControlsFromTheStripsCornerAndShowOnlyTheSelectedOne) {
  class TabbedForm : public forms::Form {
   public:
    using Form::Form;
    forms::TabStrip tabs{*this, "SSTab1"};
    forms::CheckBox onFirst{*this, "Check0"};
    forms::CheckBox onSecond{*this, "Check1"};

   protected:
    void Design() override {
      SetCaption(" Options");
      SetClientSize(4680, 3750);
      tabs.Move(90, 120, 4515, 3060);
      tabs.SetTabs({"Options", "Statistics", "System"});
      onFirst.SetContainer(&tabs, 0);
      onFirst.Move(240, 480, 2775, 255);
      onSecond.SetContainer(&tabs, 1);
      onSecond.Move(240, 780, 2055, 255);
    }
  } form(runtime, "Tabbed");
  std::vector<int> previous;
  form.tabs.TabClick = [&](int tab) { previous.push_back(tab); };
  form.Show();
  QWidget* first = WidgetOf(form.onFirst);
  QWidget* second = WidgetOf(form.onSecond);
  EXPECT_EQ(first->mapTo(WidgetOf(form.tabs), QPoint(0, 0)), QPoint(16, 32));
  EXPECT_TRUE(first->isVisible());
  EXPECT_FALSE(second->isVisible());

  auto* strip = static_cast<TabStripWidget*>(WidgetOf(form.tabs));
  strip->Bar()->setCurrentIndex(1);  // as the user's click does
  EXPECT_EQ(form.tabs.Tab(), 1);
  EXPECT_EQ(previous, std::vector<int>{0});
  EXPECT_FALSE(first->isVisible());
  EXPECT_TRUE(second->isVisible());

  form.tabs.SetTab(2);  // by code
  EXPECT_EQ(strip->Bar()->currentIndex(), 2);
  EXPECT_FALSE(second->isVisible());
  form.Unload();
}

TEST_F(QtFormsTest, ArrayElementsLoadedByTheDesignGetTheirWidgetsWithTheWindow) {
  class WithArray : public forms::Form {
   public:
    using Form::Form;
    forms::ControlArray<forms::Label> lines{*this, "Label"};

   protected:
    void Design() override {
      lines.Reset();
      lines[0].Move(0, 0, 1500, 255);
      lines.Load(2);  // before the window has its peer
      lines[2].Move(0, 300, 1500, 255);
      lines[2].SetVisible(true);
    }
  } form(runtime, "WithArray");
  form.Show();
  ASSERT_NE(WidgetOf(form.lines[2]), nullptr);
  EXPECT_TRUE(WidgetOf(form.lines[2])->isVisible());
  EXPECT_EQ(WidgetOf(form.lines[2])->geometry(), QRect(0, 20, 100, 17));

  form.lines.Load(3);  // while loaded: a hidden copy of element 0 at once
  ASSERT_NE(WidgetOf(form.lines[3]), nullptr);
  EXPECT_FALSE(WidgetOf(form.lines[3])->isVisible());
  form.Unload();
}

TEST_F(QtFormsTest, GoingOnTopKeepsAShownWindowShownWhereItWas) {
  MonitorLikeForm form(runtime);
  form.Show();
  FormWidget* window = WidgetOf(form);
  const QPoint where = window->pos();
  form.SetOnTop(true);
  EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->pos(), where);
  form.SetOnTop(false);
  EXPECT_FALSE(window->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(window->isVisible());
  form.Unload();
}

TEST_F(QtFormsTest, TheCloseButtonAsksTheModel) {
  class Closing : public forms::Form {
   public:
    using Form::Form;
    int unloads = 0;

   protected:
    void Design() override { SetCaption(" Closing"); }
    void Form_Unload() override { ++unloads; }
  } form(runtime, "Closing");
  form.Show();
  WidgetOf(form)->close();
  EXPECT_EQ(form.unloads, 1);
  EXPECT_FALSE(form.Loaded());
}

}  // namespace
}  // namespace sysvane::qt
