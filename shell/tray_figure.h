// The live tray icon: the CPU usage as digits, or CPU and physical memory as two bars, drawn on a
// dark plate (so that it reads on light and dark panels alike) for whatever size the tray asks.
#pragma once

#include <cstdint>

#include "options/settings.h"
#include "platform/forms.h"

namespace sysvane {

struct TrayFigure {
  Settings::TrayIconShows shows = Settings::TrayIconShows::ProgramIcon;
  int cpu = 0;     // percent in use
  int memory = 0;  // physical memory in use, percent
  bool operator==(const TrayFigure&) const = default;
};

// The colours a user tells apart: the plate behind everything, the digits, a bar's empty track.
inline constexpr uint32_t kPlateColor = 0xFF262626;
inline constexpr uint32_t kDigitColor = 0xFFFFFFFF;
inline constexpr uint32_t kTrackColor = 0xFF5A5A5A;

// The figure at a side of `pixels` (at least 8). The digits show 0 to 99: a full CPU shows "99",
// which fits where "100" would be cut.
forms::ArgbImage DrawTrayFigure(const TrayFigure& figure, int pixels);

// Whether two figures draw the same pixels at every size from 16 to 96 (48 at 200 %), so that a
// figure which moved by less than a pixel sends the tray nothing.
bool LooksTheSame(const TrayFigure& a, const TrayFigure& b);

// The number the digits show.
int ShownDigits(int cpu);

class TrayFigureIcon : public forms::LiveIcon {
 public:
  explicit TrayFigureIcon(TrayFigure figure) : figure_(figure) {}
  forms::ArgbImage Draw(int pixels) const override { return DrawTrayFigure(figure_, pixels); }
  const TrayFigure& figure() const { return figure_; }

 private:
  TrayFigure figure_;
};

}  // namespace sysvane
