#include "options/desktop_entry.h"

#include <algorithm>
#include <cstdint>

namespace sysvane {

namespace {

bool IsControl(char c) {
  return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
}

bool HoldsControl(const std::string& text) {
  for (char c : text) {
    if (IsControl(c)) return true;
  }
  return false;
}

// The characters that make the command line's parser split or interpret an argument.
constexpr const char* kReserved = " \t\n\"'\\><~|&;$*?#()`";
// The characters that keep a meaning even inside double quotes.
constexpr const char* kEscapedInQuotes = "\"`$\\";

bool IsUtf8(const std::string& text) {
  for (size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const size_t length = lead < 0x80                    ? 1
                          : lead >= 0xC2 && lead <= 0xDF ? 2
                          : lead >= 0xE0 && lead <= 0xEF ? 3
                          : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                         : 0;
    if (length == 0 || i + length > text.size()) return false;
    uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    // No overlong forms, no surrogates, nothing past U+10FFFF.
    const uint32_t least[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < least[length] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return false;
    i += length;
  }
  return true;
}

std::string Trimmed(const std::string& text) {
  const size_t begin = text.find_first_not_of(" \t\r");
  if (begin == std::string::npos) return "";
  return text.substr(begin, text.find_last_not_of(" \t\r") - begin + 1);
}

// A boolean as GLib reads it; nullopt for any other text, which leaves the key's default.
std::optional<bool> Boolean(const std::string& value) {
  if (value == "true" || value == "1") return true;
  if (value == "false" || value == "0") return false;
  return std::nullopt;
}

}  // namespace

std::optional<std::string> QuoteExecArgument(const std::string& argument) {
  if (HoldsControl(argument)) return std::nullopt;
  std::string quoted;
  if (argument.empty() || argument.find_first_of(kReserved) != std::string::npos) {
    quoted = "\"";
    for (char c : argument) {
      if (std::string(kEscapedInQuotes).find(c) != std::string::npos) quoted += '\\';
      quoted += c;
    }
    quoted += '"';
  } else {
    quoted = argument;
  }
  // A lone percent sign would start a field code (%f, %u ...).
  std::string result;
  for (char c : quoted) {
    result += c;
    if (c == '%') result += '%';
  }
  return result;
}

std::optional<std::string> EscapeStringValue(const std::string& value) {
  if (HoldsControl(value)) return std::nullopt;
  std::string escaped;
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\\') {
      escaped += "\\\\";
    } else if (value[i] == ' ' && i == 0) {
      escaped += "\\s";  // readers strip the spaces after "="
    } else {
      escaped += value[i];
    }
  }
  return escaped;
}

std::optional<std::string> FormatDesktopEntry(const DesktopEntry& entry) {
  if (entry.command.empty()) return std::nullopt;
  std::string commandLine;
  for (const auto& argument : entry.command) {
    auto quoted = QuoteExecArgument(argument);
    if (!quoted) return std::nullopt;
    if (!commandLine.empty()) commandLine += ' ';
    commandLine += *quoted;
  }
  auto name = EscapeStringValue(entry.name);
  auto comment = EscapeStringValue(entry.comment);
  auto icon = EscapeStringValue(entry.icon);
  auto exec = EscapeStringValue(commandLine);
  if (!name || !comment || !icon || !exec) return std::nullopt;
  std::string text = "[Desktop Entry]\n";
  text += "Type=Application\n";
  text += "Name=" + *name + "\n";
  if (!comment->empty()) text += "Comment=" + *comment + "\n";
  text += "Exec=" + *exec + "\n";
  if (!icon->empty()) text += "Icon=" + *icon + "\n";
  text += "Terminal=false\n";
  if (entry.autostartEnabled) text += "X-GNOME-Autostart-enabled=true\n";
  return text;
}

bool LaunchersCanStart(const std::vector<std::string>& command) {
  if (command.empty() || command.front().find('%') != std::string::npos) return false;
  for (const auto& argument : command) {
    if (!IsUtf8(argument)) return false;
  }
  return true;
}

bool EntryIsEnabled(const std::string& text) {
  bool inGroup = false;
  bool hidden = false;
  bool enabled = true;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = std::min(text.find('\n', start), text.size());
    const std::string line = Trimmed(text.substr(start, end - start));
    start = end + 1;
    if (line.empty() || line[0] == '#') continue;
    if (line[0] == '[') {
      inGroup = line == "[Desktop Entry]";
      continue;
    }
    const size_t equals = line.find('=');
    if (!inGroup || equals == std::string::npos) continue;
    const std::string key = Trimmed(line.substr(0, equals));
    const std::string value = Trimmed(line.substr(equals + 1));
    if (key == "Hidden") hidden = Boolean(value).value_or(false);
    if (key == "X-GNOME-Autostart-enabled") enabled = Boolean(value).value_or(true);
  }
  return !hidden && enabled;
}

}  // namespace sysvane
