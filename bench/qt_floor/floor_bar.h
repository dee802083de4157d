// A gradient percentage bar as cheap as Qt allows: opaque, fixed size, and repainted only when
// its value changed.
#pragma once

#include <QWidget>

namespace sysvane::floor {

class FloorBar : public QWidget {
 public:
  explicit FloorBar(QWidget* parent);
  // Schedules a repaint of this bar alone, and only when the value differs from the shown one.
  void SetValue(int value);
  int Value() const { return value_; }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  int value_ = 0;
};

}  // namespace sysvane::floor
