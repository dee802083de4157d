// /proc/cpuinfo and the device tree's model: the processor's name and its speed, from any text.
#include "fuzz/fuzz_support.h"
#include "platform/linux/proc_parsers.h"

using namespace sysvane;
using namespace sysvane::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text = AsText(data, size);
  const std::string name = ParseProcessorName(text, text.substr(size / 2));
  FUZZ_CHECK(Trim(name) == name);
  // A value written the kernel's way is read back as it is: "model name" before the board's model
  // wherever it stands, the device tree's model before "Hardware" and the ARM core.
  const std::string value = OneLine(text), before = Neutralized(text);
  FUZZ_CHECK(ParseProcessorName(before + "Model\t: Pi\nmodel name\t: " + value, "board") == value);
  FUZZ_CHECK(ParseProcessorName(before + "Hardware\t: BCM\nCPU implementer\t: 0x41\nCPU part\t: 0xd08\n",
                                value + '\0' + std::string(text)) == value);
  FUZZ_CHECK(ParseCpuinfoMHz(before + "cpu MHz\t\t: " + value + "\ncpu MHz\t\t: 800.000\n") == value);
  return 0;
}
