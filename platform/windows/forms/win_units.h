// Twips to real pixels and back on a screen of `dpi` dots per inch (1440 twips per inch: 15 per
// pixel at 96 dpi, 12 at 120, 10 at 144). Every window converts with the DPI of the monitor it is
// on, so that a twip is the same length on every screen. Plain C++, tested on both systems.
#pragma once

#include <cmath>

#include "platform/forms.h"

namespace sysvane::win {

constexpr int kTwipsPerInch = 1440;

inline int TwipsToPixels(forms::Twips twips, int dpi) {
  return int(std::lround(twips * dpi / kTwipsPerInch));
}

inline forms::Twips PixelsToTwips(double pixels, int dpi) {
  return dpi > 0 ? pixels * kTwipsPerInch / dpi : pixels * forms::kTwipsPerPixel;
}

// A box of twips in pixels: the right and bottom edges are rounded on their own, so that controls
// that touch in twips touch on screen too.
struct PixelBox {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};

inline PixelBox TwipsBoxToPixels(forms::Twips left, forms::Twips top, forms::Twips width, forms::Twips height,
                                 int dpi) {
  return {TwipsToPixels(left, dpi), TwipsToPixels(top, dpi), TwipsToPixels(left + width, dpi),
          TwipsToPixels(top + height, dpi)};
}

// The height of a font of `points` in pixels, negative as LOGFONT wants a character height.
inline int FontHeight(double points, int dpi) {
  return -int(std::lround(points * dpi / 72.0));
}

}  // namespace sysvane::win
