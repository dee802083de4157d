#include "platform/bar_display.h"

#include <algorithm>
#include <cmath>

namespace sysvane::forms {

BarDisplay DescribeBar(int value, const std::string& textAfterCaption) {
  if (value < 0 || value > 100) return {0, "?"};
  return {value / 100.0, std::to_string(value) + textAfterCaption};
}

int FilledPixels(double fillFraction, int innerPixels) {
  if (innerPixels <= 0 || !(fillFraction > 0)) return 0;
  return std::clamp(int(std::lround(fillFraction * innerPixels)), 0, innerPixels);
}

}  // namespace sysvane::forms
