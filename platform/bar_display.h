// What a percentage bar shows for a value: how much of it is filled and the text drawn on it.
// A value outside 0..100 is not a percentage the bar can show (a battery charge of 255 means
// "unknown"): the bar stays empty and reads "?", so that it neither paints outside itself nor
// claims "255%".
#pragma once

#include <string>

namespace sysvane::forms {

struct BarDisplay {
  double fillFraction = 0;  // 0..1 of the inner length
  std::string text;         // the value followed by the text after it, or "?"
};

BarDisplay DescribeBar(int value, const std::string& textAfterCaption);

// The filled length in whole device pixels of an inner length of `innerPixels`: rounded to
// nearest, never more than the inner length and never negative.
int FilledPixels(double fillFraction, int innerPixels);

}  // namespace sysvane::forms
