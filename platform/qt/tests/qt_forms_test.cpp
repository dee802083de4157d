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
#include <map>

#include "platform/qt/qt_controls.h"
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
  Gallery(forms::Runtime& runtime, bool titled) : Form(runtime, "Gallery"), titled(titled) {}
  const bool titled;
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
  int ticks = 0, clicks = 0;
  std::string heard;  // the window's own mouse and key events

 protected:
  void Form_MouseMove(int button, int shift, forms::Twips x, forms::Twips y) override {
    heard += "move " + std::to_string(button) + std::to_string(shift) + " " + std::to_string(int(x)) + "," +
             std::to_string(int(y)) + " ";
  }
  void Form_KeyDown(int key, int shift) override { heard += std::to_string(key + shift * 1000) + " "; }
  void Design() override {
    SetCaption(titled ? " Sysvane" : "");
    SetControlBox(titled);
    SetShowInTaskbar(titled);
    SetBackColor(Color::Rgb(200, 220, 240));
    SetClientSize(9000, 3600);
    Move(1500, 3000, Width(), Height());
    for (int i = 0; i < 9; ++i) Controls()[size_t(i)]->Move(i % 4 * 2250, i / 4 * 900, 2250, 900);
    label.SetBackColor(Color::Rgb(255, 255, 255));
    label.SetCaption("Label");
    bar.SetBackColor(Color::Rgb(255, 255, 255));
    bar.SetForeColor(Color::Rgb(0, 0, 0));
    line.SetPoints(6750, 900, 7650, 1350);  // 60 x 30 pixels, down to the right
    tabs.SetTabs({"One", "Two"});
    onPage.SetContainer(&tabs, 1);
    onPage.Move(150, 450, 1500, 300);
    onPage.SetCaption("Page");
    onPage.SetBackColor(Color::Rgb(255, 255, 255));
    timer.SetInterval(20);
    timer.SetEnabled(true);
    timer.Tick = [this] { ++ticks; };
  }
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

// The colour most pixels have but `back`: the colour of a text's strokes, where they are thick.
QColor Commonest(const QImage& image, QColor back) {
  std::map<QRgb, int> counts;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) counts[image.pixel(x, y)] += image.pixelColor(x, y) != back;
  return QColor(std::ranges::max_element(counts, {}, [](const auto& count) { return count.second; })->first);
}

const forms::Font kBig{"DejaVu Sans", 12, true};
const auto IsBig = [](QFont f) { return f.family() == "DejaVu Sans" && f.pointSizeF() == 12 && f.bold(); };

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
    RunEvents(2000, [&] { return window.ticks >= 2 && (!titled || !runtime.framesSeen.empty()); });
    EXPECT_GE(window.ticks, 2) << "timers tick while the window is loaded";
    // The window manager's frame comes back to the model (what the model makes of it is its FrameTest).
    const QMargins m = widget->windowHandle()->frameMargins();
    const forms::FrameExtents frame{m.left() * 15.0, m.top() * 15.0, m.right() * 15.0, m.bottom() * 15.0};
    if (titled) {
      EXPECT_EQ(std::pair(window.Frame(), frame != forms::kDesignFrame), std::pair(frame, true));
    }
    // Every control: its box in pixels (within the panel's border, or on its page), shown or hidden,
    // enabled or not, its tip, and a focus by tab for those that take one.
    for (forms::Control* control : window.Controls()) {
      SCOPED_TRACE(control->Name());
      QWidget* widget = WidgetOf(*control);
      const bool focusable = qobject_cast<QAbstractButton*>(widget),
                 strong = widget->focusPolicy() == Qt::StrongFocus;
      control->Move(1500, 300, 750, 450);
      control->SetVisible(false);
      control->SetEnabled(false);
      control->SetToolTipText("Tip");
      control->SetTabStop(false);
      const QRect box =
          control == &window.onPage
              ? QRect(100, 20, 50, 30)
              : QRect(labelAt + QPoint(100, 20), QSize(50, 30) + QSize(1, 1) * (control == &window.line));
      EXPECT_EQ(
          std::tuple(widget->geometry(), widget->isVisible(), widget->isEnabled(), widget->toolTip(), strong,
                     widget->focusPolicy()),
          std::tuple(box, false, false, QString("Tip"), focusable, focusable ? Qt::ClickFocus : Qt::NoFocus));
    }
    window.Unload();
    const int ticks = window.ticks;
    RunEvents(60);
    EXPECT_EQ(window.ticks, ticks) << "and stop when it unloads";
  }
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
  auto near = [](QColor a, QColor b) {  // within 12 of each channel together
    return qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue()) <= 12;
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

// Everything a panel shows and its model heard, fact by fact: each control's picture on the screen
// (while shown); its text, state and colour at its corner (a label's, box's or option's); where a
// label's text lies, on how many lines, in what colour; the large font;
// the window's colour, border, shape and layer; the timer; what reached the model.
std::map<std::string, std::string> Facts(Gallery& g) {
  std::map<std::string, std::string> facts;
  auto colour = [](QColor c) { return " " + c.name().toStdString(); };
  for (forms::Control* control : g.Controls()) {
    QWidget* widget = WidgetOf(*control);
    const QImage seen = OnScreen(widget);
    std::string& fact = facts[control->Name()];
    if (!widget->isVisible()) {
      fact = "hidden";
      continue;
    }
    facts[control->Name() + " picture"] =
        std::to_string(qHashBits(seen.constBits(), size_t(seen.sizeInBytes())));
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) fact += button->text().toStdString();
    if (auto* box = qobject_cast<QCheckBox*>(widget))
      fact += std::array{" clear", " grey", " checked"}[box->checkState()];
    if (auto* option = qobject_cast<QRadioButton*>(widget)) fact += option->isChecked() ? " on" : " off";
    if (auto* button = qobject_cast<QPushButton*>(widget); button && button->isDefault()) fact += " default";
    if (auto* frame = qobject_cast<QGroupBox*>(widget)) fact += frame->title().toStdString();
    if (auto* strip = dynamic_cast<TabStripWidget*>(widget)) {
      for (int i = 0; i < strip->Bar()->count(); ++i)
        fact += (i ? " " : "") + strip->Bar()->tabText(i).toStdString() +
                (i == strip->Bar()->currentIndex() ? "*" : "");
      widget = strip->Bar();  // the strip's font is its tabs'
    }
    const bool label = dynamic_cast<LabelWidget*>(widget), box = qobject_cast<QAbstractButton*>(widget);
    if (label || (box && !qobject_cast<QPushButton*>(widget))) fact += colour(seen.pixelColor(0, 0));
    if (label) {
      const QColor back = seen.pixelColor(0, 0);
      const QRect ink = Ink(seen, [&](QColor c) { return c != back; });
      const int left = ink.left(), right = seen.width() - 1 - ink.right();
      fact += left <= 1 ? " left" : right <= 1 ? " right" : std::abs(left - right) <= 1 ? " centre" : " ?";
      fact += ink.height() > QFontMetrics(widget->font()).lineSpacing() ? " lines" : " line";
      if (IsBig(widget->font())) fact += colour(Commonest(seen, back));
    }
    if (IsBig(widget->font())) fact += " big";
  }
  QWidget* form = testing::WidgetOf(g);
  const QImage window = OnScreen(form);
  QTimer* timer = form->findChild<QTimer*>();
  facts["Window"] = colour(window.pixelColor(500, 200)) +
                    (window.pixelColor(300, 0).lightness() <= 40 ? " dark border" : "") +
                    (form->mask().isEmpty() ? "" : " rounded") +
                    (form->windowFlags() & Qt::WindowStaysOnTopHint ? " on top" : "");
  const std::string precise = timer->timerType() == Qt::PreciseTimer ? " precise" : "";
  facts["Timer"] = timer->isActive() ? std::to_string(timer->interval()) + precise : "off";
  // What reached the model: clicks, the box's and the option's values, the chosen tab, the window's events.
  facts["clicks"] = std::to_string(g.clicks), facts["heard"] = g.heard,
  facts["tab"] = std::to_string(g.tabs.Tab());
  facts["values"] = std::to_string(g.check.Value()) + " " + std::to_string(g.option.Value());
  return facts;
}

// What changed between two sets of facts: a picture by its name alone.
std::string Changes(const std::map<std::string, std::string>& before,
                    const std::map<std::string, std::string>& after) {
  std::string changes;
  for (const auto& [name, value] : after) {
    if (before.count(name) && before.at(name) == value) continue;
    const std::string shown = value.substr(std::min(value.find_first_not_of(' '), value.size()));
    changes += (changes.empty() ? "" : "; ") + name + (name.ends_with("picture") ? "" : ": " + shown);
  }
  return changes;
}

// Every kind of control on a panel, changed by the program or used by the user: what changes on the
// screen and in the model, and nothing else.
TEST_F(QtFormsTest, EveryKindShowsItsModelAndRepaintsWhenItChanges) {
  Gallery g(runtime, false);
  g.Show();
  QWidget* form = testing::WidgetOf(g);
  RunEvents(5000, [&] { return form->windowHandle()->isExposed(); });
  auto* box = dynamic_cast<QAbstractButton*>(WidgetOf(g.check));
  auto* option = dynamic_cast<QAbstractButton*>(WidgetOf(g.option));
  QTabBar* tabs = dynamic_cast<TabStripWidget*>(WidgetOf(g.tabs))->Bar();
  auto send = [](QWidget* widget, QEvent&& event) { QApplication::sendEvent(widget, &event); };
  auto key = [&](int key, Qt::KeyboardModifiers shift = {}) {
    send(form, QKeyEvent(QEvent::KeyPress, key, shift));
  };
  // A button released at (x, y), or with none (Qt::NoButton) a move with the left button down and Ctrl.
  auto mouse = [&](QWidget* widget, Qt::MouseButton button, int x, int y = 2) {
    const bool move = button == Qt::NoButton;
    send(widget, QMouseEvent(move ? QEvent::MouseMove : QEvent::MouseButtonRelease, QPointF(x, y),
                             widget->mapToGlobal(QPointF(x, y)), button, move ? Qt::LeftButton : Qt::NoButton,
                             move ? Qt::ControlModifier : Qt::NoModifier));
  };
  QWidget *label = WidgetOf(g.label), *image = WidgetOf(g.image);
  g.label.Click = g.image.Click = g.button.Click = [&] { ++g.clicks; };
  const Color kNavy = Color::Rgb(0, 0, 128), kYellow = Color::Rgb(255, 255, 0);
  const std::vector<std::string> three = {"One", "Two", "Three"};
  using Align = forms::Alignment;
  // What changes, and what then changes on the screen and in the model.
  std::vector<std::pair<std::function<void()>, std::string>> rows = {
      {[&] { g.label.SetAlignment(Align::Center); }, "Label: #ffffff centre line; Label picture"},
      {[&] { g.label.SetAlignment(Align::Right); }, "Label: #ffffff right line; Label picture"},
      {[&] { g.label.SetCaption("one two three four five six seven eight"); },  // wider than the label
       "Label: #ffffff right lines; Label picture"},
      {[&] { g.label.SetWordWrap(false); }, "Label: #ffffff left line; Label picture"},
      {[&] { g.label.SetBackColor(kNavy), g.label.SetForeColor(kYellow), g.label.SetFont(kBig); },
       "Label: #000080 left line #ffff00 big; Label picture"},
      {[&] { g.label.SetTransparent(true); }, "Label: #c8dcf0 left line #ffff00 big; Label picture"},
      {[&] { mouse(label, Qt::LeftButton, 2), mouse(label, Qt::RightButton, 2); }, "clicks: 1"},
      {[&] { mouse(label, Qt::LeftButton, -1), mouse(image, Qt::LeftButton, 2); }, "clicks: 2"},
      {[&] { g.button.SetCaption("Go"), g.button.SetDefault(true), g.button.SetFont(kBig); },
       "Button: Go default big; Button picture"},
      {[&] { dynamic_cast<QAbstractButton*>(WidgetOf(g.button))->click(); }, "clicks: 3"},
      {[&] { key(Qt::Key_Return), key(Qt::Key_Enter, Qt::ShiftModifier), key(Qt::Key_Escape); },
       "clicks: 4; heard: 13 1013 27 "},
      {[&] { g.button.SetCancel(true), key(Qt::Key_Escape); }, "clicks: 5; heard: 13 1013 27 27 "},
      {[&] { g.button.SetEnabled(false), key(Qt::Key_Return); }, "Button picture; heard: 13 1013 27 27 13 "},
      {[&] { g.heard.clear(), mouse(form, Qt::NoButton, 11, 21), mouse(box, Qt::NoButton, 3, 4); },
       "heard: move 12 150,300 "},
      {[&] { g.check.SetCaption("Box"), g.check.SetFont(kBig); },
       "Check: Box clear #c8dcf0 big; Check picture"},
      {[&] { g.check.SetBackColor(kNavy); }, "Check: Box clear #000080 big; Check picture"},
      {[&] { g.check.SetValue(1); }, "Check: Box checked #000080 big; Check picture; values: 1 0"},
      {[&] { g.check.SetValue(2); }, "Check: Box grey #000080 big; Check picture; values: 2 0"},
      {[&] { g.check.SetValue(0); }, "Check: Box clear #000080 big; Check picture; values: 0 0"},
      {[&] { box->click(); }, "Check: Box checked #000080 big; Check picture; values: 1 0"},
      {[&] { g.option.SetCaption("Opt"), g.option.SetFont(kBig), g.option.SetBackColor(kNavy); },
       "Option: Opt off #000080 big; Option picture"},
      {[&] { option->click(); }, "Option: Opt on #000080 big; Option picture; values: 1 1"},
      {[&] { g.frame.SetCaption("Group"), g.frame.SetFont(kBig); }, "Frame: Group big; Frame picture"},
      {[&] { g.bar.SetValue(50); }, "Bar picture"},
      {[&] { g.bar.SetTextAfterCaption(" pct"), g.bar.SetFont(kBig); }, "Bar: big; Bar picture"},
      {[&] { g.bar.SetBarColors(kNavy, kYellow); }, "Bar picture"},
      {[&] { g.line.SetForeColor(Color::Rgb(255, 0, 255)); }, "Line picture"},
      {[&] { g.line.SetPoints(7650, 900, 6750, 1350); }, "Line picture"},
      {[&] { g.tabs.SetTabs(three), g.tabs.SetFont(kBig); }, "Tabs: One* Two Three big; Tabs picture"},
      {[&] { g.tabs.SetTab(1); },
       "OnPage: #ffffff left line; OnPage picture; Tabs: One Two* Three big; Tabs picture; tab: 1"},
      {[&] { tabs->setCurrentIndex(2); }, "OnPage: hidden; Tabs: One Two Three* big; Tabs picture; tab: 2"},
      {[&] { g.SetBackColor(Color::Rgb(250, 250, 210)); },  // seen through the controls without a colour
       "Button picture; Frame picture; Image picture; Label: #fafad2 left line #ffff00 big; Label picture; "
       "Line picture; Tabs picture; Window: #fafad2 dark border"},
      {[&] { g.SetRegion(forms::RoundRectRegion(0, 0, 602, 242, 40, 40)); },
       "Label picture; Window: #fafad2 dark border rounded"},
      {[&] { g.SetOnTop(true); }, "Window: #fafad2 dark border rounded on top"},
      {[&] { g.timer.SetInterval(99); }, "Timer: 99 precise"},
      {[&] { g.timer.SetInterval(100); }, "Timer: 100"},
      {[&] { g.timer.SetEnabled(false); }, "Timer: off"},
      {[&] { g.timer.SetEnabled(true), g.timer.SetInterval(0); }, ""},
  };
  for (const char* name : {"app-icon", "splash-bars", "splash-gauge", "icon-stop", "icon-question",
                           "icon-exclamation", "icon-information"})
    rows.emplace_back([&g = g, name] { g.image.SetPicture(name); }, "Image picture");
  for (const auto& [change, changes] : rows) {
    SCOPED_TRACE(changes);
    const auto before = Facts(g);
    change();
    RunEvents(5000, [&] { return Changes(before, Facts(g)) == changes; });
    ASSERT_EQ(Changes(before, Facts(g)), changes) << "and the rows after it are not tried";
  }
  form->close();
  EXPECT_FALSE(g.Loaded());
}

}  // namespace
}  // namespace sysvane::qt
