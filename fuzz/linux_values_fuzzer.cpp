// The small texts of the Linux backend: the online processor list, a process's thread count,
// statm, the kernel release and os-release's PRETTY_NAME.
#include "fuzz/fuzz_support.h"
#include "platform/linux/proc_parsers.h"
#include "platform/linux/system_release.h"

using namespace sysvane;
using namespace sysvane::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text = AsText(data, size);
  (void)ParseStatmSize(text);
  FUZZ_CHECK(ParseOnlineCpus(text).value_or(1) > 0);
  const uint32_t first = uint32_t(NumberAt(text, 0) >> 52), last = first + uint32_t(NumberAt(text, 8) >> 52);
  FUZZ_CHECK(ParseOnlineCpus(std::to_string(first) + "-" + std::to_string(last) + ",9999\n") ==
             last - first + 2);
  // The command name may hold anything, parentheses and spaces too: field 20 is still found.
  const uint64_t threads = NumberAt(text, 0) >> 32;
  FUZZ_CHECK(ParseProcessThreads("42 (" + std::string(text) + ") S 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 " +
                                 std::to_string(threads) + " 0 9\n") == threads);
  const auto release =
      ParseKernelRelease(std::to_string(first) + "." + std::to_string(last) + ".7-" + OneLine(text));
  FUZZ_CHECK(release && release->major == first && release->minor == last && release->patch == 7);
  // Any one-line name, quoted and escaped the shell's way, is read back as it is.
  std::string quoted = "\"";
  for (char c : OneLine(text)) quoted += std::string(c == '"' || c == '\\' || c == '$' || c == '`', '\\') + c;
  FUZZ_CHECK(ParsePrettyName(Neutralized(text) + "PRETTY_NAME=" + quoted + "\"\n") == OneLine(text));
  return 0;
}
