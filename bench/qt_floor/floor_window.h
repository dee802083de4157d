// The floor program's one window: a caption and a bar per statistic, the Monitor window's
// geometry (bars of 121 x 17 pixels, rows 18 pixels apart), refreshed every 900 ms.
#pragma once

#include <QBasicTimer>
#include <QWidget>
#include <vector>

#include "bench/qt_floor/floor_bar.h"
#include "bench/qt_floor/floor_sources.h"

namespace sysvane::floor {

class FloorWindow : public QWidget {
 public:
  explicit FloorWindow(Sources& sources);

 protected:
  void timerEvent(QTimerEvent* event) override;

 private:
  void Refresh();

  Sources& sources_;
  std::vector<FloorBar*> bars_;
  std::vector<int> values_;
  QBasicTimer timer_;  // a bare timer: no signal, no slot, no object of its own
};

}  // namespace sysvane::floor
