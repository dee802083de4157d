// The gradient percentage bar: a sunken frame, the filled part painted from the start colour to
// the end colour, and the value with its suffix centred over it. It repaints only itself, and
// only when its value, colours, suffix or font change.
#pragma once

#include "platform/qt/qt_bound_widget.h"

namespace sysvane::qt {

class BarWidget : public ControlWidget<QWidget> {
 public:
  BarWidget(forms::ProgressBar& bar, QWidget* parent);
  void Apply(forms::Prop prop) override;

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  int value_ = 0;
  std::string suffix_;
  QColor start_, end_, back_, text_;
};

}  // namespace sysvane::qt
