// The mount table (/proc/self/mounts) with its octal escapes, from any text.
#include <string>

#include "fuzz/fuzz_support.h"
#include "platform/linux/proc_parsers.h"

using namespace sysvane;
using sysvane::fuzz::AsText;

namespace {

// A field as the kernel writes it: space, tab, newline and backslash as three octal digits.
std::string Escaped(std::string_view field) {
  std::string out;
  for (char c : field) {
    if (c == ' ' || c == '\t' || c == '\n' || c == '\\') {
      const auto byte = static_cast<unsigned char>(c);
      out += '\\';
      out += static_cast<char>('0' + (byte >> 6));
      out += static_cast<char>('0' + ((byte >> 3) & 7));
      out += static_cast<char>('0' + (byte & 7));
    } else {
      out += c;
    }
  }
  return out;
}

// A path the kernel can name: no NUL, not empty.
std::string AsPath(std::string_view bytes) {
  std::string path;
  for (char c : bytes) {
    if (c != '\0') path += c;
  }
  return path.empty() ? "/" : path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text = AsText(data, size);

  const auto entries = ParseMountTable(text);
  size_t lines = 1;
  for (char c : text) lines += c == '\n';
  FUZZ_CHECK(entries.size() <= lines);
  for (const MountEntry& entry : entries) {
    FUZZ_CHECK(!entry.type.empty() && !entry.source.empty() && !entry.mountPoint.empty());
    FUZZ_CHECK(entry.type.find_first_of(" \t\n") == std::string::npos);
  }
  // Undoing escapes never lengthens a field.
  FUZZ_CHECK(UnescapeMountField(text).size() <= text.size());

  // The input split in two paths: escaped as the kernel escapes them they come back unchanged,
  // as the last entry after whatever the text holds.
  const size_t half = size / 2;
  const std::string source = AsPath(text.substr(0, half));
  const std::string mountPoint = AsPath(text.substr(half));
  FUZZ_CHECK(UnescapeMountField(Escaped(source)) == source);
  const std::string line = Escaped(source) + " " + Escaped(mountPoint) + " ext4 rw,relatime 0 0\n";
  const auto withLine = ParseMountTable(std::string(text) + "\n" + line);
  FUZZ_CHECK(!withLine.empty());
  const MountEntry& last = withLine.back();
  FUZZ_CHECK(last.source == source && last.mountPoint == mountPoint && last.type == "ext4");
  return 0;
}
