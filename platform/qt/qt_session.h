// The ways the program is told to end from outside: the end of the desktop session and the
// termination signals. On logout the session manager's last word reaches the application as a
// Quit event, on which Qt would close the visible windows one by one and leave its loop; a signal
// would end the process on the spot. The program closes in its own order instead, the icon first.
#pragma once

#include <functional>
#include <memory>

class QGuiApplication;
class QObject;

namespace sysvane::qt {

// From now on SIGTERM, SIGINT and SIGHUP are kept for CloseWhenToldToEnd instead of ending the
// process: called first thing, before the application exists, so that none comes too early.
void CatchTerminationSignals();

// While the returned object lives, `close` runs when the session ends or a caught termination
// signal comes (in the event loop, never inside the signal handler), and must end the program. The
// session manager is told never to start the program again: the autostart entry starts it, and a
// restored copy beside that one would only say that the program is already running.
std::unique_ptr<QObject> CloseWhenToldToEnd(QGuiApplication& app, std::function<void()> close);

// Qt's X11 platform ends the program with exit(1) from inside an event loop when the display goes
// (the X server ended under it, as at logout). The application and the D-Bus thread are still
// alive then, and the libraries' global destructors that exit() runs pull the D-Bus type registry
// from under a message that thread is still delivering (a segmentation fault). While the program
// is inside its start-up or its event loop, such an exit ends the process at once, with the status
// asked for and the output flushed: the settings are never written by a destructor. Called once
// before the start-up, and again by whatever first makes a library keep globals of its own (the
// bus connection of the tray), so that this comes before their destructors.
void EndAtOnceOnExitFromTheLoop();
// Whether the program is inside its start-up or its event loop (then an exit ends it at once).
void SetInsideTheLoop(bool inside);

}  // namespace sysvane::qt
