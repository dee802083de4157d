#include "platform/linux/proc_parsers.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

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

// "0x41" as written in cpuinfo.
std::optional<uint64_t> ParseHex(std::string_view text) {
  if (!text.starts_with("0x") || text.size() == 2) return std::nullopt;
  uint64_t value = 0;
  const auto [end, ec] = std::from_chars(text.data() + 2, text.data() + text.size(), value, 16);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
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
    if (kib && *kib <= UINT64_MAX / 1024) *target = *kib * 1024;  // more bytes than 64 bits is garbage
    if (total && available) break;                                // everything needed is known
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

std::vector<MountEntry> ParseMountInfo(std::string_view mountinfo) {
  std::vector<MountEntry> entries;
  while (!mountinfo.empty()) {
    // id parent major:minor root mount-point options [optional fields...] - type source super-options
    std::string_view line = NextLine(mountinfo);
    NextField(line);
    NextField(line);
    const std::string_view device = NextField(line);
    const std::string_view root = NextField(line);
    const std::string_view mountPoint = NextField(line);
    NextField(line);
    std::string_view separator;
    do separator = NextField(line);
    while (!separator.empty() && separator != "-");
    const std::string_view type = NextField(line);
    const std::string_view source = NextField(line);
    const std::string_view superOptions = NextField(line);
    if (separator.empty() || source.empty() || root.empty()) continue;
    entries.push_back({UnescapeMountField(source), UnescapeMountField(mountPoint), std::string(type),
                       UnescapeMountField(root), std::string(device), std::string(superOptions)});
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

std::string ArmCoreName(uint64_t implementer, uint64_t part) {
  struct Core {
    uint64_t implementer, part;
    const char* name;
  };
  static constexpr Core kMakers[] = {{0x41, 0, "ARM"},      {0x42, 0, "Broadcom"},  {0x43, 0, "Cavium"},
                                     {0x46, 0, "Fujitsu"},  {0x48, 0, "HiSilicon"}, {0x4e, 0, "NVIDIA"},
                                     {0x51, 0, "Qualcomm"}, {0x61, 0, "Apple"},     {0xc0, 0, "Ampere"}};
  static constexpr Core kCores[] = {
      {0x41, 0xd03, "Cortex-A53"},  {0x41, 0xd04, "Cortex-A35"},  {0x41, 0xd05, "Cortex-A55"},
      {0x41, 0xd07, "Cortex-A57"},  {0x41, 0xd08, "Cortex-A72"},  {0x41, 0xd09, "Cortex-A73"},
      {0x41, 0xd0a, "Cortex-A75"},  {0x41, 0xd0b, "Cortex-A76"},  {0x41, 0xd0c, "Neoverse-N1"},
      {0x41, 0xd0d, "Cortex-A77"},  {0x41, 0xd40, "Neoverse-V1"}, {0x41, 0xd41, "Cortex-A78"},
      {0x41, 0xd44, "Cortex-X1"},   {0x41, 0xd46, "Cortex-A510"}, {0x41, 0xd47, "Cortex-A710"},
      {0x41, 0xd48, "Cortex-X2"},   {0x41, 0xd49, "Neoverse-N2"}, {0x41, 0xd4d, "Cortex-A715"},
      {0x41, 0xd4e, "Cortex-X3"},   {0x41, 0xd4f, "Neoverse-V2"}, {0x41, 0xd80, "Cortex-A520"},
      {0x41, 0xd81, "Cortex-A720"}, {0x43, 0x0af, "ThunderX2"},   {0x48, 0xd01, "Kunpeng-920"},
      {0x4e, 0x004, "Carmel"},      {0x61, 0x022, "M1 Icestorm"}, {0x61, 0x023, "M1 Firestorm"},
      {0xc0, 0xac3, "AmpereOne"}};
  std::string maker;
  for (const Core& entry : kMakers) {
    if (entry.implementer == implementer) maker = entry.name;
  }
  for (const Core& core : kCores) {
    if (core.implementer == implementer && core.part == part) return maker + " " + core.name;
  }
  char number[64];
  if (maker.empty()) {
    std::snprintf(number, sizeof number, "ARM implementer 0x%llx part 0x%03llx",
                  static_cast<unsigned long long>(implementer), static_cast<unsigned long long>(part));
    return number;
  }
  std::snprintf(number, sizeof number, " part 0x%03llx", static_cast<unsigned long long>(part));
  return maker + number;
}

std::string ParseProcessorName(std::string_view cpuinfo, std::string_view deviceTreeModel) {
  for (const std::string_view key : {"model name", "Model Name", "Model"}) {
    std::string name = FirstCpuinfoValue(cpuinfo, key);
    if (!name.empty()) return name;
  }
  // The device tree writes the board's name with a NUL after it.
  const std::string_view board = Trim(deviceTreeModel.substr(0, deviceTreeModel.find('\0')));
  if (!board.empty()) return std::string(board);
  if (std::string name = FirstCpuinfoValue(cpuinfo, "Hardware"); !name.empty()) return name;
  const auto implementer = ParseHex(FirstCpuinfoValue(cpuinfo, "CPU implementer"));
  const auto part = ParseHex(FirstCpuinfoValue(cpuinfo, "CPU part"));
  if (!implementer || !part) return {};
  return ArmCoreName(*implementer, *part);
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
