// Hand-edited setting values: a switch is on exactly when its text is the number 1.
#include <cmath>

#include "fuzz/fuzz_support.h"
#include "options/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(AsText(data, size));
  const auto number = ParseNumber(text);
  FUZZ_CHECK(!number || std::isfinite(*number));
  FUZZ_CHECK(SwitchIsOn(text) == (number && *number == 1.0));
  FUZZ_CHECK(ParseNumber(" \t" + text + "\r\n") == number);  // blanks around it change nothing
  return 0;
}
