// The processor's description from what the processor library writes into its buffers: a name
// (perhaps with a quoted nickname) and a raw speed ending in "M" or "G", any bytes at all.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>

#include "fuzz/fuzz_support.h"
#include "platform/fake/fake_platform.h"
#include "stats/system_info.h"

using namespace sysvane;

namespace {

constexpr size_t kBufferSize = 255;

// What a buffer of the library holds up to its first NUL.
std::string BufferText(const std::string& written) {
  return written.substr(0, std::min(written.find('\0'), kBufferSize));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  LocaleInfo locale;
  locale.decimalSeparator = input.PickValueInArray({".", ",", "\xC2\xB7", ""});
  locale.thousandsSeparator = input.PickValueInArray({",", ".", " ", "'"});
  fake::FakeKernel kernel;
  fake::FakeProcessorLibrary processor;
  fake::FakeResourceMeter resources;
  processor.name = input.ConsumeRandomLengthString(400);
  processor.speed = input.ConsumeRemainingBytesAsString();
  SystemInfoModule info(kernel, processor, resources);
  const std::string description = info.GetProcessorDescription(locale);

  // The name is what comes before a quoted nickname and the space in front of it.
  const std::string first = BufferText(processor.name);
  const size_t quote = first.find('"');
  const std::string name = quote == std::string::npos ? first : first.substr(0, quote == 0 ? 0 : quote - 1);
  FUZZ_CHECK(description.find('\0') == std::string::npos);
  FUZZ_CHECK(description.starts_with(name));

  // A speed appears exactly when the speed buffer names its unit, in parentheses after a space.
  const std::string speed = BufferText(processor.speed);
  const bool hasUnit = speed.find_first_of("MG") != std::string::npos;
  if (!hasUnit) {
    FUZZ_CHECK(description == name);
    return 0;
  }
  const std::string rest = description.substr(name.size());
  FUZZ_CHECK(rest.starts_with(" (") && (rest.ends_with(" MHz)") || rest.ends_with(" GHz)")));
  const std::string figure = rest.substr(2, rest.size() - 7);
  FUZZ_CHECK(!figure.empty());
  // Gigahertz always carry two decimals after the user's separator.
  if (rest.ends_with(" GHz)") && figure != "inf" && figure != "-inf" &&
      figure.find("nan") == std::string::npos) {
    const std::string& separator = locale.decimalSeparator;
    FUZZ_CHECK(figure.size() >= separator.size() + 3);
    FUZZ_CHECK(figure.compare(figure.size() - 2 - separator.size(), separator.size(), separator) == 0);
  }
  return 0;
}
