#include "platform/qt/qt_tab_strip.h"

#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>

namespace sysvane::qt {

using forms::Prop;

TabStripWidget::TabStripWidget(forms::TabStrip& strip, QWidget* parent)
    : ControlWidget(strip, parent), bar_(new QTabBar(this)) {
  bar_->setDrawBase(false);
  bar_->setExpanding(false);
  bar_->installEventFilter(this);
  connect(bar_, &QTabBar::currentChanged, this, [this](int index) {
    if (control() && index >= 0) static_cast<forms::TabStrip*>(control())->NotifyTabSelected(index);
  });
}

QWidget* TabStripWidget::Page(int index) {
  while (int(pages_.size()) <= index) {
    auto* page = new QWidget(this);
    page->setMouseTracking(true);
    page->setGeometry(rect());
    pages_.push_back(page);
    ShowSelectedPage();
    bar_->raise();
  }
  return pages_[size_t(index)];
}

void TabStripWidget::Apply(Prop prop) {
  const auto& strip = static_cast<const forms::TabStrip&>(*control());
  switch (prop) {
    case Prop::Tabs: {
      const QSignalBlocker quiet(bar_);  // rebuilding the row is no selection by the user
      while (bar_->count() > 0) bar_->removeTab(bar_->count() - 1);
      for (const auto& caption : strip.Tabs()) bar_->addTab(ToQString(caption));
      bar_->setCurrentIndex(strip.Tab());
      Arrange();
      ShowSelectedPage();
      break;
    }
    case Prop::SelectedTab: {
      const QSignalBlocker quiet(bar_);
      bar_->setCurrentIndex(strip.Tab());
      ShowSelectedPage();
      break;
    }
    case Prop::Font:
      bar_->setFont(ToQFont(strip.font()));
      Arrange();
      break;
    default:
      break;
  }
}

void TabStripWidget::ShowSelectedPage() {
  const int selected =
      control() ? static_cast<const forms::TabStrip*>(control())->Tab() : bar_->currentIndex();
  for (size_t i = 0; i < pages_.size(); ++i) pages_[i]->setVisible(int(i) == selected);
}

void TabStripWidget::Arrange() {
  const QSize tabs = bar_->sizeHint();
  bar_->setGeometry(0, 0, std::min(tabs.width(), width()), tabs.height());
  for (QWidget* page : pages_) page->setGeometry(rect());
  update();
}

void TabStripWidget::resizeEvent(QResizeEvent*) {
  Arrange();
}

void TabStripWidget::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionTabWidgetFrame frame;
  frame.initFrom(this);
  frame.shape = QTabBar::RoundedNorth;
  frame.tabBarSize = bar_->sizeHint();
  frame.rect = rect().adjusted(
      0, bar_->height() - style()->pixelMetric(QStyle::PM_TabBarBaseOverlap, nullptr, this), 0, 0);
  frame.tabBarRect = bar_->geometry();
  frame.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
  painter.drawPrimitive(QStyle::PE_FrameTabWidget, frame);
  // Inside, the pages have the button face of a dialog, as the controls on them expect.
  const int edge = std::max(1, frame.lineWidth);
  painter.fillRect(frame.rect.adjusted(edge, edge, -edge, -edge), palette().color(QPalette::Button));
}

bool TabStripWidget::eventFilter(QObject* watched, QEvent* event) {
  if (watched == bar_ && event->type() == QEvent::FocusIn && control()) {
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) control()->NotifyGotFocus();
  }
  return ControlWidget::eventFilter(watched, event);
}

}  // namespace sysvane::qt
