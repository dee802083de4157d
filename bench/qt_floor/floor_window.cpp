#include "bench/qt_floor/floor_window.h"

#include <QLabel>
#include <QTimerEvent>

namespace sysvane::floor {

namespace {

// The Monitor window's layout in pixels.
constexpr int kClientWidth = 268;
constexpr int kCaptionLeft = 8, kCaptionTop = 9, kCaptionWidth = 129, kCaptionHeight = 16;
constexpr int kBarLeft = 138, kBarTop = 8, kBarWidth = 121, kBarHeight = 17;
constexpr int kRowSpacing = 18;
constexpr int kHeightBelowLastCaption = 24;
constexpr int kRefreshMs = 900;

}  // namespace

FloorWindow::FloorWindow(Sources& sources) : sources_(sources) {
  setWindowTitle("Qt floor");
  setAutoFillBackground(true);
  QPalette dark = palette();
  dark.setColor(QPalette::Window, Qt::black);
  dark.setColor(QPalette::WindowText, Qt::white);
  setPalette(dark);

  QFont small = font();
  small.setPointSizeF(8.25);
  const auto& rows = sources_.Rows();
  for (size_t i = 0; i < rows.size(); ++i) {
    const int offset = kRowSpacing * int(i);
    auto* caption = new QLabel(QString::fromStdString(rows[i].caption), this);
    caption->setFont(small);
    caption->setGeometry(kCaptionLeft, kCaptionTop + offset, kCaptionWidth, kCaptionHeight);
    auto* bar = new FloorBar(this);
    bar->setFont(small);
    bar->setPalette(QPalette());  // the bars keep the light default colours on the dark window
    bar->setGeometry(kBarLeft, kBarTop + offset, kBarWidth, kBarHeight);
    bars_.push_back(bar);
  }
  const int lastTop = kCaptionTop + kRowSpacing * std::max(0, int(rows.size()) - 1);
  setFixedSize(kClientWidth, lastTop + kHeightBelowLastCaption);

  Refresh();
  timer_.start(kRefreshMs, Qt::CoarseTimer, this);
}

void FloorWindow::timerEvent(QTimerEvent* event) {
  if (event->timerId() == timer_.timerId()) {
    Refresh();
  } else {
    QWidget::timerEvent(event);
  }
}

void FloorWindow::Refresh() {
  sources_.Sample(values_);
  for (size_t i = 0; i < bars_.size(); ++i) bars_[i]->SetValue(values_[i]);
}

}  // namespace sysvane::floor
