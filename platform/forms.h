// The forms runtime: windows and shell services, in the shape the program's windows are written
// in. A window is a Form subclass whose controls are members; every property is kept here, in
// twips, and mirrored onto the screen by a peer that the runtime creates while the form is
// loaded. The Qt runtime draws the peers; the fake runtime of the tests records and fires them.
#pragma once

#include <array>
#include <compare>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/locale.h"

namespace sysvane::forms {

using Twips = double;  // 1440 per inch; 15 per device-independent pixel
constexpr Twips kTwipsPerPixel = 15;

struct Color {
  uint32_t value = 0;  // &H00BBGGRR, or a system colour index when `system` is set
  bool system = false;
  static constexpr Color Rgb(uint8_t r, uint8_t g, uint8_t b) {
    return {uint32_t(r) | (uint32_t(g) << 8) | (uint32_t(b) << 16), false};
  }
  static constexpr Color FromBGR(uint32_t bgr) { return {bgr & 0xFFFFFFu, false}; }
  static constexpr Color System(int index) { return {uint32_t(index), true}; }
  constexpr uint8_t Red() const { return value & 0xFF; }
  constexpr uint8_t Green() const { return (value >> 8) & 0xFF; }
  constexpr uint8_t Blue() const { return (value >> 16) & 0xFF; }
  bool operator==(const Color&) const = default;
};

// System colour indices used by the windows.
namespace SystemColor {
constexpr int WindowBackground = 5;
constexpr int WindowFrame = 6;
constexpr int MenuText = 7;
constexpr int WindowText = 8;
constexpr int HighlightText = 14;
constexpr int ButtonFace = 15;
}  // namespace SystemColor

struct Font {
  std::string name = "MS Sans Serif";
  double size = 8.25;  // points
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool operator==(const Font&) const = default;
};

enum class Alignment { Left, Center, Right };

// Which property changed, so that a peer repaints only what it must.
enum class Prop {
  Geometry,
  Visible,
  Enabled,
  Caption,
  ToolTip,
  Colors,
  Font,
  Alignment,
  Value,
  TabStop,
  Default,
  Picture,
  Tabs,
  SelectedTab,
  TimerState,
  OnTop,
  Region,
  WindowState,
  Repaint,
  Raise,  // a window shown again: to the front of the others, and active
};

// Every property a control shows: a runtime's new peer of a control applies each of them once.
inline constexpr Prop kControlProperties[] = {
    Prop::Colors,  Prop::Font,    Prop::Caption,  Prop::Alignment,   Prop::Value,
    Prop::Default, Prop::Picture, Prop::Tabs,     Prop::SelectedTab, Prop::ToolTip,
    Prop::Enabled, Prop::TabStop, Prop::Geometry, Prop::Visible};

class Form;
class Control;
class Timer;
class TabStrip;

// The screen side of a control, timer or form, owned by the model object while its form is loaded.
class Peer {
 public:
  virtual ~Peer() = default;
  virtual void Changed(Prop prop) = 0;
  virtual void SetFocus() {}
};

// ---------------------------------------------------------------------------------------------
// Controls

class Control {
 public:
  Control(Form& form, std::string name, int index = -1);
  virtual ~Control();
  Control& operator=(const Control&) = delete;
  // An array element made as a copy of element 0: same properties, hidden, no handlers yet.
  Control(const Control& other, int index);

  Form& form() const { return *form_; }
  const std::string& Name() const { return name_; }
  int Index() const { return index_; }  // element index in its array, -1 when not in one

  // A control on a page of a tab strip lies within that page; otherwise within the form's client area.
  void SetContainer(TabStrip* strip, int page);
  TabStrip* ContainerStrip() const { return strip_; }
  int ContainerPage() const { return page_; }

  Twips Left() const { return left_; }
  Twips Top() const { return top_; }
  Twips Width() const { return width_; }
  Twips Height() const { return height_; }
  void SetLeft(Twips v) { Move(v, top_, width_, height_); }
  void SetTop(Twips v) { Move(left_, v, width_, height_); }
  void SetWidth(Twips v) { Move(left_, top_, v, height_); }
  void SetHeight(Twips v) { Move(left_, top_, width_, v); }
  void Move(Twips left, Twips top, Twips width, Twips height);

  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool v);
  const std::string& ToolTipText() const { return toolTip_; }
  void SetToolTipText(const std::string& v);

  Color BackColor() const { return backColor_; }
  void SetBackColor(Color c);
  Color ForeColor() const { return foreColor_; }
  void SetForeColor(Color c);
  const Font& font() const { return font_; }
  void SetFont(const Font& f);

  void SetFocus();
  bool HasFocus() const;

  // Events, raised by the runtime (user actions) or by code as a property changes.
  std::function<void()> Click;
  std::function<void(int button, int shift, Twips x, Twips y)> MouseMove;
  std::function<void()> GotFocus;

  // Called by runtimes.
  void NotifyClick();  // the user pressed the control (a check box toggles first)
  void NotifyMouseMove(int button, int shift, Twips x, Twips y);
  void NotifyGotFocus();

  Peer* peer() const { return peer_.get(); }
  void AttachPeer(std::unique_ptr<Peer> peer) { peer_ = std::move(peer); }
  void DetachPeer() { peer_.reset(); }

 protected:
  void Changed(Prop prop) {
    if (peer_) peer_->Changed(prop);
  }
  virtual void OnUserClick() {}

 private:
  friend class Form;
  Form* form_;
  std::string name_;
  int index_;
  TabStrip* strip_ = nullptr;
  int page_ = -1;
  Twips left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true;
  bool enabled_ = true;
  bool tabStop_ = true;
  std::string toolTip_;
  Color backColor_ = Color::System(SystemColor::ButtonFace);
  Color foreColor_ = Color::System(SystemColor::WindowText);
  Font font_;
  std::unique_ptr<Peer> peer_;
};

class Label : public Control {
 public:
  using Control::Control;
  Label(const Label& other, int index)
      : Control(other, index),
        caption_(other.caption_),
        alignment_(other.alignment_),
        transparent_(other.transparent_),
        wordWrap_(other.wordWrap_) {}
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& v);
  Alignment alignment() const { return alignment_; }
  void SetAlignment(Alignment a);
  bool Transparent() const { return transparent_; }  // shows the container's background
  void SetTransparent(bool v);
  // The caption may break between words onto the next lines of a box tall enough for them; off,
  // it keeps to its own lines and is cut at the box's edge.
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v);

 private:
  std::string caption_;
  Alignment alignment_ = Alignment::Left;
  bool transparent_ = false;
  bool wordWrap_ = true;
};

// The gradient percentage bar: the filled part runs from the start colour to the end colour, and
// the value is drawn followed by TextAfterCaption ("%").
class ProgressBar : public Control {
 public:
  using Control::Control;
  ProgressBar(const ProgressBar& other, int index)
      : Control(other, index),
        value_(other.value_),
        start_(other.start_),
        end_(other.end_),
        textAfter_(other.textAfter_) {}
  int Value() const { return value_; }
  void SetValue(int v);
  Color StartColor() const { return start_; }
  Color EndColor() const { return end_; }
  void SetBarColors(Color start, Color end);
  const std::string& TextAfterCaption() const { return textAfter_; }
  void SetTextAfterCaption(const std::string& v);

 private:
  int value_ = 0;
  Color start_ = Color::Rgb(0, 192, 0);
  Color end_ = Color::Rgb(255, 0, 0);
  std::string textAfter_ = "%";
};

// Value 0 unchecked, 1 checked, 2 grey. Setting a different value raises Click, as a user's
// click does.
class CheckBox : public Control {
 public:
  using Control::Control;
  CheckBox(const CheckBox& other, int index)
      : Control(other, index), caption_(other.caption_), value_(other.value_) {}
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& v);
  int Value() const { return value_; }
  void SetValue(int v);

 protected:
  void OnUserClick() override;

 private:
  std::string caption_;
  int value_ = 0;
};

// A round option button: of the buttons in one frame, at most one is on. Setting one on (by the
// user or by code) turns the others of its frame off and raises Click on the one turned on.
class Frame;
class OptionButton : public Control {
 public:
  using Control::Control;
  OptionButton(const OptionButton& other, int index)
      : Control(other, index), caption_(other.caption_), frame_(other.frame_) {}
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& v);
  bool Value() const { return value_; }
  void SetValue(bool v);
  Frame* Group() const { return frame_; }
  void SetGroup(Frame* frame) { frame_ = frame; }

 protected:
  void OnUserClick() override { SetValueQuietly(true); }

 private:
  void SetValueQuietly(bool v);
  std::string caption_;
  bool value_ = false;
  Frame* frame_ = nullptr;
};

// A captioned group box drawn around the controls of a group (option buttons name it as their
// group); the controls themselves lie beside it in the same container, placed inside its box.
class Frame : public Control {
 public:
  using Control::Control;
  Frame(const Frame& other, int index) : Control(other, index), caption_(other.caption_) {}
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& v);

 private:
  std::string caption_;
};

class CommandButton : public Control {
 public:
  using Control::Control;
  CommandButton(const CommandButton& other, int index)
      : Control(other, index), caption_(other.caption_), default_(other.default_), cancel_(other.cancel_) {}
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& v);
  bool Default() const { return default_; }  // Enter presses it
  void SetDefault(bool v);
  bool Cancel() const { return cancel_; }  // Escape presses it
  void SetCancel(bool v);

 private:
  std::string caption_;
  bool default_ = false;
  bool cancel_ = false;
};

// A picture by name: "app-icon", "splash-bars", "splash-gauge", "icon-stop", "icon-question",
// "icon-exclamation", "icon-information". Stretched to the control's size.
class Image : public Control {
 public:
  using Control::Control;
  Image(const Image& other, int index) : Control(other, index), picture_(other.picture_) {}
  const std::string& Picture() const { return picture_; }
  void SetPicture(const std::string& v);

 private:
  std::string picture_;
};

// A straight separator line from (X1, Y1) to (X2, Y2), drawn in ForeColor.
class Line : public Control {
 public:
  using Control::Control;
  Line(const Line& other, int index) : Control(other, index) {}
  void SetPoints(Twips x1, Twips y1, Twips x2, Twips y2) { Move(x1, y1, x2 - x1, y2 - y1); }
};

// A strip of tabbed pages; Tab is the selected page. Selecting another page, by the user or by
// code, raises TabClick with the previously selected page.
class TabStrip : public Control {
 public:
  using Control::Control;
  const std::vector<std::string>& Tabs() const { return tabs_; }
  void SetTabs(const std::vector<std::string>& captions);
  int Tab() const { return tab_; }
  void SetTab(int tab);
  std::function<void(int previousTab)> TabClick;
  void NotifyTabSelected(int tab) { SetTab(tab); }

 private:
  std::vector<std::string> tabs_;
  int tab_ = 0;
};

// Gives a control created while its form is loaded its peer at once.
void AttachPeerIfLoaded(Control& control);

// An indexed array of controls. Element 0 exists from the start; Load(i) creates element i as a
// copy of element 0 (hidden), Unload(i) destroys it. Array events carry the element's index.
template <class T>
class ControlArray {
 public:
  ControlArray(Form& form, std::string name) {
    auto first = std::make_unique<T>(form, std::move(name), 0);
    Wire(*first);
    elements_.emplace(0, std::move(first));
  }
  T& operator[](int i) { return *elements_.at(i); }
  const T& operator[](int i) const { return *elements_.at(i); }
  bool Exists(int i) const { return elements_.count(i) > 0; }
  int UBound() const { return elements_.rbegin()->first; }
  int Count() const { return int(elements_.size()); }

  // false when element i exists already (or i is negative).
  bool Load(int i) {
    if (i < 0 || Exists(i)) return false;
    auto element = std::make_unique<T>(*elements_.at(0), i);
    Wire(*element);
    T& created = *element;
    elements_.emplace(i, std::move(element));
    AttachPeerIfLoaded(created);
    return true;
  }
  // false for element 0 or an element that does not exist.
  bool Unload(int i) {
    if (i == 0 || !Exists(i)) return false;
    elements_.erase(i);
    return true;
  }
  // Back to element 0 alone, as the form's design has it.
  void Reset() {
    while (elements_.size() > 1) elements_.erase(elements_.rbegin()->first);
  }

  std::function<void(int index)> Click;
  std::function<void(int index, int button, int shift, Twips x, Twips y)> MouseMove;
  std::function<void(int index)> GotFocus;

  template <class F>
  void ForEach(F f) {
    for (auto& [i, e] : elements_) f(*e);
  }

 private:
  void Wire(T& e) {
    int i = e.Index();
    e.Click = [this, i] {
      if (Click) Click(i);
    };
    e.MouseMove = [this, i](int b, int s, Twips x, Twips y) {
      if (MouseMove) MouseMove(i, b, s, x, y);
    };
    e.GotFocus = [this, i] {
      if (GotFocus) GotFocus(i);
    };
  }
  std::map<int, std::unique_ptr<T>> elements_;
};

// A window timer: raises Tick every Interval ms while Enabled and its form is loaded. Enabling it
// (or changing its interval) starts the count afresh.
class Timer {
 public:
  Timer(Form& form, std::string name);
  ~Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  Form& form() const { return *form_; }
  const std::string& Name() const { return name_; }
  int Interval() const { return interval_; }
  void SetInterval(int ms);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);

  std::function<void()> Tick;
  void NotifyTick() {
    if (enabled_ && interval_ > 0 && Tick) Tick();
  }

  Peer* peer() const { return peer_.get(); }
  void AttachPeer(std::unique_ptr<Peer> peer) { peer_ = std::move(peer); }
  void DetachPeer() { peer_.reset(); }

 private:
  Form* form_;
  std::string name_;
  int interval_ = 0;
  bool enabled_ = false;
  std::unique_ptr<Peer> peer_;
};

// ---------------------------------------------------------------------------------------------
// Menus

class MenuItem {
 public:
  // A `checkable` item is one the owner may check: a host that draws the menu itself gives it
  // its box from the start, checked or not, since some hosts never learn later that an item
  // became a toggle.
  explicit MenuItem(std::string name, std::string caption = "", bool checkable = false)
      : name_(std::move(name)), caption_(std::move(caption)), checkable_(checkable) {}
  const std::string& Name() const { return name_; }
  const std::string& Caption() const { return caption_; }  // "-" is a separator
  void SetCaption(const std::string& v) { Assign(caption_, v); }
  bool IsSeparator() const { return caption_ == "-"; }
  bool Checkable() const { return checkable_; }
  bool Checked() const { return checked_; }
  void SetChecked(bool v) { Assign(checked_, v); }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v) { Assign(enabled_, v); }
  bool Visible() const { return visible_; }
  void SetVisible(bool v) { Assign(visible_, v); }
  std::function<void()> Click;
  void NotifyClick() {
    if (enabled_ && !IsSeparator() && Click) Click();
  }
  // Told of every change of caption, check, enabled state or visibility: a tray host that shows
  // the menu by itself keeps its copy in step.
  std::function<void()> StateChanged;

 private:
  template <class T>
  void Assign(T& field, const T& value) {
    if (field == value) return;
    field = value;
    if (StateChanged) StateChanged();
  }
  std::string name_;
  std::string caption_;
  bool checkable_ = false;
  bool checked_ = false;
  bool enabled_ = true;
  bool visible_ = true;
};

// A popup menu: its items, in order. The runtime builds the menu from them each time it pops up.
struct MenuList {
  std::string name;
  std::vector<MenuItem*> items;
};

// ---------------------------------------------------------------------------------------------
// Forms

enum class BorderStyle { None = 0, FixedSingle = 1, Sizable = 2, FixedDialog = 3 };
enum class Modality { Modeless = 0, Modal = 1 };
constexpr int vbNormal = 0;
constexpr int vbMinimized = 1;

// Outer size less client size, per side. A title bar adds 19 px at the top; a border 1 px (3 px
// around a window with a title bar) per side.
struct FrameExtents {
  Twips left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const FrameExtents&) const = default;
};
constexpr FrameExtents kDesignFrame{45, 330, 45, 45};

// Windows a window manager frames alike: the same border style, and both ordinary windows or both
// tool windows (no taskbar button). A dialog's frame says nothing of the Monitor window's.
struct FrameKind {
  BorderStyle border = BorderStyle::FixedSingle;
  bool toolWindow = false;
  auto operator<=>(const FrameKind&) const = default;
};

// A window region with rounded corners, in pixels of the window: CreateRoundRectRgn's arguments.
struct RoundRectRegion {
  int left = 0, top = 0, right = 0, bottom = 0, ellipseWidth = 0, ellipseHeight = 0;
  bool operator==(const RoundRectRegion&) const = default;
};

class Runtime;

class Form {
 public:
  Form(Runtime& runtime, std::string name);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  Runtime& runtime() const { return *runtime_; }
  const std::string& Name() const { return name_; }

  // Lifecycle. Every window exists at most once; showing loads it, and showing it again brings
  // it back (restored, raised and activated); unloading a window that is not loaded does nothing.
  // A modal show returns when the window has been unloaded or hidden.
  bool Loaded() const { return loaded_; }
  void Load();
  void Show(Modality modality = Modality::Modeless);
  void Hide();
  void Unload();
  void Refresh();  // repaint at once

  // Properties. Left, Top, Width and Height are the outer frame in twips; ScaleWidth and
  // ScaleHeight are the client area.
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& v);
  Twips Left() const { return left_; }
  Twips Top() const { return top_; }
  Twips Width() const;
  Twips Height() const;
  void SetLeft(Twips v) { Move(v, top_, Width(), Height()); }
  void SetTop(Twips v) { Move(left_, v, Width(), Height()); }
  void SetWidth(Twips v) { Move(left_, top_, v, Height()); }
  void SetHeight(Twips v) { Move(left_, top_, Width(), v); }
  // The windows' layouts were drawn around the usual frame (kDesignFrame): a new outer size keeps
  // the client area it gives there, whatever frame the window manager puts on; the outer size
  // read back is that client area in the window's real frame. A size equal to the one read back
  // is no change.
  void Move(Twips left, Twips top, Twips width, Twips height);
  Twips ScaleWidth() const;
  Twips ScaleHeight() const;
  void SetClientSize(Twips width, Twips height);  // outer size = client + frame
  // The window manager's frame around a window with a title bar: the one it last reported for
  // this window, else the last it reported for any window of its kind, else the usual frame (a
  // 3-pixel border and a 22-pixel title). A window without title bar has only its own painted border.
  FrameExtents Frame() const;
  FrameKind KindOfFrame() const { return {borderStyle_, !showInTaskbar_}; }

  BorderStyle borderStyle() const { return borderStyle_; }
  void SetBorderStyle(BorderStyle v) { borderStyle_ = v; }
  bool ControlBox() const { return controlBox_; }  // a title bar with its buttons
  void SetControlBox(bool v) { controlBox_ = v; }
  bool HasTitleBar() const;
  bool ShowInTaskbar() const { return showInTaskbar_; }
  void SetShowInTaskbar(bool v) { showInTaskbar_ = v; }
  bool KeyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool v) { keyPreview_ = v; }
  Color BackColor() const { return backColor_; }
  void SetBackColor(Color c);
  const Font& font() const { return font_; }
  void SetFont(const Font& f) { font_ = f; }
  const std::string& Icon() const { return icon_; }
  void SetIcon(const std::string& v) { icon_ = v; }
  bool Visible() const { return visible_; }
  bool OnTop() const { return onTop_; }
  void SetOnTop(bool v);  // SetWindowPos with HWND_TOPMOST / HWND_NOTOPMOST: keeps its place
  const std::optional<RoundRectRegion>& Region() const { return region_; }
  void SetRegion(const RoundRectRegion& r);  // SetWindowRgn
  int WindowState() const { return windowState_; }
  // The window's focused control, or nullptr.
  Control* ActiveControl() const { return activeControl_; }

  const std::vector<Control*>& Controls() const { return controls_; }
  // The order the user tabs through: the members in their order, each array's elements right
  // after its element 0. Peers are made in this order, which a runtime's focus chain follows.
  std::vector<Control*> TabOrder() const;
  const std::vector<Timer*>& Timers() const { return timers_; }

  // Pops a menu up at the mouse position (the window manager's popup-menu call).
  void PopupMenu(MenuList& menu);

  // Called by runtimes when the user acts on the window.
  void NotifyActivate();
  void NotifyMouseMove(int button, int shift, Twips x, Twips y);
  void NotifyKeyDown(int keyCode, int shift);
  void NotifyKeyUp(int keyCode, int shift);
  void NotifyDeactivate();
  void NotifyCloseRequest();  // the window's close command
  void NotifyMoved(Twips left, Twips top);
  // The window manager framed the window (0 without one): its client area stays, its outer size
  // follows.
  void NotifyFrame(const FrameExtents& frame);
  void NotifyWindowState(int state);
  void NotifyFocus(Control* control);

  Peer* peer() const { return peer_.get(); }

 protected:
  // The design-time state of every control; runs at each load, before the peers exist.
  virtual void Design() {}
  virtual void Form_Load() {}
  virtual void Form_Activate() {}
  virtual void Form_QueryUnload() {}
  virtual void Form_Unload() {}
  virtual void Form_MouseMove(int /*button*/, int /*shift*/, Twips /*x*/, Twips /*y*/) {}
  virtual void Form_KeyDown(int /*keyCode*/, int /*shift*/) {}
  virtual void Form_KeyUp(int /*keyCode*/, int /*shift*/) {}
  // Control arrays hold run-time elements; a window resets them in Design.

 private:
  friend class Control;
  friend class Timer;
  void Register(Control* c);
  void Unregister(Control* c);
  void Register(Timer* t);
  void Unregister(Timer* t);
  void Changed(Prop prop) {
    if (peer_) peer_->Changed(prop);
  }

  Runtime* runtime_;
  std::string name_;
  bool loaded_ = false;
  bool visible_ = false;
  bool active_ = false;
  bool unloading_ = false;
  std::string caption_;
  FrameExtents Extra() const;  // the real frame less the designed one
  Twips left_ = 0, top_ = 0;
  Twips width_ = 0, height_ = 0;       // in the designed frame
  std::optional<FrameExtents> frame_;  // as the window manager reported it
  BorderStyle borderStyle_ = BorderStyle::FixedSingle;
  bool controlBox_ = true;
  bool showInTaskbar_ = true;
  bool keyPreview_ = false;
  Color backColor_ = Color::System(SystemColor::ButtonFace);
  Font font_;
  std::string icon_ = "app-icon";
  bool onTop_ = false;
  std::optional<RoundRectRegion> region_;
  int windowState_ = vbNormal;
  Control* activeControl_ = nullptr;
  std::vector<Control*> controls_;
  std::vector<Timer*> timers_;
  std::unique_ptr<Peer> peer_;
};

// ---------------------------------------------------------------------------------------------
// Shell: the notification-area icon

// A square picture the program draws itself: 0xAARRGGBB pixels (straight alpha), row by row from
// the top.
struct ArgbImage {
  int size = 0;  // pixels per side
  std::vector<uint32_t> pixels;
  uint32_t At(int x, int y) const { return pixels[size_t(y) * size_t(size) + size_t(x)]; }
  bool operator==(const ArgbImage&) const = default;
};

// An icon drawn for whatever pixel size the tray gives it (an XEmbed tray's real size, the
// D-Bus sizes, the small-icon size at the monitor's DPI), so that no tray scales it.
class LiveIcon {
 public:
  virtual ~LiveIcon() = default;
  virtual ArgbImage Draw(int pixels) const = 0;
};

constexpr int NIM_ADD = 0;
constexpr int NIM_MODIFY = 1;
constexpr int NIM_DELETE = 2;
constexpr uint32_t NIF_MESSAGE = 1;
constexpr uint32_t NIF_ICON = 2;
constexpr uint32_t NIF_TIP = 4;
constexpr uint32_t WM_MOUSEMOVE = 512;
constexpr uint32_t WM_LBUTTONDOWN = 513;
constexpr uint32_t WM_LBUTTONUP = 514;
constexpr uint32_t WM_LBUTTONDBLCLK = 515;
constexpr uint32_t WM_RBUTTONDOWN = 516;
constexpr uint32_t WM_RBUTTONUP = 517;

struct NOTIFYICONDATA {
  uint32_t cbSize = 0;
  Form* hWnd = nullptr;  // the owner window: its Form_MouseMove receives the notifications
  uint32_t uID = 0;
  uint32_t uFlags = 0;
  uint32_t uCallbackMessage = 0;
  std::string hIcon;  // picture name of the owner's icon
  std::array<char, 64> szTip{};
  // The owner's menu, for a tray host that shows it by itself on a right click (a D-Bus tray)
  // instead of reporting the click; null for none.
  MenuList* menu = nullptr;
  // Shown in place of hIcon when set. A new object means new pixels: a runtime redraws the icon
  // only when the object changes, never for a tip or a label alone.
  std::shared_ptr<const LiveIcon> liveIcon;
  // A short text a host may show beside the icon (an AppIndicator label); empty for none.
  std::string label;
};

// ---------------------------------------------------------------------------------------------
// The runtime

struct TwipsRect {
  Twips Left = 0, Top = 0, Width = 0, Height = 0;
  bool operator==(const TwipsRect&) const = default;
};

struct ScreenInfo {
  Twips Width = 0, Height = 0;  // of the screen that holds the tray icon, else the primary
  Twips TwipsPerPixelX = kTwipsPerPixel;
  Twips TwipsPerPixelY = kTwipsPerPixel;
  Twips Left = 0, Top = 0;  // where that screen lies on a desktop of several screens
};

// Standard message box style values and answers.
constexpr int vbOKOnly = 0;
constexpr int vbYesNo = 4;
constexpr int vbCritical = 16;
constexpr int vbQuestion = 32;
constexpr int vbExclamation = 48;
constexpr int vbInformation = 64;
constexpr int vbOK = 1;
constexpr int vbCancel = 2;
constexpr int vbYes = 6;
constexpr int vbNo = 7;
constexpr int vbKeyEscape = 27;
constexpr int vbKeyReturn = 13;

class Runtime {
 public:
  virtual ~Runtime() = default;

  // Peers, created while a form is loaded and destroyed when it unloads.
  virtual std::unique_ptr<Peer> CreateFormPeer(Form& form) = 0;
  virtual std::unique_ptr<Peer> CreateControlPeer(Control& control) = 0;
  virtual std::unique_ptr<Peer> CreateTimerPeer(Timer& timer) = 0;
  // Runs a nested message loop until `form` is unloaded or hidden.
  virtual void RunModal(Form& form) = 0;
  // Waits without handling any message, on a monotonic clock, without spinning the processor.
  virtual void PauseWithoutMessages(int milliseconds) = 0;

  // The screen that holds the tray icon (else the primary), its work area, and every work area.
  virtual ScreenInfo Screen() = 0;
  virtual TwipsRect WorkArea() = 0;
  virtual std::vector<TwipsRect> WorkAreas() = 0;

  // Text measured in a font: the widest line, and the height of all lines.
  virtual Twips TextWidth(const Font& font, const std::string& text) = 0;
  virtual Twips TextHeight(const Font& font, const std::string& text) = 0;

  // Shell_NotifyIcon; false when the shell refused.
  virtual bool ShellNotifyIcon(int message, const NOTIFYICONDATA& data) = 0;
  // A notification area exists on the desktop to hold the icon.
  virtual bool SystemTrayAvailable() = 0;
  // Where the icon is: its place when the tray tells it, else the pointer's position (a rectangle
  // of one pixel) at the last click on the icon; nullopt when neither is known.
  virtual std::optional<TwipsRect> TrayIconPlace() = 0;
  virtual void PopupMenu(Form& owner, MenuList& menu) = 0;
  virtual void SetForegroundWindow(Form& form) = 0;
  // The standard message box; returns the answer (vbOK, vbYes, ...).
  virtual int MsgBox(const std::string& prompt, int style, const std::string& title) = 0;

  virtual LocaleInfo Locale() = 0;
  // Another instance of this program is running (App.PrevInstance).
  virtual bool PrevInstance() = 0;
  // Ends the program once the current handler returns.
  virtual void End() = 0;

  // Told when the notification area that held the icon has gone away (a panel restarted,
  // crashed or removed); SystemTrayAvailable says when one is back.
  std::function<void()> TrayLost;

  // The frame the window manager last put around a window with a title bar, by kind of window.
  std::map<FrameKind, FrameExtents> framesSeen;
};

}  // namespace sysvane::forms
