// The tab strip on the common controls' tab control, with one page window per tab inside its
// display area. The controls on a page are placed from the strip's top-left corner, as the
// windows lay them out; only the selected page shows.
#pragma once

#include <vector>

#include "platform/windows/forms/win_control_peer.h"

namespace sysvane::win {

class TabStripPeer : public ControlPeer {
 public:
  explicit TabStripPeer(forms::TabStrip& strip);
  ~TabStripPeer() override;
  void Notify(const NMHDR& header) override;
  // The container of the controls on page `index`, made when first asked for.
  Container Page(int index);

 protected:
  void Apply(forms::Prop prop) override;

 private:
  RECT DisplayArea() const;
  void Arrange();
  void ShowSelectedPage();
  forms::TabStrip& strip_;
  std::vector<HWND> pages_;
};

}  // namespace sysvane::win
