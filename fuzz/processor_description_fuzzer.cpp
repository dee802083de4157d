// The processor's description from what the processor library writes into its buffers: a name
// (perhaps with a quoted nickname) and a raw speed ending in "M" or "G", any bytes at all.
#include <fuzzer/FuzzedDataProvider.h>

#include "fuzz/fuzz_support.h"
#include "platform/fake/fake_platform.h"
#include "stats/system_info.h"

using namespace sysvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  LocaleInfo locale;
  locale.decimalSeparator = input.PickValueInArray({".", ",", "\xC2\xB7", ""});
  fake::FakeKernel kernel;
  fake::FakeProcessorLibrary processor;
  fake::FakeResourceMeter resources;
  processor.name = input.ConsumeRandomLengthString(400);
  processor.speed = input.ConsumeRemainingBytesAsString();
  const std::string description =
      SystemInfoModule(kernel, processor, resources).GetProcessorDescription(locale);
  // The name is what comes before a quoted nickname and the space in front of it.
  const std::string first = processor.name.substr(0, std::min<size_t>(processor.name.find('\0'), 255));
  const size_t quote = first.find('"');
  const std::string name = first.substr(0, quote == std::string::npos ? quote : quote == 0 ? 0 : quote - 1);
  FUZZ_CHECK(description.starts_with(name) && description.find('\0') == std::string::npos);
  // A speed appears exactly when the speed buffer names its unit, in parentheses after a space.
  const std::string speed = processor.speed.substr(0, std::min<size_t>(processor.speed.find('\0'), 255));
  const std::string rest = description.substr(name.size());
  if (speed.find_first_of("MG") == std::string::npos)
    FUZZ_CHECK(rest.empty());
  else
    FUZZ_CHECK(rest.starts_with(" (") && (rest.ends_with(" MHz)") || rest.ends_with(" GHz)")) &&
               rest.size() > 7);
  return 0;
}
