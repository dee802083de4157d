#include "options/desktop_entry.h"

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

}  // namespace sysvane
