// Hand-edited setting values: a switch is on exactly when its text is the number 1. The rule is
// checked against a second reader of numbers, the C library's strtod, on the text without its
// blanks when it holds only a decimal number's characters (strtod alone also reads hex, "inf").
#include <cmath>
#include <cstdlib>

#include "fuzz/fuzz_support.h"
#include "options/settings.h"

namespace {

bool IsTheNumberOne(const std::string& text) {
  const char* blanks = " \t\r\n\v\f";
  const size_t first = text.find_first_not_of(blanks);
  if (first == std::string::npos) return false;
  const std::string number = text.substr(first, text.find_last_not_of(blanks) + 1 - first);
  if (number.find_first_not_of("0123456789+-.eE") != std::string::npos) return false;
  char* end = nullptr;
  const double value = std::strtod(number.c_str(), &end);
  return end == number.c_str() + number.size() && value == 1.0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(AsText(data, size));
  const auto number = ParseNumber(text);
  FUZZ_CHECK(!number || std::isfinite(*number));
  FUZZ_CHECK(SwitchIsOn(text) == IsTheNumberOne(text));
  FUZZ_CHECK(ParseNumber(" \t" + text + "\r\n") == number);  // blanks around it change nothing
  return 0;
}
