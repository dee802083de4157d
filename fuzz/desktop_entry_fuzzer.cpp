// The start-up entry's quoting: any path a file can have (every byte but NUL) either comes back
// unchanged through an independent reader of the Desktop Entry rules, or is refused because it
// holds a control character, which no entry value can carry. Never a line that runs something else.
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "options/desktop_entry.h"
#include "options/tests/desktop_entry_reader.h"

using namespace sysvane;
using sysvane::fuzz::AsText;

namespace {

bool HoldsControl(const std::string& text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return true;
  }
  return false;
}

DesktopEntry EntryFor(std::vector<std::string> command, std::string name) {
  DesktopEntry entry;
  entry.name = std::move(name);
  entry.comment = "Shows CPU, memory, battery and disk usage";
  entry.icon = "sysvane";
  entry.command = std::move(command);
  return entry;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path(AsText(data, size));
  if (path.find('\0') != std::string::npos) return 0;  // no path holds one

  const auto quoted = QuoteExecArgument(path);
  if (HoldsControl(path)) {
    FUZZ_CHECK(!quoted);
    FUZZ_CHECK(!EscapeStringValue(path));
    FUZZ_CHECK(!FormatDesktopEntry(EntryFor({path}, "Sysvane")));
    return 0;
  }
  FUZZ_CHECK(quoted);
  FUZZ_CHECK(testing::SplitExec(*quoted) == std::vector<std::string>{path});

  // The whole file, the path as the program and as an argument, read back as a desktop reads it.
  const std::vector<std::vector<std::string>> commands = {
      {path}, {path, "--autostart"}, {"/usr/local/bin/sysvane", path}, {path, path}};
  for (const auto& command : commands) {
    const auto text = FormatDesktopEntry(EntryFor(command, path));
    FUZZ_CHECK(text);
    FUZZ_CHECK(testing::CommandOfEntry(*text) == command);
    // Every other value comes back too, the name holding the path as well.
    const auto keys = testing::ReadEntryGroup(*text);
    const auto name = keys.find("Name");
    FUZZ_CHECK(name != keys.end() && testing::UnescapeStringValue(name->second) == path);
    FUZZ_CHECK(keys.at("Type") == "Application" && keys.at("Icon") == "sysvane");
  }
  return 0;
}
