// The start-up entry's quoting: any path a file can have (every byte but NUL) is refused when it
// holds a control character, which no entry value can carry; else the entry keeps its lines, and
// the path's Exec argument reads back as the path with no character left to the command line's
// parser: never a line or an argument that runs something else.
#include <algorithm>
#include <cstring>

#include "fuzz/fuzz_support.h"
#include "options/desktop_entry.h"

// One argument read back by the Exec rules: "%%" is a percent sign; outside double quotes no
// reserved character may stand, inside them " ` $ \ come only after a backslash.
static std::string ReadArgument(const std::string& quoted) {
  const bool inQuotes = quoted.size() >= 2 && quoted.front() == '"' && quoted.back() == '"';
  const std::string inner = inQuotes ? quoted.substr(1, quoted.size() - 2) : quoted;
  std::string argument;
  for (size_t i = 0; i < inner.size(); ++i) {
    if (inner[i] == '%') FUZZ_CHECK(++i < inner.size() && inner[i] == '%');
    FUZZ_CHECK(inQuotes && inner[i] == '\\'
                   ? ++i < inner.size() && std::strchr("\"`$\\", inner[i])
                   : !std::strchr(inQuotes ? "\"`$" : " \t\n\"'\\><~|&;$*?#()`", inner[i]));
    argument += inner[i];
  }
  return argument;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path(AsText(data, size));
  if (path.find('\0') != std::string::npos) return 0;  // no path holds one
  const auto text = FormatDesktopEntry({.name = path, .command = {"/usr/bin/sysvane", path}});
  if (std::any_of(path.begin(), path.end(), [](char c) { return uint8_t(c) < 0x20 || c == 0x7F; })) {
    FUZZ_CHECK(!text && !QuoteExecArgument(path));
    return 0;
  }
  FUZZ_CHECK(text && std::count(text->begin(), text->end(), '\n') == 6);  // the group and its five keys
  FUZZ_CHECK(ReadArgument(QuoteExecArgument(path).value()) == path);
  return 0;
}
