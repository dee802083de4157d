// The texts of /proc and /sys the Linux backend reads besides the mount table and the supplies:
// /proc/stat, /proc/meminfo, /proc/cpuinfo with the device tree's model, the online processor
// list, a process's thread count, statm, the kernel release and os-release's PRETTY_NAME. Any text
// is parsed, and figures taken from it, written the kernel's way after it made harmless, come back.
#include <algorithm>

#include "fuzz/fuzz_support.h"
#include "platform/linux/proc_parsers.h"
#include "platform/linux/system_release.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text = AsText(data, size);
  const std::string before = Neutralized(text), value = OneLine(text);
  const uint64_t a = NumberAt(text, 0) >> 11, b = NumberAt(text, 8) >> 11;  // below 2^53, so that bytes fit
  (void)ParseStatmSize(text);
  if (const auto memory = ParseMeminfo(text)) FUZZ_CHECK(memory->available <= memory->total);
  const std::string line = "cpu  5 0 7 " + std::to_string(a) + " " + std::to_string(b) + " 0 17 0 0 0\n";
  FUZZ_CHECK(ParseProcStatIdle(before + line + "cpu 1 1 1 1 1\n") == a + b &&
             ParseProcStatIdle(line + std::string(text)) == a + b);
  auto kb = [](const char* key, uint64_t kib) {
    return std::string(key) + ":    " + std::to_string(kib) + " kB\n";
  };
  const auto memory =
      ParseMeminfo(before + kb("MemTotal", a) + kb("MemFree", b) + kb("Buffers", 1) + kb("Cached", 2));
  FUZZ_CHECK(memory && memory->total == a * 1024 && memory->available == std::min(a, b + 3) * 1024);
  // "model name" before the board's model wherever it stands; the device tree before "Hardware" and the core.
  FUZZ_CHECK(Trim(ParseProcessorName(text, text.substr(size / 2))) ==
             ParseProcessorName(text, text.substr(size / 2)));
  FUZZ_CHECK(ParseProcessorName(before + "Model\t: Pi\nmodel name\t: " + value, "board") == value);
  FUZZ_CHECK(ParseProcessorName(before + "Hardware\t: B\nCPU implementer\t: 0x41\nCPU part\t: 0xd08\n",
                                value + '\0') == value);
  FUZZ_CHECK(ParseCpuinfoMHz(before + "cpu MHz\t\t: " + value + "\ncpu MHz\t\t: 800.000\n") == value);
  FUZZ_CHECK(ParseOnlineCpus(text).value_or(1) > 0);
  const uint32_t first = uint32_t(a >> 41), last = first + uint32_t(b >> 41);
  FUZZ_CHECK(ParseOnlineCpus(std::to_string(first) + "-" + std::to_string(last) + ",9999\n") ==
             last - first + 2);
  // The command name may hold anything, parentheses and spaces too: field 20 is still found.
  FUZZ_CHECK(ParseProcessThreads("42 (" + std::string(text) + ") S 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 " +
                                 std::to_string(uint32_t(a)) + " 0 9\n") == uint32_t(a));
  const auto release = ParseKernelRelease(std::to_string(first) + "." + std::to_string(last) + ".7-" + value);
  FUZZ_CHECK(release && release->major == first && release->minor == last && release->patch == 7);
  std::string quoted = "\"";  // quoted and escaped the shell's way
  for (char c : value) quoted += std::string(c == '"' || c == '\\' || c == '$' || c == '`', '\\') + c;
  FUZZ_CHECK(ParsePrettyName(before + "PRETTY_NAME=" + quoted + "\"\n") == value);
  return 0;
}
