// /proc/meminfo: total and available physical memory, from any text.
#include <algorithm>
#include <string>

#include "fuzz/fuzz_support.h"
#include "platform/linux/proc_parsers.h"

using namespace sysvane;
using sysvane::fuzz::AsText;
using sysvane::fuzz::Neutralized;
using sysvane::fuzz::NumberAt;

namespace {

std::string Line(const char* key, uint64_t kib) {
  std::string line = std::string(key) + ":";
  const std::string number = std::to_string(kib);
  line.append(number.size() < 15 ? 15 - number.size() : 1, ' ');
  return line + number + " kB\n";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text = AsText(data, size);
  if (const auto memory = ParseMeminfo(text)) FUZZ_CHECK(memory->available <= memory->total);

  // Sizes taken from the input (below 2^53 KiB, so that bytes still fit) are read back exactly.
  const uint64_t total = NumberAt(text, 0) >> 11;
  const uint64_t available = NumberAt(text, 8) >> 11;
  const uint64_t free = NumberAt(text, 16) >> 13, buffers = NumberAt(text, 24) >> 13,
                 cached = NumberAt(text, 32) >> 13;
  const uint64_t expectedAvailable = std::min(available, total) * 1024;

  // A kernel that publishes MemAvailable: whatever follows is not read any more.
  const std::string modern =
      Line("MemTotal", total) + Line("MemFree", free) + Line("MemAvailable", available);
  auto memory = ParseMeminfo(modern + std::string(text));
  FUZZ_CHECK(memory && memory->total == total * 1024 && memory->available == expectedAvailable);
  memory = ParseMeminfo(Neutralized(text) + modern);
  FUZZ_CHECK(memory && memory->total == total * 1024 && memory->available == expectedAvailable);

  // An older kernel: free, buffers and cached make up what is available.
  const std::string older =
      Line("MemTotal", total) + Line("MemFree", free) + Line("Buffers", buffers) + Line("Cached", cached);
  memory = ParseMeminfo(Neutralized(text) + older);
  FUZZ_CHECK(memory && memory->total == total * 1024 &&
             memory->available == std::min(free + buffers + cached, total) * 1024);
  return 0;
}
