// The gradient percentage bar, painted with GDI as the Qt runtime paints it: a sunken frame, the
// filled part running from the start colour to the end colour, and the value with its suffix
// centred over it. It repaints only when its value, colours, suffix or font change.
#pragma once

#include "platform/windows/forms/win_painted.h"

namespace sysvane::win {

class BarPeer : public PaintedPeer {
 public:
  explicit BarPeer(forms::ProgressBar& bar);
  void Paint(HDC dc, const RECT& area) override;

 private:
  forms::ProgressBar& bar_;
};

}  // namespace sysvane::win
