// An independent reader of desktop entry files, written from the format's rules, so that the fuzzer
// and the package's tests can prove what a desktop makes of the files the program writes.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace sysvane::testing {

// Undoes the escapes of a string value: \s \n \t \r \\. nullopt for any other escape.
inline std::optional<std::string> UnescapeStringValue(const std::string& value) {
  const std::string escapes = "sntr\\", meanings = " \n\t\r\\";
  std::string out;
  for (size_t i = 0; i < value.size(); ++i) {
    const bool escaped = value[i] == '\\';
    const size_t k = !escaped ? 0 : ++i < value.size() ? escapes.find(value[i]) : std::string::npos;
    if (k == std::string::npos) return std::nullopt;
    out += escaped ? meanings[k] : value[i];
  }
  return out;
}

// The keys of the [Desktop Entry] group, their raw values (spaces around "=" dropped).
inline std::map<std::string, std::string> ReadEntryGroup(const std::string& text) {
  std::map<std::string, std::string> keys;
  bool inGroup = false;
  for (size_t start = 0, end = 0; start < text.size(); start = end + 1) {
    end = std::min(text.find('\n', start), text.size());
    const std::string line = text.substr(start, end - start);
    if (!line.empty() && line[0] == '[') inGroup = line == "[Desktop Entry]";
    const size_t equals = line.find('=');
    if (!inGroup || line.empty() || line[0] == '#' || line[0] == '[' || equals == std::string::npos) continue;
    const size_t key = equals == 0 ? std::string::npos : line.find_last_not_of(' ', equals - 1);
    const size_t value = line.find_first_not_of(' ', equals + 1);
    keys[line.substr(0, key + 1)] = value == std::string::npos ? "" : line.substr(value);
  }
  return keys;
}

// Splits an unescaped Exec value into its arguments. nullopt when the line breaks a rule: a
// reserved character outside quotes, ` or $ inside quotes without their backslash, a backslash
// inside quotes before anything but " ` $ \, an unterminated quote, or a field code but %%.
inline std::optional<std::vector<std::string>> SplitExec(const std::string& exec) {
  std::vector<std::string> arguments;
  for (size_t i = exec.find_first_not_of(' '); i < exec.size(); i = exec.find_first_not_of(' ', i)) {
    std::string argument;
    const bool quoted = exec[i] == '"';
    for (i += quoted; i < exec.size() && (quoted ? exec[i] != '"' : exec[i] != ' '); ++i) {
      if (!quoted && std::string("\t\n\"'\\><~|&;$*?#()`").find(exec[i]) != std::string::npos)
        return std::nullopt;
      if (quoted && (exec[i] == '`' || exec[i] == '$')) return std::nullopt;  // these come escaped
      if (quoted && exec[i] == '\\' &&
          (++i == exec.size() || std::string("\"`$\\").find(exec[i]) == std::string::npos))
        return std::nullopt;
      if (exec[i] == '%' && (++i == exec.size() || exec[i] != '%')) return std::nullopt;
      argument += exec[i];
    }
    if (quoted && (i++ == exec.size() || (i < exec.size() && exec[i] != ' '))) return std::nullopt;
    arguments.push_back(argument);
  }
  return arguments;
}

// The command a desktop runs for the entry's text; nullopt when the Exec line is invalid.
inline std::optional<std::vector<std::string>> CommandOfEntry(const std::string& text) {
  const auto keys = ReadEntryGroup(text);
  const auto exec = keys.find("Exec");
  const auto unescaped = exec == keys.end() ? std::nullopt : UnescapeStringValue(exec->second);
  return unescaped ? SplitExec(*unescaped) : std::nullopt;
}

}  // namespace sysvane::testing
