// An independent reader of desktop entry files, written from the format's rules, so that the
// tests can prove what a desktop will make of the files the program writes.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace sysvane::testing {

// Undoes the escapes of a string value: \s \n \t \r \\. nullopt for any other escape.
inline std::optional<std::string> UnescapeStringValue(const std::string& value) {
  std::string out;
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\') {
      out += value[i];
      continue;
    }
    if (++i == value.size()) return std::nullopt;
    switch (value[i]) {
      case 's':
        out += ' ';
        break;
      case 'n':
        out += '\n';
        break;
      case 't':
        out += '\t';
        break;
      case 'r':
        out += '\r';
        break;
      case '\\':
        out += '\\';
        break;
      default:
        return std::nullopt;
    }
  }
  return out;
}

// The keys of the [Desktop Entry] group, their raw values (spaces around "=" dropped).
inline std::map<std::string, std::string> ReadEntryGroup(const std::string& text) {
  std::map<std::string, std::string> keys;
  bool inGroup = false;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    start = end + 1;
    if (line.empty() || line[0] == '#') continue;
    if (line[0] == '[') {
      inGroup = line == "[Desktop Entry]";
      continue;
    }
    const size_t equals = line.find('=');
    if (!inGroup || equals == std::string::npos) continue;
    std::string key = line.substr(0, equals);
    while (!key.empty() && key.back() == ' ') key.pop_back();
    size_t valueStart = equals + 1;
    while (valueStart < line.size() && line[valueStart] == ' ') ++valueStart;
    keys[key] = line.substr(valueStart);
  }
  return keys;
}

// Splits an unescaped Exec value into its arguments. nullopt when the line breaks a rule: a
// reserved character outside quotes, ` or $ inside quotes without their backslash, a backslash
// inside quotes before anything but " ` $ \, an unterminated quote, or a field code but %%.
inline std::optional<std::vector<std::string>> SplitExec(const std::string& exec) {
  const std::string reserved = " \t\n\"'\\><~|&;$*?#()`";
  std::vector<std::string> arguments;
  size_t i = 0;
  while (i < exec.size()) {
    if (exec[i] == ' ') {
      ++i;
      continue;
    }
    std::string argument;
    if (exec[i] == '"') {
      for (++i;; ++i) {
        if (i >= exec.size()) return std::nullopt;
        if (exec[i] == '"') break;
        if (exec[i] == '`' || exec[i] == '$') return std::nullopt;  // must come escaped
        if (exec[i] == '\\') {
          if (++i >= exec.size() || std::string("\"`$\\").find(exec[i]) == std::string::npos)
            return std::nullopt;
        }
        argument += exec[i];
      }
      ++i;
      if (i < exec.size() && exec[i] != ' ') return std::nullopt;
    } else {
      for (; i < exec.size() && exec[i] != ' '; ++i) {
        if (reserved.find(exec[i]) != std::string::npos) return std::nullopt;
        argument += exec[i];
      }
    }
    // Field codes: only the literal percent sign may appear.
    std::string expanded;
    for (size_t j = 0; j < argument.size(); ++j) {
      if (argument[j] == '%') {
        if (j + 1 >= argument.size() || argument[j + 1] != '%') return std::nullopt;
        ++j;
      }
      expanded += argument[j];
    }
    arguments.push_back(expanded);
  }
  return arguments;
}

// The command a desktop runs for the entry's text; nullopt when the Exec line is invalid.
inline std::optional<std::vector<std::string>> CommandOfEntry(const std::string& text) {
  const auto keys = ReadEntryGroup(text);
  const auto exec = keys.find("Exec");
  if (exec == keys.end()) return std::nullopt;
  const auto unescaped = UnescapeStringValue(exec->second);
  if (!unescaped) return std::nullopt;
  return SplitExec(*unescaped);
}

}  // namespace sysvane::testing
