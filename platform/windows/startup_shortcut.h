// The start-up shortcut on Windows: a shell link (LinkName.lnk) to the program in the user's
// Startup folder, made through the shell's link object so that Explorer starts it at sign-in.
// The all-users Startup folder needs administrator rights a user does not have: it is never used.
#pragma once

#include <string>
#include <utility>

namespace sysvane::windows {

class StartupShortcut {
 public:
  // `folder` stands in for the user's Startup folder (tests); empty: the shell's FOLDERID_Startup.
  explicit StartupShortcut(std::string folder = "");

  // The link's path; empty when the Startup folder is unknown.
  std::string Path(const std::string& LinkName) const;
  // Writes the link to `TargetPath` (its folder as the working folder) and switches it on in Task
  // Manager; false when it was not saved.
  bool Create(const std::string& LinkName, const std::string& TargetPath, const std::string& Arguments);
  // Deletes the link; false when there was none or it stayed.
  bool Remove(const std::string& LinkName);
  // The dialog's read-back: the link is there and the user has not switched it off in Task
  // Manager (as a desktop entry switched off reads unchecked on Linux).
  bool Exists(const std::string& LinkName) const;

 private:
  std::string folder_;
};

// The working folder of a program at `path`: its folder, or the root itself (C:\) for one in a
// drive's root.
std::string WorkingFolderOf(const std::string& path);

// Task Manager's switch of a Startup-folder item is off.
bool SwitchedOffInTaskManager(const std::string& LinkName);

}  // namespace sysvane::windows
