// Desktop entry files, the launchers of the XDG desktops: the start-up shortcut is one. Values
// are written so that any path the program may be kept in starts the program unchanged.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace sysvane {

struct DesktopEntry {
  std::string name;
  std::string comment;
  std::string icon;
  std::vector<std::string> command;  // the program's absolute path, then its arguments
  bool autostartEnabled = true;
};

// One argument of an Exec line: double-quoted when it holds a reserved character (inside the
// quotes ", `, $ and \ get a backslash), a percent sign doubled. nullopt when the argument holds
// a control character (a newline, for one), which no entry value can carry.
std::optional<std::string> QuoteExecArgument(const std::string& argument);

// A value of type string as it is written after "Key=": backslashes doubled, a leading space as
// \s. nullopt when it holds a control character.
std::optional<std::string> EscapeStringValue(const std::string& value);

// The whole file, ending with a newline; nullopt when a value cannot be written.
std::optional<std::string> FormatDesktopEntry(const DesktopEntry& entry);

// Whether the desktops' launchers start a command from an entry: they read only UTF-8, and the
// GLib-based ones look for the program's path as written, before %% becomes %, so a percent
// sign in it makes them drop the entry.
bool LaunchersCanStart(const std::vector<std::string>& command);

// false when the desktop switched the entry off: Hidden=true or X-GNOME-Autostart-enabled=false.
bool EntryIsEnabled(const std::string& text);

}  // namespace sysvane
