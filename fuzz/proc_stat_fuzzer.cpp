// /proc/stat: the idle ticks of the aggregate "cpu" line, from any text.
#include <string>

#include "fuzz/fuzz_support.h"
#include "platform/linux/proc_parsers.h"

using namespace sysvane;
using sysvane::fuzz::AsText;
using sysvane::fuzz::Neutralized;
using sysvane::fuzz::NumberAt;

namespace {

// The aggregate line as the kernel writes it: "cpu", two spaces, then ten counters.
std::string CpuLine(const uint64_t (&ticks)[5]) {
  std::string line = "cpu ";
  for (uint64_t tick : ticks) line += " " + std::to_string(tick);
  return line + " 0 17 0 0 0\n";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text = AsText(data, size);
  const auto idle = ParseProcStatIdle(text);

  // Only the first aggregate line counts: one written after it changes nothing.
  if (idle) FUZZ_CHECK(ParseProcStatIdle(std::string(text) + "\ncpu 1 1 1 1 1 1 1\n") == idle);

  // Counters taken from the input, written the kernel's way, are read back exactly, both in front
  // of the text and after every line of it made harmless.
  uint64_t ticks[5];
  for (size_t i = 0; i < 5; ++i) ticks[i] = NumberAt(text, 8 * i);
  const uint64_t expected = ticks[3] + ticks[4];
  FUZZ_CHECK(ParseProcStatIdle(CpuLine(ticks) + std::string(text)) == expected);
  FUZZ_CHECK(ParseProcStatIdle(Neutralized(text) + CpuLine(ticks)) == expected);
  return 0;
}
