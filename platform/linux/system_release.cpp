#include "platform/linux/system_release.h"

#include "platform/linux/proc_parsers.h"

namespace sysvane {

namespace {

// Leading decimal digits of `text`, consumed; nullopt when there are none.
std::optional<uint32_t> TakeNumber(std::string_view& text) {
  size_t end = 0;
  uint64_t value = 0;
  while (end < text.size() && text[end] >= '0' && text[end] <= '9' && value <= UINT32_MAX) {
    value = value * 10 + static_cast<uint64_t>(text[end] - '0');
    ++end;
  }
  if (end == 0 || value > UINT32_MAX) return std::nullopt;
  text.remove_prefix(end);
  return static_cast<uint32_t>(value);
}

// A value of os-release: shell-like, optionally in single or double quotes.
std::string UnquoteValue(std::string_view value) {
  value = Trim(value);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    const char quote = value.front();
    value = value.substr(1, value.size() - 2);
    if (quote == '\'') return std::string(value);
  }
  std::string text;
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\\' && i + 1 < value.size()) ++i;
    text += value[i];
  }
  return text;
}

}  // namespace

std::optional<KernelRelease> ParseKernelRelease(std::string_view release) {
  release = Trim(release);
  KernelRelease parsed;
  const auto major = TakeNumber(release);
  if (!major) return std::nullopt;
  parsed.major = *major;
  uint32_t* rest[] = {&parsed.minor, &parsed.patch};
  for (uint32_t* part : rest) {
    if (release.empty() || release.front() != '.') break;
    release.remove_prefix(1);
    const auto number = TakeNumber(release);
    if (!number) break;
    *part = *number;
  }
  return parsed;
}

std::optional<std::string> ParsePrettyName(std::string_view osRelease) {
  while (!osRelease.empty()) {
    const size_t end = osRelease.find('\n');
    std::string_view line = Trim(osRelease.substr(0, end));
    osRelease.remove_prefix(end == std::string_view::npos ? osRelease.size() : end + 1);
    constexpr std::string_view kKey = "PRETTY_NAME=";
    if (!line.starts_with(kKey)) continue;
    std::string name = UnquoteValue(line.substr(kKey.size()));
    if (!name.empty()) return name;
  }
  return std::nullopt;
}

}  // namespace sysvane
