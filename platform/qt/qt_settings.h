// The per-user settings store on QSettings, in INI form: the file
// $XDG_CONFIG_HOME/Sysvane/Sysvane.conf (~/.config when the variable is unset), one group per
// section, one key per setting, values as plain text a user can read and edit. The folder and
// the file are the user's alone (0700 and 0600); every write reaches the disk before it returns.
#pragma once

#include <memory>
#include <string>

#include "platform/settings_store.h"

class QSettings;

namespace sysvane::qt {

class QtSettingsBackend : public SettingsBackend {
 public:
  QtSettingsBackend();  // the user's file
  explicit QtSettingsBackend(std::string path);
  ~QtSettingsBackend() override;

  // One file holds the program's settings, whatever application name the callers pass.
  std::optional<std::string> Read(const std::string& app, const std::string& section,
                                  const std::string& key) override;
  bool Write(const std::string& app, const std::string& section, const std::string& key,
             const std::string& value) override;

  const std::string& Path() const { return path_; }
  static std::string DefaultPath();

 private:
  // Creates the folder and an empty file, both private, before the first write makes them.
  bool PrepareFile();
  std::string path_;
  std::unique_ptr<QSettings> settings_;
};

}  // namespace sysvane::qt
