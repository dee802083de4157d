// The Qt platform plugin the program runs on, chosen before the QApplication exists. In a Wayland
// session a window cannot place itself, so the program runs on the X11 plugin (XWayland) whenever
// an X server answers and the user chose no platform; without one it runs natively and says that
// window placement is then up to the compositor, and with no plugin to run on it says so and ends
// instead of letting Qt abort.
#pragma once

#include <string>

namespace sysvane::qt {

struct SessionFacts {
  bool platformChosen = false;  // QT_QPA_PLATFORM set by the user
  bool waylandSession = false;  // WAYLAND_DISPLAY set, or XDG_SESSION_TYPE=wayland
  bool xServerAnswers = false;  // DISPLAY set and an X server accepts a connection there
  bool waylandPluginInstalled = false;
};

struct PlatformChoice {
  std::string platform;  // for QT_QPA_PLATFORM; empty: Qt's own choice
  std::string note;      // said once on standard error; empty: nothing to say
  bool canRun = true;
  bool operator==(const PlatformChoice&) const = default;
};

PlatformChoice ChoosePlatform(const SessionFacts& facts);

// Learns the facts of this session, applies the choice and says its note. False when the program
// cannot show a window here (the reason has been said).
bool ChoosePlatformPlugin();

}  // namespace sysvane::qt
