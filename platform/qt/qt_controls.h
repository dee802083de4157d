// The widgets of the simple controls: label, picture, line, command button and check box.
#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

#include "platform/qt/qt_bound_widget.h"

namespace sysvane::qt {

// A label paints its caption itself: no margins, the container's background when transparent,
// the lines wrapped at the label's width and aligned as asked. A click on it is its Click.
class LabelWidget : public ControlWidget<QWidget> {
 public:
  LabelWidget(forms::Label& label, QWidget* parent);
  void Apply(forms::Prop prop) override;

 protected:
  void paintEvent(QPaintEvent*) override;
  void mouseReleaseEvent(QMouseEvent* e) override;

 private:
  QString text_;
  Qt::Alignment alignment_ = Qt::AlignLeft;
  bool wordWrap_ = true;
  QColor back_, fore_;
  bool transparent_ = false;
};

// A named picture stretched over the control, on the container's background.
class ImageWidget : public ControlWidget<QWidget> {
 public:
  ImageWidget(forms::Image& image, QWidget* parent);
  void Apply(forms::Prop prop) override;

 protected:
  void paintEvent(QPaintEvent*) override;
  void mouseReleaseEvent(QMouseEvent* e) override;

 private:
  std::string picture_;
};

// A one-pixel line between two corners of its box; the mouse passes through it.
class LineWidget : public ControlWidget<QWidget> {
 public:
  LineWidget(forms::Line& line, QWidget* parent);
  void Apply(forms::Prop prop) override;
  // The box from (left, top) to (left + width, top + height), whichever way the line runs, one
  // pixel thick at least.
  QRect Box() const override;

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  QColor color_;
};

class ButtonWidget : public ControlWidget<QPushButton> {
 public:
  ButtonWidget(forms::CommandButton& button, QWidget* parent);
  void Apply(forms::Prop prop) override;
};

// The check mark follows the model only: a click asks the model, which toggles and answers.
class CheckBoxWidget : public ControlWidget<QCheckBox> {
 public:
  CheckBoxWidget(forms::CheckBox& box, QWidget* parent);
  void Apply(forms::Prop prop) override;

 protected:
  void nextCheckState() override {}
};

// Round and model-driven like the check box: a click asks the model, which turns the others of
// its frame off.
class OptionButtonWidget : public ControlWidget<QRadioButton> {
 public:
  OptionButtonWidget(forms::OptionButton& option, QWidget* parent);
  void Apply(forms::Prop prop) override;

 protected:
  void nextCheckState() override {}
};

// The group box around a group of controls, drawn beneath them; the mouse passes through it.
class FrameWidget : public ControlWidget<QGroupBox> {
 public:
  FrameWidget(forms::Frame& frame, QWidget* parent);
  void Apply(forms::Prop prop) override;
};

}  // namespace sysvane::qt
