// The tab strip: a row of tabs over a framed pane, and one page per tab. A page covers the whole
// strip, tabs included, so that the controls on it are placed from the strip's top-left corner;
// the tab row stays above the pages and only the selected page shows.
#pragma once

#include <QTabBar>
#include <vector>

#include "platform/qt/qt_bound_widget.h"

namespace sysvane::qt {

class TabStripWidget : public ControlWidget<QWidget> {
 public:
  TabStripWidget(forms::TabStrip& strip, QWidget* parent);
  void Apply(forms::Prop prop) override;
  // The container of the controls on page `index`, made when first asked for.
  QWidget* Page(int index);
  QTabBar* Bar() const { return bar_; }

 protected:
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Arrange();
  void ShowSelectedPage();
  QTabBar* bar_;
  std::vector<QWidget*> pages_;
};

}  // namespace sysvane::qt
