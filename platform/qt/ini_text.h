// The settings file's text, read and changed one key at a time. A change rewrites the line of
// that key alone (or adds one): comments, blank lines, other sections, unknown keys and lines
// that are no setting at all stay byte for byte as the user left them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sysvane {

class IniText {
 public:
  explicit IniText(std::string text = "") : text_(std::move(text)) {}

  // The value of the last `key=` line of `section` (every "[section]" header counts); nullopt
  // when there is none. A value in double quotes loses them and its escapes are undone; any
  // other value is the text after "=", without the blanks around it.
  std::optional<std::string> Get(std::string_view section, std::string_view key) const;
  // Replaces the line Get reads, or adds one at the end of the section (or a new section at the
  // end of the text). false, and nothing changed, for a name no line can hold.
  bool Set(std::string_view section, std::string_view key, std::string_view value);

  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

// A value as it is written after "=": as it is when it reads back unchanged, else in double
// quotes with \\ \" \n \r \t \0 and \xHH escapes.
std::string EncodeIniValue(std::string_view value);
// The value of a line's text after "=" (blanks around it already removed).
std::string DecodeIniValue(std::string_view raw);

}  // namespace sysvane
