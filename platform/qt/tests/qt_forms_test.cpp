// Windows on Qt's offscreen platform: twips become pixels, each kind of window gets the flags that
// keep it off the taskbar or without minimize and maximize, and the window manager's frame comes
// back to the model.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QTimer>
#include <QWindow>

#include "platform/qt/qt_convert.h"

#include "platform/qt/qt_runtime.h"
#include "platform/qt/tests/qt_test_support.h"

namespace sysvane::qt {
namespace {

using testing::RunDeferredDeletes;
using testing::RunEvents;
using testing::WidgetOf;

// A fixed window with a title bar, like the Monitor window, or a border-only panel, like the roll-up.
// Its bar of 1830 x 900 twips is 122 x 60 pixels, 120 x 58 inside its frame, white, its text black.
class Window : public forms::Form {
 public:
  Window(forms::Runtime& runtime, bool titled) : Form(runtime, "Window"), titled_(titled) {}
  forms::Label label{*this, "Label"};
  forms::ProgressBar bar{*this, "Bar"};
  forms::Timer timer{*this, "Timer"};
  int ticks = 0;

 protected:
  void Design() override {
    SetCaption(titled_ ? " Sysvane" : "");
    SetControlBox(titled_);
    SetShowInTaskbar(titled_);
    SetClientSize(4020, 1200);
    Move(1500, 3000, Width(), Height());
    label.Move(120, 135, 1935, 240);
    bar.Move(2100, 150, 1830, 900);
    bar.SetBarColors(forms::Color::Rgb(0, 192, 0), forms::Color::Rgb(255, 0, 0));
    bar.SetBackColor(forms::Color::Rgb(255, 255, 255));
    bar.SetForeColor(forms::Color::Rgb(0, 0, 0));
    timer.SetInterval(20);
    timer.SetEnabled(true);
    timer.Tick = [this] { ++ticks; };
  }

 private:
  bool titled_;
};

class QtFormsTest : public ::testing::Test {
 protected:
  void TearDown() override { RunDeferredDeletes(); }
  QtRuntime runtime;
};

TEST_F(QtFormsTest, TwipsBecomePixelsAndEachKindOfWindowGetsItsFlags) {
  // Titled or a panel; the client area (or the whole frameless panel), the label's place, the kind.
  for (const auto& [titled, size, labelAt, kind] :
       {std::tuple{true, QSize(268, 80), QPoint(8, 9), Qt::Window},
        {false, {270, 82}, {9, 10}, Qt::ToolTip}}) {
    SCOPED_TRACE(titled ? "titled" : "panel");
    Window window(runtime, titled);
    window.Show();
    FormWidget* widget = WidgetOf(window);
    ASSERT_NE(widget, nullptr);
    // Its size, fixed; the label at its place; its kind, a close button only with a title, and
    // never a minimize or maximize button.
    const Qt::WindowFlags flags = widget->windowFlags();
    EXPECT_EQ(std::tuple(widget->size(), widget->minimumSize(), widget->maximumSize(),
                         widget->childAt(labelAt)->size(), widget->windowType(),
                         bool(flags & Qt::WindowCloseButtonHint),
                         bool(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint))),
              std::tuple(size, size, size, QSize(129, 16), kind, titled, false));
    RunEvents(2000, [&] { return window.ticks >= 2; });
    EXPECT_GE(window.ticks, 2) << "timers tick while the window is loaded";
    window.Unload();
    const int ticks = window.ticks;
    RunEvents(60);
    EXPECT_EQ(window.ticks, ticks) << "and stop when it unloads";
  }
}

TEST_F(QtFormsTest, TheWindowManagersFrameComesBackToTheModel) {
  Window shown(runtime, true);
  shown.Show();
  RunEvents(2000, [&] { return !runtime.framesSeen.empty(); });
  ASSERT_FALSE(runtime.framesSeen.empty());
  const QMargins m = WidgetOf(shown)->windowHandle()->frameMargins();
  const forms::FrameExtents real{m.left() * 15.0, m.top() * 15.0, m.right() * 15.0, m.bottom() * 15.0};
  ASSERT_NE(real, forms::kDesignFrame) << "the platform frames differently from the design";
  EXPECT_EQ(shown.Frame(), real);  // what the model then makes of it is the forms model's FrameTest
  shown.Unload();
}

// A window's first paint waits for the window system to expose it, handling events meanwhile; one
// of them may unload the window (the program told to end as its splash comes up): the paint is then
// left undone, and nothing of the unloaded window is touched (ASan sees it).
TEST_F(QtFormsTest, AWindowUnloadedWhileItsFirstPaintWaitsIsLeftAlone) {
  Window window(runtime, false);
  window.Show();
  ASSERT_FALSE(WidgetOf(window)->windowHandle()->isExposed()) << "the wait would not run";
  QTimer::singleShot(0, [&] { window.Unload(); });
  window.Refresh();
  EXPECT_FALSE(window.Loaded());
}

// A label sized from the measured text shows every line whole: no extra wrap, no cut descenders.
TEST_F(QtFormsTest, MeasuredTextFitsTheLabelThatShowsIt) {
  const std::string message =
      "Sysvane found no notification area (system tray) on this desktop:\r\n"
      "its window stays open instead, and closing that window ends Sysvane.\r\n"
      "To get one, add a notification area to a panel of your desktop; on GNOME,\r\n"
      "turn on the AppIndicator extension (gnome-shell-extension-appindicator).";
  for (const forms::Font& font :
       {forms::Font{"MS Sans Serif", 8.25}, forms::Font{"MS Sans Serif", 8.25, true},
        forms::Font{"Times New Roman", 12}}) {
    for (const std::string& text :
         {std::string("Warning:  No statistics were selected for display"), message}) {
      SCOPED_TRACE(font.name + (font.bold ? " bold, " : ", ") + text.substr(0, 20));
      const QRect label(0, 0, ToPixels(runtime.TextWidth(font, text)),
                        ToPixels(runtime.TextHeight(font, text)));
      const QRect drawn =
          QFontMetrics(ToQFont(font))
              .boundingRect(label, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, MultiLine(text));
      EXPECT_TRUE(label.contains(drawn)) << "drawn " << drawn.width() << "x" << drawn.height() << " in "
                                         << label.width() << "x" << label.height();
    }
  }
}

// What a bar paints, measured on its pixels: the fill from the left across the value's share of
// the inside, the gradient from the start colour at the fill's left end to the end colour at its
// right end, and the value with its "%" centred on the bar.
TEST_F(QtFormsTest, ABarPaintsItsGradientAcrossTheFilledPartAndCentresItsText) {
  Window window(runtime, true);
  window.Show();
  QWidget* bar = WidgetOf(window)->childAt(150, 30);
  ASSERT_NE(bar, nullptr);
  auto near = [](QRgb pixel, QColor expected) {  // within 12 of each channel together
    const QColor got(pixel);
    return std::abs(got.red() - expected.red()) + std::abs(got.green() - expected.green()) +
               std::abs(got.blue() - expected.blue()) <=
           12;
  };
  int textWidth = 0;
  for (const auto& [value, filled] : {std::pair{0, 0}, {50, 60}, {100, 120}}) {
    SCOPED_TRACE(value);
    window.bar.SetValue(value);
    const QImage image = bar->grab().toImage();
    ASSERT_EQ(image.size(), QSize(122, 60));
    int fill = 0;  // along the second row inside the frame, above the text
    while (fill < 120 && !near(image.pixel(1 + fill, 2), Qt::white)) ++fill;
    EXPECT_EQ(fill, filled);
    EXPECT_TRUE(!filled ||
                (near(image.pixel(1, 2), QColor(0, 192, 0)) && near(image.pixel(filled, 2), Qt::red)));
    QRect text;  // the dark pixels: the text's ink
    for (int y = 1; y < 59; ++y)
      for (int x = 1; x < 121; ++x)
        if (QColor(image.pixel(x, y)).value() < 80) text |= QRect(x, y, 1, 1);
    EXPECT_NEAR((text.left() + text.right() + 1) / 2.0, 61, 2) << "centred across";
    EXPECT_NEAR((text.top() + text.bottom() + 1) / 2.0, 30, 3) << "centred down";
    EXPECT_GT(text.width(), textWidth) << "0%, 50%, 100%: each text wider";
    textWidth = text.width();
  }
  window.Unload();
}

}  // namespace
}  // namespace sysvane::qt
