// The per-user settings store: text values addressed by application, section and key.
#pragma once

#include <optional>
#include <string>

namespace sysvane {

class SettingsBackend {
 public:
  virtual ~SettingsBackend() = default;
  // nullopt when the key is missing (or its value could not be read).
  virtual std::optional<std::string> Read(const std::string& app, const std::string& section,
                                          const std::string& key) = 0;
  // false when the value could not be stored.
  virtual bool Write(const std::string& app, const std::string& section, const std::string& key,
                     const std::string& value) = 0;
};

}  // namespace sysvane
