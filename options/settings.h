// The settings store: section "Settings" of the application "Sysvane", one text per key.
#pragma once

#include <optional>
#include <string>

#include "platform/settings_store.h"

namespace sysvane {

inline constexpr const char* kAppTitle = "Sysvane";
inline constexpr const char* kSettingsSection = "Settings";

class Settings {
 public:
  explicit Settings(SettingsBackend& backend) : backend_(backend) {}

  // The stored text, or the default when the key is missing.
  std::string Read(const std::string& key, const std::string& defaultValue = "") const;
  // false when the store refused the value (not reported to the user).
  bool Write(const std::string& key, const std::string& text);

  // A switch is on exactly when its text, trimmed, parses as a number equal to 1; text that is
  // not a number is off. `defaultOn` is the reader's default for a missing key.
  bool IsOn(const std::string& key, bool defaultOn = false) const;
  // `Defined` compared with "Yes" exactly.
  bool IsDefined() const;

  // A position in twips: nullopt when missing or not a number.
  std::optional<double> ReadNumber(const std::string& key) const;

  // What the tray icon shows, from `TrayIcon`; a missing key is the program's icon.
  enum class TrayIconShows { ProgramIcon = 0, CpuDigits = 1, CpuAndMemoryBars = 2 };
  TrayIconShows TrayIcon() const;

 private:
  SettingsBackend& backend_;
};

// The switch rule on its own: " 1 " and "1.0" are on; "2", "abc", "" are off.
bool SwitchIsOn(const std::string& text);
// The tray icon choice as stored: the number 0, 1 or 2; anything else (a damaged or unknown
// value, a choice of a later version) is the program's icon, so that the tray never goes blank.
Settings::TrayIconShows TrayIconFromText(const std::string& text);
// Parses the whole trimmed text as a decimal number; nullopt when it is not one.
std::optional<double> ParseNumber(const std::string& text);

}  // namespace sysvane
