// The mount table (/proc/self/mountinfo) with its octal escapes, from any text.
#include "fuzz/fuzz_support.h"
#include "platform/linux/proc_parsers.h"

// A path as the kernel writes it: space, tab, newline and backslash as three octal digits.
std::string Escaped(std::string_view path) {
  std::string out = "/";
  for (const char c : path) {
    if (c == ' ' || c == '\t' || c == '\n' || c == '\\')
      out += {'\\', char('0' + (uint8_t(c) >> 6)), char('0' + (c >> 3 & 7)), char('0' + (c & 7))};
    else if (c != '\0')
      out += c;
  }
  return out;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text = AsText(data, size);
  for (const MountEntry& entry : ParseMountInfo(text))
    FUZZ_CHECK(!entry.source.empty() && !entry.root.empty());
  FUZZ_CHECK(UnescapeMountField(text).size() <= size);  // undoing escapes never lengthens a field
  // The input as two paths, escaped the kernel's way, comes back unchanged as the last entry.
  const std::string root = Escaped(text.substr(0, size / 2)), point = Escaped(text.substr(size / 2));
  const auto entries =
      ParseMountInfo(std::string(text) + "\n7 1 8:1 " + root + " " + point + " rw - ext4 /dev/sda1 rw\n");
  FUZZ_CHECK(!entries.empty() && entries.back().type == "ext4" && entries.back().device == "8:1");
  FUZZ_CHECK(Escaped(entries.back().root.substr(1)) == root &&
             Escaped(entries.back().mountPoint.substr(1)) == point);
  return 0;
}
