#include "platform/forms.h"

#include <algorithm>

namespace sysvane::forms {

namespace {
template <class T, class V>
bool Assign(T& field, const V& value) {
  if (field == value) return false;
  field = value;
  return true;
}
}  // namespace

// ---------------------------------------------------------------------------------------------
// Control

Control::Control(Form& form, std::string name, int index)
    : form_(&form), name_(std::move(name)), index_(index) {
  form_->Register(this);
}

Control::Control(const Control& other, int index)
    : form_(other.form_),
      name_(other.name_),
      index_(index),
      strip_(other.strip_),
      page_(other.page_),
      left_(other.left_),
      top_(other.top_),
      width_(other.width_),
      height_(other.height_),
      visible_(false),
      enabled_(other.enabled_),
      tabStop_(other.tabStop_),
      toolTip_(other.toolTip_),
      backColor_(other.backColor_),
      foreColor_(other.foreColor_),
      font_(other.font_) {
  form_->Register(this);
}

Control::~Control() {
  form_->Unregister(this);
}

void AttachPeerIfLoaded(Control& control) {
  if (control.form().Loaded()) control.AttachPeer(control.form().runtime().CreateControlPeer(control));
}

void Control::SetContainer(TabStrip* strip, int page) {
  strip_ = strip;
  page_ = strip ? page : -1;
}

void Control::Move(Twips left, Twips top, Twips width, Twips height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  Changed(Prop::Geometry);
}

void Control::SetVisible(bool v) {
  if (Assign(visible_, v)) Changed(Prop::Visible);
}
void Control::SetEnabled(bool v) {
  if (Assign(enabled_, v)) Changed(Prop::Enabled);
}
void Control::SetTabStop(bool v) {
  if (Assign(tabStop_, v)) Changed(Prop::TabStop);
}
void Control::SetToolTipText(const std::string& v) {
  if (Assign(toolTip_, v)) Changed(Prop::ToolTip);
}
void Control::SetBackColor(Color c) {
  if (Assign(backColor_, c)) Changed(Prop::Colors);
}
void Control::SetForeColor(Color c) {
  if (Assign(foreColor_, c)) Changed(Prop::Colors);
}
void Control::SetFont(const Font& f) {
  if (Assign(font_, f)) Changed(Prop::Font);
}

void Control::SetFocus() {
  form_->activeControl_ = this;
  if (peer_) peer_->SetFocus();
}

bool Control::HasFocus() const {
  return form_->activeControl_ == this;
}

void Control::NotifyClick() {
  if (!enabled_) return;
  OnUserClick();
  if (Click) Click();
}

void Control::NotifyMouseMove(int button, int shift, Twips x, Twips y) {
  if (MouseMove) MouseMove(button, shift, x, y);
}

void Control::NotifyGotFocus() {
  form_->activeControl_ = this;
  if (GotFocus) GotFocus();
}

// ---------------------------------------------------------------------------------------------
// Controls with their own properties

void Label::SetCaption(const std::string& v) {
  if (Assign(caption_, v)) Changed(Prop::Caption);
}
void Label::SetAlignment(Alignment a) {
  if (Assign(alignment_, a)) Changed(Prop::Alignment);
}
void Label::SetTransparent(bool v) {
  if (Assign(transparent_, v)) Changed(Prop::Colors);
}
void Label::SetWordWrap(bool v) {
  if (Assign(wordWrap_, v)) Changed(Prop::Alignment);  // how the text is laid out in its box
}

void ProgressBar::SetValue(int v) {
  if (Assign(value_, v)) Changed(Prop::Value);
}
void ProgressBar::SetBarColors(Color start, Color end) {
  bool changed = Assign(start_, start);
  changed = Assign(end_, end) || changed;
  if (changed) Changed(Prop::Colors);
}
void ProgressBar::SetTextAfterCaption(const std::string& v) {
  if (Assign(textAfter_, v)) Changed(Prop::Caption);
}

void CheckBox::SetCaption(const std::string& v) {
  if (Assign(caption_, v)) Changed(Prop::Caption);
}
void CheckBox::SetValue(int v) {
  if (!Assign(value_, v)) return;
  Changed(Prop::Value);
  if (Click) Click();
}
void CheckBox::OnUserClick() {
  value_ = value_ == 1 ? 0 : 1;
  Changed(Prop::Value);
}

void OptionButton::SetCaption(const std::string& v) {
  if (Assign(caption_, v)) Changed(Prop::Caption);
}
void OptionButton::SetValue(bool v) {
  SetValueQuietly(v);
  if (v && Click) Click();
}
void OptionButton::SetValueQuietly(bool v) {
  if (!Assign(value_, v)) return;
  Changed(Prop::Value);
  if (!v) return;
  for (Control* c : form().Controls()) {
    auto* other = dynamic_cast<OptionButton*>(c);
    if (other && other != this && other->frame_ == frame_) other->SetValueQuietly(false);
  }
}

void Frame::SetCaption(const std::string& v) {
  if (Assign(caption_, v)) Changed(Prop::Caption);
}

void CommandButton::SetCaption(const std::string& v) {
  if (Assign(caption_, v)) Changed(Prop::Caption);
}
void CommandButton::SetDefault(bool v) {
  if (Assign(default_, v)) Changed(Prop::Default);
}
void CommandButton::SetCancel(bool v) {
  if (Assign(cancel_, v)) Changed(Prop::Default);
}

void Image::SetPicture(const std::string& v) {
  if (Assign(picture_, v)) Changed(Prop::Picture);
}

void TabStrip::SetTabs(const std::vector<std::string>& captions) {
  if (Assign(tabs_, captions)) Changed(Prop::Tabs);
}
void TabStrip::SetTab(int tab) {
  if (tab < 0 || tab >= int(tabs_.size()) || tab == tab_) return;
  int previous = tab_;
  tab_ = tab;
  Changed(Prop::SelectedTab);
  if (TabClick) TabClick(previous);
}

// ---------------------------------------------------------------------------------------------
// Timer

Timer::Timer(Form& form, std::string name) : form_(&form), name_(std::move(name)) {
  form_->Register(this);
}
Timer::~Timer() {
  form_->Unregister(this);
}

void Timer::SetInterval(int ms) {
  if (!Assign(interval_, ms)) return;
  if (peer_) peer_->Changed(Prop::TimerState);
}
void Timer::SetEnabled(bool v) {
  if (!Assign(enabled_, v)) return;
  if (peer_) peer_->Changed(Prop::TimerState);
}

// ---------------------------------------------------------------------------------------------
// Form

Form::Form(Runtime& runtime, std::string name) : runtime_(&runtime), name_(std::move(name)) {}

Form::~Form() {
  // Members (controls, timers) are gone by now; only the window's own peer remains.
  peer_.reset();
}

void Form::Register(Control* c) {
  controls_.push_back(c);
}
void Form::Unregister(Control* c) {
  controls_.erase(std::remove(controls_.begin(), controls_.end(), c), controls_.end());
  if (activeControl_ == c) activeControl_ = nullptr;
}
void Form::Register(Timer* t) {
  timers_.push_back(t);
}
void Form::Unregister(Timer* t) {
  timers_.erase(std::remove(timers_.begin(), timers_.end(), t), timers_.end());
}

void Form::Load() {
  if (loaded_) return;
  loaded_ = true;
  visible_ = false;
  active_ = false;
  activeControl_ = nullptr;
  windowState_ = vbNormal;
  Design();
  peer_ = runtime_->CreateFormPeer(*this);
  // Copies: a peer may be created for a control that the loop has not reached yet.
  for (Control* c : TabOrder()) {
    if (!c->peer()) c->AttachPeer(runtime_->CreateControlPeer(*c));
  }
  for (Timer* t : std::vector<Timer*>(timers_)) t->AttachPeer(runtime_->CreateTimerPeer(*t));
  Form_Load();
}

std::vector<Control*> Form::TabOrder() const {
  // Elements loaded at run time register after every member: they join element 0 of their array.
  std::map<std::string, size_t> firstOfName;
  for (size_t i = 0; i < controls_.size(); ++i) firstOfName.emplace(controls_[i]->Name(), i);
  std::vector<Control*> order(controls_);
  std::stable_sort(order.begin(), order.end(), [&](const Control* a, const Control* b) {
    return firstOfName.at(a->Name()) < firstOfName.at(b->Name());
  });
  return order;
}

void Form::Show(Modality modality) {
  Load();
  if (!loaded_) return;  // the load unloaded the window again
  if (!visible_) {
    visible_ = true;
    Changed(Prop::Visible);
    NotifyActivate();
  } else {
    // Asked for again while it shows: the user wants it in front, not behind other windows.
    if (windowState_ == vbMinimized) {
      windowState_ = vbNormal;
      Changed(Prop::WindowState);
    }
    Changed(Prop::Raise);
  }
  if (modality == Modality::Modal && loaded_ && visible_) runtime_->RunModal(*this);
}

void Form::Hide() {
  if (!visible_) return;
  visible_ = false;
  active_ = false;
  Changed(Prop::Visible);
}

void Form::Unload() {
  if (!loaded_ || unloading_) return;
  unloading_ = true;
  Form_QueryUnload();
  Form_Unload();
  for (Timer* t : timers_) t->DetachPeer();
  for (Control* c : controls_) c->DetachPeer();
  peer_.reset();
  loaded_ = false;
  visible_ = false;
  active_ = false;
  activeControl_ = nullptr;
  unloading_ = false;
}

void Form::Refresh() {
  Changed(Prop::Repaint);
}

void Form::SetCaption(const std::string& v) {
  if (Assign(caption_, v)) Changed(Prop::Caption);
}

void Form::Move(Twips left, Twips top, Twips width, Twips height) {
  // Sizes read back carry the frame's difference from the design; sizes set do not.
  const Twips designWidth = width == Width() ? width_ : width;
  const Twips designHeight = height == Height() ? height_ : height;
  if (left == left_ && top == top_ && designWidth == width_ && designHeight == height_) return;
  left_ = left;
  top_ = top;
  width_ = designWidth;
  height_ = designHeight;
  Changed(Prop::Geometry);
}

bool Form::HasTitleBar() const {
  return borderStyle_ != BorderStyle::None && (controlBox_ || !caption_.empty());
}

FrameExtents Form::Frame() const {
  if (borderStyle_ == BorderStyle::None) return {};
  if (!HasTitleBar()) return {15, 15, 15, 15};
  if (frame_) return *frame_;
  const auto seen = runtime_->framesSeen.find(KindOfFrame());
  return seen != runtime_->framesSeen.end() ? seen->second : kDesignFrame;
}

FrameExtents Form::Extra() const {
  if (!HasTitleBar()) return {};
  const FrameExtents f = Frame();
  return {f.left - kDesignFrame.left, f.top - kDesignFrame.top, f.right - kDesignFrame.right,
          f.bottom - kDesignFrame.bottom};
}

Twips Form::Width() const {
  const FrameExtents extra = Extra();
  return width_ + extra.left + extra.right;
}

Twips Form::Height() const {
  const FrameExtents extra = Extra();
  return height_ + extra.top + extra.bottom;
}

void Form::NotifyFrame(const FrameExtents& frame) {
  if (!HasTitleBar()) return;  // a frameless window paints its own border
  const FrameExtents before = Frame();
  const Twips oldRight = left_ + Width(), oldBottom = top_ + Height();
  runtime_->framesSeen[KindOfFrame()] = frame;
  frame_ = frame;
  if (before == frame) return;
  // A window placed against the work area's bottom or right edge with a frame guessed stays there.
  for (const TwipsRect& area : runtime_->WorkAreas()) {
    if (left_ < area.Left || left_ >= area.Left + area.Width || top_ < area.Top ||
        top_ >= area.Top + area.Height)
      continue;
    if (oldBottom == area.Top + area.Height) top_ = oldBottom - Height();
    if (oldRight == area.Left + area.Width) left_ = oldRight - Width();
    break;
  }
  Changed(Prop::Geometry);
}

Twips Form::ScaleWidth() const {
  const FrameExtents f = HasTitleBar() ? kDesignFrame : Frame();
  return std::max<Twips>(0, width_ - f.left - f.right);
}

Twips Form::ScaleHeight() const {
  const FrameExtents f = HasTitleBar() ? kDesignFrame : Frame();
  return std::max<Twips>(0, height_ - f.top - f.bottom);
}

void Form::SetClientSize(Twips width, Twips height) {
  const FrameExtents f = HasTitleBar() ? kDesignFrame : Frame();
  const Twips outerWidth = width + f.left + f.right;
  const Twips outerHeight = height + f.top + f.bottom;
  if (outerWidth == width_ && outerHeight == height_) return;
  width_ = outerWidth;
  height_ = outerHeight;
  Changed(Prop::Geometry);
}

void Form::SetBackColor(Color c) {
  if (Assign(backColor_, c)) Changed(Prop::Colors);
}

void Form::SetOnTop(bool v) {
  if (Assign(onTop_, v)) Changed(Prop::OnTop);
}

void Form::SetRegion(const RoundRectRegion& r) {
  region_ = r;
  Changed(Prop::Region);
}

void Form::PopupMenu(MenuList& menu) {
  runtime_->PopupMenu(*this, menu);
}

void Form::NotifyActivate() {
  if (!loaded_ || active_) return;
  active_ = true;
  Form_Activate();
}

void Form::NotifyDeactivate() {
  active_ = false;
}

void Form::NotifyMouseMove(int button, int shift, Twips x, Twips y) {
  if (loaded_) Form_MouseMove(button, shift, x, y);
}

void Form::NotifyKeyDown(int keyCode, int shift) {
  if (loaded_) Form_KeyDown(keyCode, shift);
}

void Form::NotifyKeyUp(int keyCode, int shift) {
  if (loaded_) Form_KeyUp(keyCode, shift);
}

void Form::NotifyCloseRequest() {
  Unload();
}

void Form::NotifyMoved(Twips left, Twips top) {
  left_ = left;
  top_ = top;
}

void Form::NotifyWindowState(int state) {
  windowState_ = state;
}

void Form::NotifyFocus(Control* control) {
  activeControl_ = control;
}

}  // namespace sysvane::forms
