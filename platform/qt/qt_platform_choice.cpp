#include "platform/qt/qt_platform_choice.h"

#include <netdb.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QByteArray>
#include <QDir>
#include <QLibraryInfo>
#include <QStringList>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace sysvane::qt {

PlatformChoice ChoosePlatform(const SessionFacts& facts) {
  if (facts.platformChosen || !facts.waylandSession) return {};
  if (facts.xServerAnswers) return {"xcb", "", true};
  if (facts.waylandPluginInstalled)
    return {"wayland",
            "Sysvane: no X server (XWayland) in this Wayland session; running on Wayland itself, where "
            "window placement is up to the compositor.",
            true};
  return {"",
          "Sysvane: this Wayland session has no X server (XWayland) and Qt's Wayland platform plugin "
          "(package qt6-wayland) is not installed, so Sysvane cannot show its windows.",
          false};
}

namespace {

bool EnvSet(const char* name) {
  return !qEnvironmentVariableIsEmpty(name);
}

bool Connects(int family, const sockaddr* address, socklen_t length) {
  const int fd = socket(family, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  const bool connected = connect(fd, address, length) == 0;
  close(fd);
  return connected;
}

bool LocalDisplayConnects(const std::string& number) {
  const std::string path = "/tmp/.X11-unix/X" + number;
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() + 1 >= sizeof address.sun_path) return false;
  // The abstract name first, as X clients do, then the file.
  std::memcpy(address.sun_path + 1, path.c_str(), path.size());
  const auto abstractLength = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + path.size());
  if (Connects(AF_UNIX, reinterpret_cast<sockaddr*>(&address), abstractLength)) return true;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  return Connects(AF_UNIX, reinterpret_cast<sockaddr*>(&address), sizeof address);
}

bool RemoteDisplayConnects(const std::string& host, const std::string& number) {
  addrinfo hints{};
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  const std::string port = std::to_string(6000 + std::atoi(number.c_str()));
  if (getaddrinfo(host.c_str(), port.c_str(), &hints, &found) != 0) return false;
  bool connected = false;
  for (addrinfo* a = found; a && !connected; a = a->ai_next)
    connected = Connects(a->ai_family, a->ai_addr, a->ai_addrlen);
  freeaddrinfo(found);
  return connected;
}

// DISPLAY is [host]:number[.screen]; an empty host or "unix" is this machine's socket.
bool XServerAnswers() {
  const std::string display = qEnvironmentVariable("DISPLAY").toStdString();
  const size_t colon = display.rfind(':');
  if (colon == std::string::npos) return false;
  const std::string host = display.substr(0, colon);
  const std::string number = display.substr(colon + 1, display.find('.', colon) - colon - 1);
  if (number.empty() || number.find_first_not_of("0123456789") != std::string::npos) return false;
  if (host.empty() || host == "unix") return LocalDisplayConnects(number);
  return RemoteDisplayConnects(host, number);
}

// Where Qt looks for platform plugins, as far as it can be known before it starts.
bool WaylandPluginInstalled() {
  QStringList folders =
      qEnvironmentVariable("QT_QPA_PLATFORM_PLUGIN_PATH").split(QLatin1Char(':'), Qt::SkipEmptyParts);
  for (const QString& path :
       qEnvironmentVariable("QT_PLUGIN_PATH").split(QLatin1Char(':'), Qt::SkipEmptyParts))
    folders << path + QStringLiteral("/platforms");
  folders << QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms");
  for (const QString& folder : folders) {
    if (!QDir(folder).entryList({QStringLiteral("libqwayland*.so")}, QDir::Files).isEmpty()) return true;
  }
  return false;
}

}  // namespace

bool ChoosePlatformPlugin() {
  SessionFacts facts;
  facts.platformChosen = EnvSet("QT_QPA_PLATFORM");
  facts.waylandSession = EnvSet("WAYLAND_DISPLAY") || qgetenv("XDG_SESSION_TYPE") == "wayland";
  if (!facts.platformChosen && facts.waylandSession) {
    facts.xServerAnswers = XServerAnswers();
    facts.waylandPluginInstalled = !facts.xServerAnswers && WaylandPluginInstalled();
  }
  const PlatformChoice choice = ChoosePlatform(facts);
  if (!choice.platform.empty()) qputenv("QT_QPA_PLATFORM", QByteArray::fromStdString(choice.platform));
  if (!choice.note.empty()) std::fprintf(stderr, "%s\n", choice.note.c_str());
  return choice.canRun;
}

}  // namespace sysvane::qt
