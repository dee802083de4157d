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

}  // namespace sysvane::qt
