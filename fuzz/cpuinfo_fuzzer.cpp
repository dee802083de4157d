// /proc/cpuinfo: the processor's name and its first speed, from any text.
#include <string>

#include "fuzz/fuzz_support.h"
#include "platform/linux/proc_parsers.h"

using namespace sysvane;
using sysvane::fuzz::AsText;
using sysvane::fuzz::Neutralized;
using sysvane::fuzz::OneLine;

namespace {

// A value the parser hands out is one trimmed line that the text holds.
void CheckValue(const std::string& value, std::string_view text) {
  if (value.empty()) return;
  FUZZ_CHECK(value.find('\n') == std::string::npos);
  FUZZ_CHECK(Trim(value) == value);
  FUZZ_CHECK(text.find(value) != std::string_view::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text = AsText(data, size);
  CheckValue(ParseCpuinfoName(text), text);
  CheckValue(ParseCpuinfoMHz(text), text);

  // The input made into one value: written as the kernel writes it, it is read back as it is,
  // "model name" before the board's "Model" and "Hardware" lines wherever they stand.
  std::string value = OneLine(text);
  if (value.empty()) value = "x";
  const std::string before = Neutralized(text);
  FUZZ_CHECK(ParseCpuinfoName(before + "model name\t: " + value + "\n") == value);
  FUZZ_CHECK(ParseCpuinfoName(before + "Hardware\t: BCM2835\nModel\t\t: Pi\nmodel name\t: " + value) ==
             value);
  FUZZ_CHECK(ParseCpuinfoName(before + "Hardware\t: " + value + "\n") == value);
  FUZZ_CHECK(ParseCpuinfoMHz(before + "cpu MHz\t\t: " + value + "\ncpu MHz\t\t: 800.000\n") == value);
  return 0;
}
