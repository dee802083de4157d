// The small texts of the Linux backend: the online processor list, a process's thread count,
// statm, the kernel release and os-release's PRETTY_NAME.
#include <string>

#include "fuzz/fuzz_support.h"
#include "platform/linux/proc_parsers.h"
#include "platform/linux/system_release.h"

using namespace sysvane;
using sysvane::fuzz::AsText;
using sysvane::fuzz::Neutralized;
using sysvane::fuzz::NumberAt;
using sysvane::fuzz::OneLine;

namespace {

// The processors a list names, counted the long way; nullopt when the list is malformed or the
// count does not fit 32 bits.
std::optional<uint32_t> CountListed(std::string_view list) {
  list = Trim(list);
  if (list.empty()) return std::nullopt;
  uint64_t count = 0;
  while (true) {
    const size_t comma = list.find(',');
    const std::string_view range = list.substr(0, comma);
    const size_t dash = range.find('-');
    const auto first = ParseUnsigned(range.substr(0, dash));
    const auto last = dash == std::string_view::npos ? first : ParseUnsigned(range.substr(dash + 1));
    if (!first || !last || *last < *first) return std::nullopt;
    count += *last - *first + 1;  // wraps only for 0-2^64-1, which is far past the limit
    if (count > UINT32_MAX || count == 0) return std::nullopt;
    if (comma == std::string_view::npos || comma + 1 == list.size()) break;  // "0-3," is "0-3"
    list.remove_prefix(comma + 1);
  }
  return static_cast<uint32_t>(count);
}

void CheckOnlineCpus(std::string_view text) {
  FUZZ_CHECK(ParseOnlineCpus(text) == CountListed(text));
  const uint32_t first = static_cast<uint32_t>(NumberAt(text, 0) >> 52);
  const uint32_t last = first + static_cast<uint32_t>(NumberAt(text, 8) >> 52);
  FUZZ_CHECK(ParseOnlineCpus(std::to_string(first) + "-" + std::to_string(last) + ",9999\n") ==
             last - first + 2);
}

void CheckThreads(std::string_view text) {
  (void)ParseProcessThreads(text);
  // The command name may hold anything, parentheses and spaces too: field 20 is still found.
  const uint64_t threads = NumberAt(text, 0) >> 32;
  std::string stat = "4242 (" + std::string(text) + ") S 1 4242 4242 0 -1 4194560 1 2 3 4 5 6 7 8 20 0 ";
  stat += std::to_string(threads) + " 0 1234 5678\n";
  FUZZ_CHECK(ParseProcessThreads(stat) == threads);
}

void CheckKernelRelease(std::string_view text) {
  // What follows the numbers does not change them.
  if (const auto release = ParseKernelRelease(text)) {
    const auto longer = ParseKernelRelease(std::string(text) + "-rc1+");
    FUZZ_CHECK(longer && longer->major == release->major && longer->minor == release->minor &&
               longer->patch == release->patch);
  }
  const auto major = static_cast<uint32_t>(NumberAt(text, 0) >> 32);
  const auto minor = static_cast<uint32_t>(NumberAt(text, 4) >> 32);
  const auto patch = static_cast<uint32_t>(NumberAt(text, 8) >> 32);
  // Whatever suffix follows a number that is not itself a digit or a point.
  std::string suffix = OneLine(text);
  if (!suffix.empty() && ((suffix[0] >= '0' && suffix[0] <= '9') || suffix[0] == '.')) suffix.insert(0, "-");
  const auto parsed = ParseKernelRelease(std::to_string(major) + "." + std::to_string(minor) + "." +
                                         std::to_string(patch) + suffix);
  FUZZ_CHECK(parsed && parsed->major == major && parsed->minor == minor && parsed->patch == patch);
}

void CheckPrettyName(std::string_view text) {
  if (const auto name = ParsePrettyName(text))
    FUZZ_CHECK(!name->empty() && name->find('\n') == std::string::npos);
  // Any one-line name, quoted and escaped the shell's way, is read back as it is.
  std::string name = OneLine(text);
  if (name.empty()) name = "Debian GNU/Linux 12 (bookworm)";
  std::string quoted = "\"";
  for (char c : name) {
    if (c == '"' || c == '\\' || c == '$' || c == '`') quoted += '\\';
    quoted += c;
  }
  quoted += '"';
  FUZZ_CHECK(ParsePrettyName(Neutralized(text) + "NAME=\"x\"\nPRETTY_NAME=" + quoted + "\n") == name);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text = AsText(data, size);
  CheckOnlineCpus(text);
  CheckThreads(text);
  CheckKernelRelease(text);
  CheckPrettyName(text);
  // statm: only the first of its numbers is read.
  if (const auto pages = ParseStatmSize(text))
    FUZZ_CHECK(ParseStatmSize(std::string(text) + " 7 8") == pages);
  return 0;
}
