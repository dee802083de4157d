// The start-up entry's quoting: any path a file can have (every byte but NUL) either comes back
// unchanged through an independent reader of the Desktop Entry rules, or is refused because it
// holds a control character, which no entry value can carry. Never a line that runs something else.
#include <algorithm>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "options/desktop_entry.h"
#include "options/tests/desktop_entry_reader.h"

using namespace sysvane;
using namespace sysvane::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path(AsText(data, size));
  if (path.find('\0') != std::string::npos) return 0;  // no path holds one
  const bool control =
      std::any_of(path.begin(), path.end(), [](char c) { return uint8_t(c) < 0x20 || c == 0x7F; });
  FUZZ_CHECK(QuoteExecArgument(path).has_value() != control);
  if (control) return 0;
  FUZZ_CHECK(testing::SplitExec(*QuoteExecArgument(path)) == std::vector<std::string>{path});
  // The whole file, the path as the program, as an argument and as the name, read back as a desktop reads it.
  for (const std::vector<std::string>& command :
       {std::vector<std::string>{path, "--autostart"}, {"/usr/bin/sysvane", path}}) {
    DesktopEntry entry;
    entry.name = path;
    entry.icon = "sysvane";
    entry.command = command;
    const auto text = FormatDesktopEntry(entry);
    FUZZ_CHECK(text && testing::CommandOfEntry(*text) == command);
    FUZZ_CHECK(testing::UnescapeStringValue(testing::ReadEntryGroup(*text).at("Name")) == path);
  }
  return 0;
}
