// Hand-edited setting values: the switch rule, the number rule and the Options dialog's box state.
#include <cmath>
#include <cstdio>
#include <string>

#include "fuzz/fuzz_support.h"
#include "options/options_dialog.h"
#include "options/settings.h"
#include "platform/fake/fake_platform.h"

using namespace sysvane;
using sysvane::fuzz::AsText;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(AsText(data, size));
  const auto number = ParseNumber(text);
  if (number) FUZZ_CHECK(std::isfinite(*number));

  // A switch is on exactly when the text is the number 1.
  const bool on = SwitchIsOn(text);
  FUZZ_CHECK(on == (number && *number == 1.0));

  // Blanks around the text change nothing, and neither does a plus sign in front of a digit.
  FUZZ_CHECK(ParseNumber(" \t" + text + "\r\n") == number);
  if (!text.empty() && ((text[0] >= '0' && text[0] <= '9') || text[0] == '.')) {
    FUZZ_CHECK(ParseNumber("+" + text) == number);
  }
  // A number read back from its writing with every digit it has is the same number.
  if (number) {
    char written[64];
    std::snprintf(written, sizeof written, "%.17g", *number);
    FUZZ_CHECK(ParseNumber(written) == number);
  }

  // The store gives the same answers: a missing key takes the reader's default.
  fake::FakeSettingsBackend backend;
  Settings settings(backend);
  FUZZ_CHECK(settings.IsOn("ShowCPU", true) && !settings.IsOn("ShowCPU", false));
  backend.values["ShowCPU"] = text;
  FUZZ_CHECK(settings.IsOn("ShowCPU", true) == on && settings.IsOn("ShowCPU", false) == on);
  FUZZ_CHECK(settings.ReadNumber("ShowCPU") == number);
  FUZZ_CHECK(settings.IsDefined() == false);

  // The dialog's box: unchecked, checked or grey; a switch that is on is a checked box, and a
  // box is never set from text that is not a number.
  const int state = Options::BoxStateFromText(text);
  FUZZ_CHECK(state == 0 || state == 1 || state == 2);
  if (on) FUZZ_CHECK(state == 1);
  if (state != 0) FUZZ_CHECK(number && std::fabs(*number - state) <= 0.5);
  return 0;
}
