// The widget side of a control. A widget is bound to its control while the control's peer lives;
// the peer unbinds it, hides it and leaves its deletion to the event loop, because the peer may
// go away inside one of the widget's own signals (a button whose click unloads its window).
// An unbound widget no longer reaches the model.
#pragma once

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include "platform/forms.h"
#include "platform/qt/qt_convert.h"

namespace sysvane::qt {

class BoundWidget {
 public:
  virtual ~BoundWidget() = default;
  virtual QWidget* AsWidget() = 0;
  virtual void Unbind() = 0;
  // Shows the control's property `prop` (the peer handles geometry, visibility, enabled state,
  // tool tip and tab stop itself).
  virtual void Apply(forms::Prop prop) = 0;
  // Where the control lies, in pixels of its container's client area.
  virtual QRect Box() const = 0;
};

// Forwards the user's mouse moves, focus and keys to the control while bound. A mouse move over a
// control is the control's, never the form's: it is accepted here so that it does not travel on.
template <class Base>
class ControlWidget : public Base, public BoundWidget {
 public:
  ControlWidget(forms::Control& control, QWidget* parent) : Base(parent), control_(&control) {
    this->setMouseTracking(true);
  }
  QWidget* AsWidget() override { return this; }
  void Unbind() override { control_ = nullptr; }
  QRect Box() const override {
    return ToPixelRect(control_->Left(), control_->Top(), control_->Width(), control_->Height());
  }

 protected:
  forms::Control* control() const { return control_; }

  void mouseMoveEvent(QMouseEvent* e) override {
    Base::mouseMoveEvent(e);
    e->accept();
    if (control_)
      control_->NotifyMouseMove(VbButton(e->buttons()), VbShift(e->modifiers()), ToTwips(e->position().x()),
                                ToTwips(e->position().y()));
  }
  void focusInEvent(QFocusEvent* e) override {
    Base::focusInEvent(e);
    // Coming back to the window, or from a popup, is no new focus for the control.
    if (control_ && e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason)
      control_->NotifyGotFocus();
  }
  // With KeyPreview the form sees a key before the control that has the focus.
  void keyPressEvent(QKeyEvent* e) override {
    if (control_ && control_->form().KeyPreview())
      control_->form().NotifyKeyDown(VbKeyCode(e->key()), VbShift(e->modifiers()));
    if (control_) Base::keyPressEvent(e);
  }
  void keyReleaseEvent(QKeyEvent* e) override {
    if (control_ && control_->form().KeyPreview())
      control_->form().NotifyKeyUp(VbKeyCode(e->key()), VbShift(e->modifiers()));
    if (control_) Base::keyReleaseEvent(e);
  }

 private:
  forms::Control* control_;
};

}  // namespace sysvane::qt
