#include "options/settings.h"

#include <charconv>
#include <cmath>

namespace sysvane {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string Trim(const std::string& text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

}  // namespace

std::string Settings::Read(const std::string& key, const std::string& defaultValue) const {
  return backend_.Read(kAppTitle, kSettingsSection, key).value_or(defaultValue);
}

bool Settings::Write(const std::string& key, const std::string& text) {
  return backend_.Write(kAppTitle, kSettingsSection, key, text);
}

bool Settings::IsOn(const std::string& key, bool defaultOn) const {
  const auto text = backend_.Read(kAppTitle, kSettingsSection, key);
  if (!text) return defaultOn;
  return SwitchIsOn(*text);
}

bool Settings::IsDefined() const {
  return Read("Defined") == "Yes";
}

std::optional<double> Settings::ReadNumber(const std::string& key) const {
  const auto text = backend_.Read(kAppTitle, kSettingsSection, key);
  if (!text) return std::nullopt;
  return ParseNumber(*text);
}

Settings::TrayIconShows Settings::TrayIcon() const {
  return TrayIconFromText(Read("TrayIcon", "0"));
}

Settings::TrayIconShows TrayIconFromText(const std::string& text) {
  const auto number = ParseNumber(text);
  if (number && (*number == 1.0 || *number == 2.0)) return Settings::TrayIconShows(int(*number));
  return Settings::TrayIconShows::ProgramIcon;
}

bool SwitchIsOn(const std::string& text) {
  const auto number = ParseNumber(text);
  return number && *number == 1.0;
}

std::optional<double> ParseNumber(const std::string& text) {
  const std::string trimmed = Trim(text);
  const char* begin = trimmed.data();
  const char* end = begin + trimmed.size();
  // from_chars takes no plus sign; a single one in front is still a plain number.
  const bool plus = begin != end && *begin == '+';
  if (plus) ++begin;
  if (begin == end || (plus && (*begin == '+' || *begin == '-'))) return std::nullopt;
  double value = 0;
  // Always the C conventions (decimal point, no grouping), whatever the user's locale.
  const auto result = std::from_chars(begin, end, value, std::chars_format::general);
  if (result.ec != std::errc() || result.ptr != end || !std::isfinite(value)) return std::nullopt;
  return value;
}

}  // namespace sysvane
