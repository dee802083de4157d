// /proc/stat: the idle ticks of the aggregate "cpu" line, from any text.
#include "fuzz/fuzz_support.h"
#include "platform/linux/proc_parsers.h"

using namespace sysvane;
using namespace sysvane::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text = AsText(data, size);
  const auto idle = ParseProcStatIdle(text);
  // Only the first aggregate line counts; counters written the kernel's way are read back exactly.
  if (idle) FUZZ_CHECK(ParseProcStatIdle(std::string(text) + "\ncpu 1 1 1 1 1 1\n") == idle);
  const uint64_t ticks = NumberAt(text, 0) >> 1, iowait = NumberAt(text, 8) >> 1;
  const std::string line =
      "cpu  5 0 7 " + std::to_string(ticks) + " " + std::to_string(iowait) + " 0 17 0 0 0\n";
  FUZZ_CHECK(ParseProcStatIdle(line + std::string(text)) == ticks + iowait);
  FUZZ_CHECK(ParseProcStatIdle(Neutralized(text) + line) == ticks + iowait);
  return 0;
}
