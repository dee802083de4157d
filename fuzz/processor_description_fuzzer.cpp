// The processor's description from what the processor library writes into its buffers: a name
// (perhaps with a quoted nickname) and a raw speed ending in "M" or "G", any bytes at all.
#include <fuzzer/FuzzedDataProvider.h>

#include "fuzz/fuzz_support.h"
#include "platform/fake/fake_platform.h"
#include "stats/system_info.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  LocaleInfo locale;
  locale.decimalSeparator = input.PickValueInArray({".", ",", "\xC2\xB7", ""});
  fake::FakeKernel kernel;
  fake::FakeProcessorLibrary processor;
  fake::FakeResourceMeter resources;
  processor.name = TrimAtNull(input.ConsumeRandomLengthString(255));
  processor.speed = TrimAtNull(input.ConsumeRemainingBytesAsString().substr(0, 254));
  const std::string text = SystemInfoModule(kernel, processor, resources).GetProcessorDescription(locale);
  // The name's start, then the speed in parentheses exactly when the speed names its unit.
  const bool unit = processor.speed.find_first_of("MG") != std::string::npos;
  FUZZ_CHECK(processor.name.starts_with(unit ? text.substr(0, text.rfind(" (")) : text));
  FUZZ_CHECK(!unit || (text.ends_with(" MHz)") || text.ends_with(" GHz)")));
  return 0;
}
