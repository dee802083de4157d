// ShortcutMaintenance: the start-up shortcut. The program starts with the desktop session when
// its launcher lies in the user's autostart folder (or, where the system has start-up links of
// its own, when its link does); the Options dialog's first box shows whether it does, and saving
// the dialog creates or removes it.
#pragma once

#include <string>

#include "platform/desktop.h"
#include "platform/forms.h"

namespace sysvane {

class ShortcutMaintenance {
 public:
  ShortcutMaintenance(Desktop& desktop, forms::Runtime& runtime) : desktop_(desktop), runtime_(runtime) {}

  // Makes the launcher in the Programs menu and moves it into the autostart folder; a launcher
  // that cannot be made is reported to the user, a failed move is not.
  void CreateStartupShortcut(const std::string& LinkName, const std::string& TargetPath,
                             const std::string& Arguments);
  // Deletes the launcher in the autostart folder, if there is one; never reports anything.
  void RemoveStartupShortcut(const std::string& LinkName);
  // The launcher's path in the autostart folder; empty when the folder is unknown.
  std::string FindStartupShortcut(const std::string& LinkName);
  // The dialog's read-back: an enabled launcher lies in the autostart folder.
  bool StartupShortcutExists(const std::string& LinkName);

  // The session's start-up folder ($XDG_CONFIG_HOME/autostart) and the user's Programs menu
  // ($XDG_DATA_HOME/applications); empty when unknown.
  std::string StartupFolder();
  std::string ProgramsFolder();

  // Writes LinkName.desktop for the target into the Programs menu (or a folder within it);
  // false when it could not be written or no launcher could start the target from it.
  bool fCreateShellLink(const std::string& Folder, const std::string& LinkName, const std::string& TargetPath,
                        const std::string& Arguments);

 private:
  static std::string FileName(const std::string& LinkName) { return LinkName + ".desktop"; }

  Desktop& desktop_;
  forms::Runtime& runtime_;
};

}  // namespace sysvane
