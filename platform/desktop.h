// Desktop services: the browser, the mail handler, starting another program, the few file
// operations of the start-up shortcut, and where the desktop keeps the user's files.
#pragma once

#include <optional>
#include <string>

namespace sysvane {

class Desktop {
 public:
  virtual ~Desktop() = default;

  // Opens a web address in the default browser; false when no handler took it.
  virtual bool OpenUrl(const std::string& url) = 0;
  // Starts a new message in the desktop's mail handler (a mailto: address) for the user to
  // finish and send; false when no handler took it.
  virtual bool ComposeMail(const std::string& address, const std::string& subject) = 0;
  // Starts a program by its path, directly (no shell) and without arguments; false on failure.
  virtual bool StartProgram(const std::string& path) = 0;

  // A normal file (a link to one counts) lies at `path`.
  virtual bool FileExists(const std::string& path) = 0;
  // The contents of the normal file (a link to one counts) at `path`; nullopt when unreadable.
  virtual std::optional<std::string> ReadFile(const std::string& path) = 0;
  // Removes the file at `path` (never a folder); false when there was none or it stayed.
  virtual bool DeleteFile(const std::string& path) = 0;
  // Creates the folder and any missing parent, readable by the user only; true when it exists.
  virtual bool CreateFolders(const std::string& path) = 0;
  // Replaces the file at `path` with `contents` in one step: others see the old file or the whole
  // new one, never part of it. The file is readable by the user only; a link planted at `path`
  // is replaced, never followed.
  virtual bool WriteFileAtomically(const std::string& path, const std::string& contents) = 0;
  // Moves a file to another path in one step, replacing a file (or link) there.
  virtual bool MoveFile(const std::string& from, const std::string& to) = 0;

  // The system's own start-up links, where it has them (Windows: a shell link in the user's Startup
  // folder, made by the shell's link object). Where it has none (false), the program writes its
  // autostart entry itself through the file operations above.
  virtual bool HasStartupLinks() { return false; }
  // Each false when it failed (or there was no link to remove).
  virtual bool CreateStartupLink(const std::string& /*name*/, const std::string& /*target*/,
                                 const std::string& /*arguments*/) {
    return false;
  }
  virtual bool RemoveStartupLink(const std::string& /*name*/) { return false; }
  virtual bool StartupLinkExists(const std::string& /*name*/) { return false; }

  // The absolute path the program was started as (through a link, the link's path), fixed at
  // start, so that it still names the program after an upgrade replaced the file; empty when
  // unknown.
  virtual std::string ExecutablePath() = 0;
  // The user's configuration folder ($XDG_CONFIG_HOME or ~/.config), no trailing slash; empty
  // when unknown.
  virtual std::string ConfigHome() = 0;
  // The user's data folder ($XDG_DATA_HOME or ~/.local/share), no trailing slash; empty when
  // unknown.
  virtual std::string DataHome() = 0;
};

}  // namespace sysvane
