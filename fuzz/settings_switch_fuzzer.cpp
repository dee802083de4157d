// Hand-edited setting values: a switch is on exactly when its text is the number 1. The rule is
// checked against a second reader of numbers, the C library's strtod, on the text without its
// blanks when it holds only a decimal number's characters (strtod alone also reads hex, "inf").
#include <cmath>
#include <cstdlib>

#include "fuzz/fuzz_support.h"
#include "options/settings.h"

static bool IsTheNumberOne(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t\r\n\v\f"), last = text.find_last_not_of(" \t\r\n\v\f");
  const std::string number = first == std::string::npos ? "" : text.substr(first, last + 1 - first);
  char* end = nullptr;
  return !number.empty() && number.find_first_not_of("0123456789+-.eE") == std::string::npos &&
         std::strtod(number.c_str(), &end) == 1.0 && *end == '\0';
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(AsText(data, size));
  const auto number = ParseNumber(text);
  FUZZ_CHECK(!number || std::isfinite(*number));
  FUZZ_CHECK(SwitchIsOn(text) == IsTheNumberOne(text));
  FUZZ_CHECK(ParseNumber(" \t" + text + "\r\n") == number);  // blanks around it change nothing
  return 0;
}
