// /proc/meminfo: total and available physical memory, from any text.
#include <algorithm>

#include "fuzz/fuzz_support.h"
#include "platform/linux/proc_parsers.h"

using namespace sysvane;
using namespace sysvane::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text = AsText(data, size);
  if (const auto memory = ParseMeminfo(text)) FUZZ_CHECK(memory->available <= memory->total);
  // Sizes from the input (below 2^54 KiB, so that bytes fit 64 bits) are read back exactly, with
  // MemAvailable and, on an older kernel, with free + buffers + cached.
  const uint64_t total = NumberAt(text, 0) >> 10, available = NumberAt(text, 8) >> 10,
                 part = NumberAt(text, 16) >> 12;
  auto line = [](const char* key, uint64_t kib) {
    return std::string(key) + ":    " + std::to_string(kib) + " kB\n";
  };
  auto memory = ParseMeminfo(Neutralized(text) + line("MemTotal", total) + line("MemAvailable", available));
  FUZZ_CHECK(memory && memory->total == total * 1024 &&
             memory->available == std::min(available, total) * 1024);
  memory = ParseMeminfo(line("MemTotal", total) + line("MemFree", part) + line("Buffers", part) +
                        line("Cached", part) + Neutralized(text));
  FUZZ_CHECK(memory && memory->available == std::min(3 * part, total) * 1024);
  return 0;
}
