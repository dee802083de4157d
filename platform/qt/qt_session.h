// The end of the desktop session. On logout the session manager's last word reaches the
// application as a Quit event, on which Qt would close the visible windows one by one and leave
// its loop; the program closes in its own order instead, the icon first.
#pragma once

#include <functional>
#include <memory>

class QGuiApplication;
class QObject;

namespace sysvane::qt {

// While the returned object lives, `close` runs when the session ends and must end the program. The session
// manager is told never to start the program again: the autostart entry starts it, and a restored copy beside
// that one would only say that the program is already running.
std::unique_ptr<QObject> CloseWithTheSession(QGuiApplication& app, std::function<void()> close);

}  // namespace sysvane::qt
