// The gradient percentage bar: a sunken frame, the filled part painted from the start colour to
// the end colour, and the value with its suffix centred over it. It repaints only itself, and
// only when its value, colours, suffix or font change. On X11 it is a window of its own whose
// picture goes straight to the X server (see DirectPicture).
#pragma once

#include <memory>

#include "platform/qt/qt_bound_widget.h"
#include "platform/qt/qt_direct_picture.h"

namespace sysvane::qt {

class BarWidget : public ControlWidget<QWidget> {
 public:
  BarWidget(forms::ProgressBar& bar, QWidget* parent);
  void Apply(forms::Prop prop) override;
  QPaintEngine* paintEngine() const override;

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  void Paint(QPainter& painter) const;

  std::unique_ptr<DirectPicture> direct_;
  int value_ = 0;
  std::string suffix_;
  QColor start_, end_, back_, text_;
};

}  // namespace sysvane::qt
