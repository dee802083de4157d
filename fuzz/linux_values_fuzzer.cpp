// The texts of /proc and /sys the Linux backend reads besides the mount table and the supplies:
// /proc/stat, /proc/meminfo, /proc/cpuinfo with the device tree's model, the online processor
// list, a process's thread count, statm, the kernel release and os-release's PRETTY_NAME. Any text
// is parsed; figures written the kernel's way after it, made harmless, are read back as written.
#include "fuzz/fuzz_support.h"
#include "platform/linux/proc_parsers.h"
#include "platform/linux/system_release.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text = AsText(data, size), before = Neutralized(text);
  (void)ParseStatmSize(text), (void)ParseKernelRelease(text), (void)ParsePrettyName(text),
      (void)ParseProcessThreads(text);
  if (const auto memory = ParseMeminfo(text)) FUZZ_CHECK(memory->available <= memory->total);
  FUZZ_CHECK(ParseOnlineCpus(text).value_or(1) > 0);
  const std::string value = "x" + std::to_string(size),
                    name = ParseProcessorName(text, text.substr(size / 2));
  FUZZ_CHECK(Trim(name) == name &&
             ParseProcessorName(before + "Model\t: Pi\nmodel name\t: " + value, "b") == value);
  FUZZ_CHECK(ParseProcessorName(before + "Hardware\t: B\nCPU implementer\t: 0x41\nCPU part\t: 0xd08\n",
                                value) == value);
  FUZZ_CHECK(ParseProcStatIdle(before + "cpu  5 0 7 " + std::to_string(size) +
                               " 3 0 17 0 0 0\ncpu 1 1 1 1 1\n") == size + 3);
  const auto memory = ParseMeminfo(before + "MemTotal: 1000 kB\nMemFree: " + std::to_string(size) +
                                   " kB\nBuffers: 0 kB\nCached: 1 kB\n");
  FUZZ_CHECK(memory && memory->available == std::min<uint64_t>(size + 1, 1000) * 1024);
  FUZZ_CHECK(ParsePrettyName(before + "PRETTY_NAME=\"" + value + "\"\n") == value);
  return 0;
}
