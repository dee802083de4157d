// The start-up entry's quoting: any path a file can have (every byte but NUL) either comes back
// unchanged through an independent reader of the Desktop Entry rules, or is refused because it
// holds a control character, which no entry value can carry. Never a line that runs something else.
#include <algorithm>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "options/desktop_entry.h"
#include "options/tests/desktop_entry_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path(AsText(data, size));
  if (path.find('\0') != std::string::npos) return 0;  // no path holds one
  DesktopEntry entry;
  entry.name = path;
  entry.command = {"/usr/bin/sysvane", path, "--autostart"};
  const auto text = FormatDesktopEntry(entry);
  if (std::any_of(path.begin(), path.end(), [](char c) { return uint8_t(c) < 0x20 || c == 0x7F; })) {
    FUZZ_CHECK(!text && !QuoteExecArgument(path));
  } else {
    FUZZ_CHECK(testing::SplitExec(QuoteExecArgument(path).value()) == std::vector<std::string>{path});
    FUZZ_CHECK(text && testing::CommandOfEntry(*text) == entry.command);
    FUZZ_CHECK(testing::UnescapeStringValue(testing::ReadEntryGroup(*text).at("Name")) == path);
  }
  return 0;
}
