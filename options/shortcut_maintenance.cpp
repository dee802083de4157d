#include "options/shortcut_maintenance.h"

#include "options/desktop_entry.h"
#include "options/settings.h"

namespace sysvane {

namespace {
// A folder of the desktop's own, or empty: a relative folder would land wherever we run from.
std::string Below(const std::string& home, const std::string& folder) {
  if (home.empty() || home.front() != '/') return "";
  return home + "/" + folder;
}
}  // namespace

std::string ShortcutMaintenance::StartupFolder() {
  return Below(desktop_.ConfigHome(), "autostart");
}

std::string ShortcutMaintenance::ProgramsFolder() {
  return Below(desktop_.DataHome(), "applications");
}

std::string ShortcutMaintenance::FindStartupShortcut(const std::string& LinkName) {
  const std::string folder = StartupFolder();
  return folder.empty() ? "" : folder + "/" + FileName(LinkName);
}

bool ShortcutMaintenance::StartupShortcutExists(const std::string& LinkName) {
  if (desktop_.HasStartupLinks()) return desktop_.StartupLinkExists(LinkName);
  // An entry the desktop switched off starts nothing: the box then reads clear.
  const std::string path = FindStartupShortcut(LinkName);
  const auto text = path.empty() ? std::nullopt : desktop_.ReadFile(path);
  return text && EntryIsEnabled(*text);
}

bool ShortcutMaintenance::fCreateShellLink(const std::string& Folder, const std::string& LinkName,
                                           const std::string& TargetPath, const std::string& Arguments) {
  std::string folder = ProgramsFolder();
  if (folder.empty() || TargetPath.empty()) return false;
  if (!Folder.empty()) folder += "/" + Folder;
  DesktopEntry entry;
  entry.name = kAppTitle;
  entry.comment = "System monitor in the notification area";
  entry.icon = "sysvane";
  entry.command = {TargetPath};
  if (!Arguments.empty()) entry.command.push_back(Arguments);
  const auto text = FormatDesktopEntry(entry);
  if (!text || !LaunchersCanStart(entry.command)) return false;
  if (!desktop_.CreateFolders(folder)) return false;
  return desktop_.WriteFileAtomically(folder + "/" + FileName(LinkName), *text);
}

void ShortcutMaintenance::CreateStartupShortcut(const std::string& LinkName, const std::string& TargetPath,
                                                const std::string& Arguments) {
  const bool made = desktop_.HasStartupLinks() ? desktop_.CreateStartupLink(LinkName, TargetPath, Arguments)
                                               : fCreateShellLink("", LinkName, TargetPath, Arguments);
  if (!made) {
    runtime_.MsgBox("Unable to create shortcut for " + TargetPath + ".", forms::vbInformation, kAppTitle);
    return;
  }
  if (desktop_.HasStartupLinks()) return;  // made in its place
  const std::string source = ProgramsFolder() + "/" + FileName(LinkName);
  const std::string destination = FindStartupShortcut(LinkName);
  // The move replaces an older launcher in one step: never a moment without one, even when the
  // program is killed right then. A failed move is not reported; the launcher then stays in the
  // Programs menu and the older one, if any, keeps starting the program.
  if (destination.empty() || !desktop_.CreateFolders(StartupFolder())) return;
  desktop_.MoveFile(source, destination);
}

void ShortcutMaintenance::RemoveStartupShortcut(const std::string& LinkName) {
  if (desktop_.HasStartupLinks()) {
    desktop_.RemoveStartupLink(LinkName);
    return;
  }
  const std::string path = FindStartupShortcut(LinkName);
  if (!path.empty()) desktop_.DeleteFile(path);
}

}  // namespace sysvane
