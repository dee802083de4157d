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
  processor.name = input.ConsumeRandomLengthString(400);
  processor.speed = input.ConsumeRemainingBytesAsString();
  const std::string text = SystemInfoModule(kernel, processor, resources).GetProcessorDescription(locale);
  // The name (what comes before a quoted nickname and the space in front of it), then the speed in
  // parentheses exactly when the speed buffer names its unit.
  const std::string first = TrimAtNull(processor.name.substr(0, 255));
  const size_t quote = first.find('"');
  const std::string name = first.substr(0, quote == std::string::npos ? quote : quote == 0 ? 0 : quote - 1);
  const std::string rest = text.substr(std::min(name.size(), text.size()));
  FUZZ_CHECK(text.starts_with(name) && text.find('\0') == std::string::npos);
  if (TrimAtNull(processor.speed.substr(0, 255)).find_first_of("MG") == std::string::npos)
    FUZZ_CHECK(rest.empty());
  else
    FUZZ_CHECK(rest.starts_with(" (") && (rest.ends_with(" MHz)") || rest.ends_with(" GHz)")) &&
               rest.size() > 7);
  return 0;
}
