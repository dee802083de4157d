// The per-user settings store, in INI form: the file $XDG_CONFIG_HOME/Sysvane/Sysvane.conf
// (~/.config when the variable is unset), one section per section, one key per setting, values
// as plain text a user can read and edit. Every read sees the file as it is now, so an edit made
// while the program runs counts. A write changes the line of its key alone and replaces the file
// in one step; the folder and the file are the user's alone (0700 and 0600).
#pragma once

#include <string>

#include "platform/settings_store.h"

namespace sysvane::qt {

class QtSettingsBackend : public SettingsBackend {
 public:
  QtSettingsBackend();  // the user's file
  explicit QtSettingsBackend(std::string path);
  ~QtSettingsBackend() override;

  // One file holds the program's settings, whatever application name the callers pass.
  std::optional<std::string> Read(const std::string& app, const std::string& section,
                                  const std::string& key) override;
  // false, and the file left as it was, when it cannot be read whole (a save would lose what
  // it could not read), when its owner made it read-only, or when the new file cannot be made.
  bool Write(const std::string& app, const std::string& section, const std::string& key,
             const std::string& value) override;

  const std::string& Path() const { return path_; }
  static std::string DefaultPath();

 private:
  // Creates the folder, private to the user, before the first write.
  bool PrepareFolder();
  std::string path_;
};

}  // namespace sysvane::qt
