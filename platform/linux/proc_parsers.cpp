#include "platform/linux/proc_parsers.h"

#include <algorithm>
#include <charconv>

namespace sysvane {

namespace {

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// Splits off the next line of `text` (without its newline).
std::string_view NextLine(std::string_view& text) {
  const size_t end = text.find('\n');
  std::string_view line = text.substr(0, end);
  text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  return line;
}

// Splits off the next field separated by spaces or tabs.
std::string_view NextField(std::string_view& text) {
  size_t start = 0;
  while (start < text.size() && (text[start] == ' ' || text[start] == '\t')) ++start;
  size_t end = start;
  while (end < text.size() && text[end] != ' ' && text[end] != '\t') ++end;
  std::string_view field = text.substr(start, end - start);
  text.remove_prefix(end);
  return field;
}

// "key<spaces>: value" of cpuinfo; the value when the line's key is `key`.
std::optional<std::string_view> CpuinfoValue(std::string_view line, std::string_view key) {
  const size_t colon = line.find(':');
  if (colon == std::string_view::npos || Trim(line.substr(0, colon)) != key) return std::nullopt;
  return Trim(line.substr(colon + 1));
}

std::string FirstCpuinfoValue(std::string_view cpuinfo, std::string_view key) {
  while (!cpuinfo.empty()) {
    const std::string_view line = NextLine(cpuinfo);
    if (auto value = CpuinfoValue(line, key); value && !value->empty()) return std::string(*value);
  }
  return {};
}

int OctalDigit(char c) {
  return c >= '0' && c <= '7' ? c - '0' : -1;
}

}  // namespace

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
  return text;
}

std::optional<uint64_t> ParseUnsigned(std::string_view text) {
  text = Trim(text);
  uint64_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

std::optional<int64_t> ParseSigned(std::string_view text) {
  text = Trim(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int64_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

std::optional<uint64_t> ParseProcStatIdle(std::string_view stat) {
  while (!stat.empty()) {
    std::string_view line = NextLine(stat);
    if (NextField(line) != "cpu") continue;
    // user nice system idle iowait ...
    uint64_t values[5] = {};
    for (uint64_t& value : values) {
      const auto parsed = ParseUnsigned(NextField(line));
      if (!parsed) return std::nullopt;
      value = *parsed;
    }
    return values[3] + values[4];
  }
  return std::nullopt;
}

std::optional<PhysicalMemory> ParseMeminfo(std::string_view meminfo) {
  std::optional<uint64_t> total, available, free, buffers, cached;
  while (!meminfo.empty()) {
    std::string_view line = NextLine(meminfo);
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    const std::string_view key = line.substr(0, colon);
    std::optional<uint64_t>* target = key == "MemTotal"       ? &total
                                      : key == "MemAvailable" ? &available
                                      : key == "MemFree"      ? &free
                                      : key == "Buffers"      ? &buffers
                                      : key == "Cached"       ? &cached
                                                              : nullptr;
    if (target == nullptr) continue;
    std::string_view rest = line.substr(colon + 1);
    const auto kib = ParseUnsigned(NextField(rest));
    if (kib) *target = *kib * 1024;
    if (total && available) break;  // everything needed is known
  }
  if (!total) return std::nullopt;
  if (!available) {
    if (!free || !buffers || !cached) return std::nullopt;
    available = *free + *buffers + *cached;
  }
  return PhysicalMemory{*total, std::min(*available, *total)};
}

std::string UnescapeMountField(std::string_view field) {
  std::string text;
  text.reserve(field.size());
  for (size_t i = 0; i < field.size(); ++i) {
    // The kernel writes space, tab, newline and backslash as \ooo (three octal digits).
    if (field[i] == '\\' && i + 3 < field.size()) {
      const int a = OctalDigit(field[i + 1]), b = OctalDigit(field[i + 2]), c = OctalDigit(field[i + 3]);
      if (a >= 0 && a <= 3 && b >= 0 && c >= 0) {
        text += static_cast<char>(a * 64 + b * 8 + c);
        i += 3;
        continue;
      }
    }
    text += field[i];
  }
  return text;
}

std::vector<MountEntry> ParseMountTable(std::string_view mounts) {
  std::vector<MountEntry> entries;
  while (!mounts.empty()) {
    std::string_view line = NextLine(mounts);
    const std::string_view source = NextField(line);
    const std::string_view mountPoint = NextField(line);
    const std::string_view type = NextField(line);
    if (type.empty()) continue;
    entries.push_back({UnescapeMountField(source), UnescapeMountField(mountPoint), std::string(type)});
  }
  return entries;
}

std::optional<uint32_t> ParseOnlineCpus(std::string_view list) {
  list = Trim(list);
  if (list.empty()) return std::nullopt;
  uint64_t count = 0;
  while (!list.empty()) {
    const size_t comma = list.find(',');
    const std::string_view range = list.substr(0, comma);
    list.remove_prefix(comma == std::string_view::npos ? list.size() : comma + 1);
    const size_t dash = range.find('-');
    const auto first = ParseUnsigned(range.substr(0, dash));
    const auto last = dash == std::string_view::npos ? first : ParseUnsigned(range.substr(dash + 1));
    if (!first || !last || *last < *first) return std::nullopt;
    // A count past 32 bits is garbage, not a machine: it must not wrap round to a small number.
    if (*last - *first >= UINT32_MAX - count) return std::nullopt;
    count += *last - *first + 1;
  }
  return static_cast<uint32_t>(count);
}

std::string ParseCpuinfoName(std::string_view cpuinfo) {
  for (const std::string_view key : {"model name", "Model", "Hardware"}) {
    std::string name = FirstCpuinfoValue(cpuinfo, key);
    if (!name.empty()) return name;
  }
  return {};
}

std::string ParseCpuinfoMHz(std::string_view cpuinfo) {
  return FirstCpuinfoValue(cpuinfo, "cpu MHz");
}

UeventFields ParseUevent(std::string_view uevent) {
  UeventFields fields;
  while (!uevent.empty()) {
    const std::string_view line = NextLine(uevent);
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos || equals == 0) continue;
    fields.emplace_back(line.substr(0, equals), line.substr(equals + 1));
  }
  return fields;
}

std::optional<std::string_view> FindUevent(const UeventFields& fields, std::string_view key) {
  for (const auto& [name, value] : fields) {
    if (name == key) return value;
  }
  return std::nullopt;
}

std::optional<uint32_t> ParseProcessThreads(std::string_view stat) {
  // The command name (field 2) is in parentheses and may itself hold spaces and parentheses:
  // counting starts after the last closing one, with field 3.
  const size_t close = stat.rfind(')');
  if (close == std::string_view::npos) return std::nullopt;
  std::string_view rest = stat.substr(close + 1);
  std::string_view field;
  for (int number = 3; number <= 20; ++number) field = NextField(rest);
  const auto threads = ParseUnsigned(field);
  if (!threads || *threads > UINT32_MAX) return std::nullopt;
  return static_cast<uint32_t>(*threads);
}

std::optional<uint64_t> ParseStatmSize(std::string_view statm) {
  return ParseUnsigned(NextField(statm));
}

}  // namespace sysvane
