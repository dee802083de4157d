// The widgets of the simple controls: label, picture, line, command button and check box.
#pragma once

#include <QCheckBox>
#include <QPushButton>
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

}  // namespace sysvane::qt
