// The settings store on Windows: the per-user registry key of the Basic runtime's GetSetting and
// SaveSetting, HKCU\Software\VB and VBA Program Settings\<application>\<section>, one string value
// per key.
#pragma once

#include <string>

#include "platform/settings_store.h"

namespace sysvane::windows {

class WindowsSettingsBackend : public SettingsBackend {
 public:
  std::optional<std::string> Read(const std::string& app, const std::string& section,
                                  const std::string& key) override;
  bool Write(const std::string& app, const std::string& section, const std::string& key,
             const std::string& value) override;
};

// The key below HKEY_CURRENT_USER that holds a section's values.
std::string SettingsKey(const std::string& app, const std::string& section);

}  // namespace sysvane::windows
