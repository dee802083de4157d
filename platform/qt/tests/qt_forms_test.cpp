// Windows and every kind of control on Qt's offscreen platform: twips become pixels, each kind of
// window gets its flags, what the model holds is what the widgets show, a change reaches the screen
// at once (the widget repaints), and the user's clicks reach the model.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabBar>
#include <QTimer>
#include <QWindow>

#include "platform/qt/qt_peers.h"
#include "platform/qt/qt_tab_strip.h"
#include "platform/qt/tests/qt_test_support.h"

namespace sysvane::qt {
namespace {

using forms::Color;
using testing::RunDeferredDeletes;
using testing::RunEvents;

// A window with one control of each kind, each in a cell of 150 x 60 pixels, and a label on the
// tab strip's second page: a titled window like the Monitor window, or a panel with a one-pixel
// border like the roll-up. The label is white, the bar white with black text.
class Gallery : public forms::Form {
 public:
  Gallery(forms::Runtime& runtime, bool titled) : Form(runtime, "Gallery"), titled_(titled) {}
  forms::Label label{*this, "Label"};
  forms::CommandButton button{*this, "Button"};
  forms::CheckBox check{*this, "Check"};
  forms::OptionButton option{*this, "Option"};
  forms::Frame frame{*this, "Frame"};
  forms::Image image{*this, "Image"};
  forms::ProgressBar bar{*this, "Bar"};
  forms::Line line{*this, "Line"};
  forms::TabStrip tabs{*this, "Tabs"};
  forms::Label onPage{*this, "OnPage"};
  forms::Timer timer{*this, "Timer"};
  int ticks = 0;
  std::string heard;  // the window's own mouse and key events

 protected:
  void Form_MouseMove(int button, int shift, forms::Twips x, forms::Twips y) override {
    heard += "move " + std::to_string(button) + std::to_string(shift) + " " + std::to_string(int(x)) + "," +
             std::to_string(int(y)) + " ";
  }
  void Form_KeyDown(int key, int shift) override {
    heard += "key " + std::to_string(key + shift * 1000) + " ";
  }
  void Design() override {
    SetCaption(titled_ ? " Sysvane" : ""), SetControlBox(titled_), SetShowInTaskbar(titled_);
    SetBackColor(Color::Rgb(200, 220, 240)), SetClientSize(9000, 3600), Move(1500, 3000, Width(), Height());
    for (int i = 0; i < 9; ++i) Controls()[size_t(i)]->Move(i % 4 * 2250, i / 4 * 900, 2250, 900);
    label.SetBackColor(Color::Rgb(255, 255, 255)), label.SetCaption("Label");
    bar.SetBackColor(Color::Rgb(255, 255, 255)), bar.SetForeColor(Color::Rgb(0, 0, 0));
    line.SetPoints(2250, 900, 3150, 1350);  // 60 x 30 pixels, down to the right
    tabs.SetTabs({"One", "Two"});
    onPage.SetContainer(&tabs, 1), onPage.Move(150, 450, 1500, 300), onPage.SetCaption("Page");
    timer.SetInterval(20), timer.SetEnabled(true), timer.Tick = [this] { ++ticks; };
  }

 private:
  bool titled_;
};

QWidget* WidgetOf(const forms::Control& control) {
  auto* peer = dynamic_cast<ControlPeer*>(control.peer());
  return peer ? peer->widget() : nullptr;
}

// What the screen shows of a widget: its part of its window's picture.
QImage OnScreen(QWidget* widget) {
  QWidget* window = widget->window();
  const QRect r(widget->mapTo(window, QPoint()), widget->size());
  return window->screen()->grabWindow(window->winId(), r.x(), r.y(), r.width(), r.height()).toImage();
}

// The box of the pixels that are ink: a text's, a colour's.
QRect Ink(const QImage& image, const std::function<bool(QColor)>& ink) {
  QRect box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (ink(image.pixelColor(x, y))) box |= QRect(x, y, 1, 1);
  return box;
}

const forms::Font kBig{"DejaVu Sans", 12, true};
bool IsBig(const QFont& f) {
  return f.family() == "DejaVu Sans" && f.pointSizeF() == 12 && f.bold();
}

class QtFormsTest : public ::testing::Test {
 protected:
  void TearDown() override { RunDeferredDeletes(); }
  QtRuntime runtime;
};

TEST_F(QtFormsTest, TwipsBecomePixelsAndEachKindOfWindowGetsItsFlags) {
  // Titled or a panel; the client area (or the whole frameless panel), the label's place, the kind.
  for (const auto& [titled, size, labelAt, kind] :
       {std::tuple{true, QSize(600, 240), QPoint(0, 0), Qt::Window},
        {false, {602, 242}, {1, 1}, Qt::ToolTip}}) {
    SCOPED_TRACE(titled ? "titled" : "panel");
    Gallery window(runtime, titled);
    window.Show();
    FormWidget* widget = testing::WidgetOf(window);
    // Its title, its size, fixed; the label at its place; its kind, a close button only with a title, and
    // never a minimize or maximize button.
    const Qt::WindowFlags flags = widget->windowFlags();
    EXPECT_EQ(std::tuple(widget->windowTitle(), widget->size(), widget->minimumSize(), widget->maximumSize(),
                         widget->childAt(labelAt)->geometry(), widget->windowType(),
                         bool(flags & Qt::WindowCloseButtonHint),
                         bool(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint))),
              std::tuple(QString(titled ? " Sysvane" : ""), size, size, size, QRect(labelAt, QSize(150, 60)),
                         kind, titled, false));
    RunEvents(2000, [&] { return window.ticks >= 2; });
    EXPECT_GE(window.ticks, 2) << "timers tick while the window is loaded";
    window.Unload();
    const int ticks = window.ticks;
    RunEvents(60);
    EXPECT_EQ(window.ticks, ticks) << "and stop when it unloads";
  }
}

TEST_F(QtFormsTest, TheWindowManagersFrameComesBackToTheModel) {
  Gallery shown(runtime, true);
  shown.Show();
  RunEvents(2000, [&] { return !runtime.framesSeen.empty(); });
  ASSERT_FALSE(runtime.framesSeen.empty());
  const QMargins m = testing::WidgetOf(shown)->windowHandle()->frameMargins();
  const forms::FrameExtents real{m.left() * 15.0, m.top() * 15.0, m.right() * 15.0, m.bottom() * 15.0};
  ASSERT_NE(real, forms::kDesignFrame) << "the platform frames differently from the design";
  EXPECT_EQ(shown.Frame(), real);  // what the model then makes of it is the forms model's FrameTest
  shown.Unload();
}

// A window's first paint waits for the window system to expose it, handling events meanwhile; one
// of them may unload the window (the program told to end as its splash comes up): the paint is then
// left undone, and nothing of the unloaded window is touched (ASan sees it).
TEST_F(QtFormsTest, AWindowUnloadedWhileItsFirstPaintWaitsIsLeftAlone) {
  Gallery window(runtime, false);
  window.Show();
  ASSERT_FALSE(testing::WidgetOf(window)->windowHandle()->isExposed()) << "the wait would not run";
  QTimer::singleShot(0, [&] { window.Unload(); });
  window.Refresh();
  EXPECT_FALSE(window.Loaded());
}

// What a bar paints, measured on its pixels: the fill from the left across the value's share of
// the inside, the gradient from the start colour (green) at the fill's left end to the end colour
// (red) at its right end, and the value with its "%" centred on the bar.
TEST_F(QtFormsTest, ABarPaintsItsGradientAcrossTheFilledPartAndCentresItsText) {
  Gallery window(runtime, true);
  window.Show();
  QWidget* bar = WidgetOf(window.bar);
  auto near = [](QColor got, QColor expected) {  // within 12 of each channel together
    return std::abs(got.red() - expected.red()) + std::abs(got.green() - expected.green()) +
               std::abs(got.blue() - expected.blue()) <=
           12;
  };
  int textWidth = 0;
  for (const auto& [value, filled] : {std::pair{0, 0}, {50, 74}, {100, 148}}) {
    SCOPED_TRACE(value);
    window.bar.SetValue(value);
    const QImage image = bar->grab().toImage().copy(1, 1, 148, 58);  // inside the frame
    int fill = 0;                                                    // along the top row, above the text
    while (fill < 148 && !near(image.pixelColor(fill, 1), Qt::white)) ++fill;
    EXPECT_EQ(fill, filled);
    EXPECT_TRUE(!filled || (near(image.pixelColor(0, 1), QColor(0, 192, 0)) &&
                            near(image.pixelColor(filled - 1, 1), Qt::red)));
    const QRect text = Ink(image, [](QColor c) { return c.value() < 80; });
    EXPECT_NEAR((text.left() + text.right() + 1) / 2.0, 74, 2) << "centred across";
    EXPECT_NEAR((text.top() + text.bottom() + 1) / 2.0, 29, 3) << "centred down";
    EXPECT_GT(text.width(), textWidth) << "0%, 50%, 100%: each text wider";
    textWidth = text.width();
  }
  window.Unload();
}

// Every kind of control on a panel, changed by the program or clicked by the user.
TEST_F(QtFormsTest, EveryKindShowsItsModelAndRepaintsWhenItChanges) {
  Gallery g(runtime, false);
  g.Show();
  QWidget* form = testing::WidgetOf(g);
  RunEvents(5000, [&] { return form->windowHandle()->isExposed(); });
  QWidget *label = WidgetOf(g.label), *image = WidgetOf(g.image), *bar = WidgetOf(g.bar);
  QWidget *line = WidgetOf(g.line), *onPage = WidgetOf(g.onPage);
  auto* button = dynamic_cast<QPushButton*>(WidgetOf(g.button));
  auto* box = dynamic_cast<QCheckBox*>(WidgetOf(g.check));
  auto* opt = dynamic_cast<QRadioButton*>(WidgetOf(g.option));
  auto* frame = dynamic_cast<QGroupBox*>(WidgetOf(g.frame));
  QTabBar* tabs = dynamic_cast<TabStripWidget*>(WidgetOf(g.tabs))->Bar();
  QTimer* timer = form->findChild<QTimer*>();
  const Color kNavy = Color::Rgb(0, 0, 128), kYellow = Color::Rgb(255, 255, 0);
  const QColor navy(0, 0, 128), yellow(255, 255, 0), magenta(255, 0, 255);
  auto at = [](QWidget* widget, int x, int y) { return OnScreen(widget).pixelColor(x, y); };
  auto has = [](QWidget* widget, QColor color) {
    return !Ink(OnScreen(widget), [&](QColor c) { return c == color; }).isEmpty();
  };
  auto ink = [&] { return Ink(OnScreen(label), [](QColor c) { return c != Qt::white; }); };
  auto aligned = [&] {  // where the label's ink lies: at its left or right edge, or centred
    const int left = ink().left(), right = label->width() - 1 - ink().right();
    return left <= 1 ? 'L' : right <= 1 ? 'R' : std::abs(left - right) <= 1 ? 'C' : '?';
  };
  auto lines = [&] { return ink().height() > QFontMetrics(label->font()).lineSpacing() ? 2 : 1; };
  auto diagonal = [&] {  // the corners the line joins
    return at(line, 0, 0) == magenta && at(line, 60, 30) == magenta   ? '\\'
           : at(line, 60, 0) == magenta && at(line, 0, 30) == magenta ? '/'
                                                                      : '?';
  };
  auto timing = [&](bool on, int ms, Qt::TimerType type) {
    return std::tuple(timer->isActive(), timer->interval(), timer->timerType()) == std::tuple(on, ms, type);
  };
  auto key = [](QWidget* widget, int key, Qt::KeyboardModifiers shift = {}) {
    QKeyEvent press(QEvent::KeyPress, key, shift);
    QApplication::sendEvent(widget, &press);
  };
  auto click = [](QWidget* widget, Qt::MouseButton button, int x) {
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(x, 2), widget->mapToGlobal(QPointF(x, 2)), button,
                        {}, {});
    QApplication::sendEvent(widget, &release);
  };
  auto move = [](QWidget* widget, int x, int y) {  // with the left button down and Ctrl
    QMouseEvent event(QEvent::MouseMove, QPointF(x, y), widget->mapToGlobal(QPointF(x, y)), Qt::NoButton,
                      Qt::LeftButton, Qt::ControlModifier);
    QApplication::sendEvent(widget, &event);
  };
  int clicks = 0;
  g.label.Click = g.image.Click = g.button.Click = [&] { ++clicks; };
  const std::string kLong = "one two three four five six seven eight";
  using Align = forms::Alignment;
  // What changes, the widget whose picture then changes, and what the widgets then show.
  std::vector<std::tuple<std::string, std::function<void()>, QWidget*, std::function<bool()>>> rows = {
      {"centred", [&] { g.label.SetAlignment(Align::Center); }, label, [&] { return aligned() == 'C'; }},
      {"right", [&] { g.label.SetAlignment(Align::Right); }, label, [&] { return aligned() == 'R'; }},
      {"wrapped", [&] { g.label.SetCaption(kLong); }, label, [&] { return lines() == 2; }},
      {"unwrapped", [&] { g.label.SetWordWrap(false); }, label, [&] { return lines() == 1; }},
      {"label", [&] { g.label.SetBackColor(kNavy), g.label.SetForeColor(kYellow), g.label.SetFont(kBig); },
       label, [&] { return at(label, 0, 0) == navy && has(label, yellow) && IsBig(label->font()); }},
      {"transparent", [&] { g.label.SetTransparent(true); }, label,
       [&] { return at(label, 0, 0) == QColor(200, 220, 240); }},
      {"clicks: left, right, outside, then on the picture",
       [&] {
         click(label, Qt::LeftButton, 2), click(label, Qt::RightButton, 2), click(label, Qt::LeftButton, -1);
       },
       nullptr, [&] { return click(image, Qt::LeftButton, 2), clicks == 2; }},
      {"button", [&] { g.button.SetCaption("Go"), g.button.SetDefault(true), g.button.SetFont(kBig); },
       button, [&] { return button->text() == "Go" && button->isDefault() && IsBig(button->font()); }},
      {"pressed", [&] { button->click(); }, nullptr, [&] { return clicks == 3; }},
      {"enter, then shift+enter and escape",
       [&] { key(form, Qt::Key_Return), key(form, Qt::Key_Enter, Qt::ShiftModifier); }, nullptr,
       [&] { return key(form, Qt::Key_Escape), clicks == 4 && g.heard == "key 13 key 1013 key 27 "; }},
      {"escape, then enter with the button off", [&] { g.button.SetCancel(true), key(form, Qt::Key_Escape); },
       nullptr, [&] { return g.button.SetEnabled(false), key(form, Qt::Key_Return), clicks == 5; }},
      {"mouse", [&] { g.heard.clear(), move(form, 11, 21), move(WidgetOf(g.check), 3, 4); }, nullptr,
       [&] { return g.heard == "move 12 150,300 "; }},
      {"box", [&] { g.check.SetCaption("Box"), g.check.SetFont(kBig), g.check.SetForeColor(kYellow); }, box,
       [&] { return box->text() == "Box" && IsBig(box->font()) && has(box, yellow); }},
      {"box colour", [&] { g.check.SetBackColor(kNavy); }, box, [&] { return at(box, 0, 0) == navy; }},
      {"checked", [&] { g.check.SetValue(1); }, box, [&] { return box->checkState() == Qt::Checked; }},
      {"greyed", [&] { g.check.SetValue(2); }, box,
       [&] { return box->checkState() == Qt::PartiallyChecked; }},
      {"unchecked", [&] { g.check.SetValue(0); }, box, [&] { return box->checkState() == Qt::Unchecked; }},
      {"box clicked", [&] { box->click(); }, box, [&] { return g.check.Value() == 1 && box->isChecked(); }},
      {"opt", [&] { g.option.SetCaption("Opt"), g.option.SetFont(kBig), g.option.SetBackColor(kNavy); }, opt,
       [&] { return opt->text() == "Opt" && IsBig(opt->font()) && at(opt, 0, 0) == navy; }},
      {"opt on", [&] { g.option.SetValue(true); }, opt, [&] { return opt->isChecked(); }},
      {"opt clicked", [&] { g.option.SetValue(false), opt->click(); }, nullptr,
       [&] { return g.option.Value(); }},
      {"frame", [&] { g.frame.SetCaption("Group"), g.frame.SetFont(kBig); }, frame,
       [&] { return frame->title() == "Group" && IsBig(frame->font()); }},
      {"bar value", [&] { g.bar.SetValue(50); }, bar, nullptr},
      {"bar text", [&] { g.bar.SetTextAfterCaption(" pct"), g.bar.SetFont(kBig); }, bar,
       [&] { return IsBig(bar->font()); }},
      {"bar colours", [&] { g.bar.SetBarColors(kNavy, kNavy); }, bar, [&] { return at(bar, 2, 2) == navy; }},
      {"line colour", [&] { g.line.SetForeColor(Color::Rgb(255, 0, 255)); }, line,
       [&] { return diagonal() == '\\'; }},
      {"line reversed", [&] { g.line.SetPoints(3150, 900, 2250, 1350); }, line,
       [&] { return diagonal() == '/'; }},
      {"tabs",
       [&] {
         g.tabs.SetTabs({"One", "Two", "Three"}), g.tabs.SetFont(kBig);
       },
       tabs, [&] { return tabs->count() == 3 && tabs->tabText(2) == "Three" && IsBig(tabs->font()); }},
      {"tab chosen", [&] { g.tabs.SetTab(1); }, tabs,
       [&] { return tabs->currentIndex() == 1 && onPage->isVisible(); }},
      {"tab clicked", [&] { tabs->setCurrentIndex(2); }, nullptr,
       [&] { return g.tabs.Tab() == 2 && !onPage->isVisible(); }},
      {"window", [&] { g.SetBackColor(Color::Rgb(250, 250, 210)); }, form,  // its border near black
       [&] { return at(form, 500, 200) == QColor(250, 250, 210) && at(form, 0, 0).lightness() <= 40; }},
      {"rounded",
       [&] {
         g.SetRegion({0, 0, 602, 242, 40, 40});
       },
       form, [&] { return !form->mask().contains(QPoint(1, 1)) && form->mask().contains(QPoint(20, 1)); }},
      {"on top", [&] { g.SetOnTop(true); }, nullptr,
       [&] { return bool(form->windowFlags() & Qt::WindowStaysOnTopHint); }},
      {"900 ms", [&] { g.timer.SetInterval(900); }, nullptr,
       [&] { return timing(true, 900, Qt::CoarseTimer); }},
      {"99 ms", [&] { g.timer.SetInterval(99); }, nullptr,
       [&] { return timing(true, 99, Qt::PreciseTimer); }},
      {"100 ms", [&] { g.timer.SetInterval(100); }, nullptr,
       [&] { return timing(true, 100, Qt::CoarseTimer); }},
      {"timer off", [&] { g.timer.SetEnabled(false); }, nullptr, [&] { return !timer->isActive(); }},
      {"0 ms", [&] { g.timer.SetEnabled(true), g.timer.SetInterval(0); }, nullptr,
       [&] { return !timer->isActive(); }},
  };
  for (const char* name : {"app-icon", "splash-bars", "splash-gauge", "icon-stop", "icon-question",
                           "icon-exclamation", "icon-information"})
    rows.emplace_back(
        name, [&g = g, name] { g.image.SetPicture(name); }, image, nullptr);
  rows.emplace_back(
      "closed", [&] { form->close(); }, nullptr, [&] { return !g.Loaded(); });
  for (const auto& [what, change, repainted, shows] : rows) {
    SCOPED_TRACE(what);
    const QImage before = repainted ? OnScreen(repainted) : QImage();
    change();
    if (repainted) {
      RunEvents(5000, [&] { return OnScreen(repainted) != before; });
      EXPECT_NE(OnScreen(repainted), before) << "not repainted";
    }
    EXPECT_TRUE(!shows || shows());
  }
}

// Every control: its box in pixels (within the panel's border, or on its page), shown or hidden,
// enabled or not, its tip, and a focus by tab for those that take one.
TEST_F(QtFormsTest, EveryControlTakesItsPlaceStateAndTip) {
  Gallery g(runtime, false);
  g.Show();
  for (forms::Control* control : g.Controls()) {
    SCOPED_TRACE(control->Name());
    QWidget* widget = WidgetOf(*control);
    const bool focusable = qobject_cast<QAbstractButton*>(widget);
    const bool strong = widget->focusPolicy() == Qt::StrongFocus;
    control->Move(1500, 300, 750, 450);
    control->SetVisible(false), control->SetEnabled(false), control->SetToolTipText("Tip"),
        control->SetTabStop(false);
    const QRect box = control == &g.line     ? QRect(101, 21, 51, 31)
                      : control == &g.onPage ? QRect(100, 20, 50, 30)
                                             : QRect(101, 21, 50, 30);
    EXPECT_EQ(
        std::tuple(widget->geometry(), widget->isVisible(), widget->isEnabled(), widget->toolTip(), strong,
                   widget->focusPolicy()),
        std::tuple(box, false, false, QString("Tip"), focusable, focusable ? Qt::ClickFocus : Qt::NoFocus));
  }
  g.Unload();
}

}  // namespace
}  // namespace sysvane::qt
