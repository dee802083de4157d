// The texts of /proc and /sys the Linux backend reads besides the mount table and the supplies:
// /proc/stat, /proc/meminfo, /proc/cpuinfo with the device tree's model, the online processor
// list, a process's thread count, statm, the kernel release and os-release's PRETTY_NAME. Any text
// is parsed without a crash or undefined behaviour, and what is read keeps its ranges. (What each
// parser reads from a text written the kernel's way is its unit test's, parsers_test.cpp.)
#include "fuzz/fuzz_support.h"
#include "platform/linux/proc_parsers.h"
#include "platform/linux/system_release.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text = AsText(data, size);
  (void)ParseStatmSize(text);
  (void)ParseKernelRelease(text);
  (void)ParsePrettyName(text);
  (void)ParseProcessThreads(text);
  (void)ParseProcStatIdle(text);
  if (const auto memory = ParseMeminfo(text)) FUZZ_CHECK(memory->available <= memory->total);
  FUZZ_CHECK(ParseOnlineCpus(text).value_or(1) > 0);
  const std::string name = ParseProcessorName(text, text.substr(size / 2));
  FUZZ_CHECK(Trim(name) == name);
  return 0;
}
