// The tray on a private session bus of its own, with a stand-in StatusNotifier watcher: the item
// registers with each watcher that comes, is shown once the watcher (and no one else) says a host
// came, knows GNOME Shell's host by the watcher's owner, and the owner hears when the tray goes.
#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QProcess>

#include "platform/qt/qt_runtime.h"
#include "platform/qt/qt_tray.h"
#include "platform/qt/tests/qt_test_support.h"

namespace sysvane::qt {
namespace {

using testing::RunEvents;

// Takes registrations and says whether a host is there.
class StandInWatcher : public QDBusVirtualObject {
 public:
  QStringList registered;
  bool host = false;
  int asked = 0;  // whether a host is there
  QString introspect(const QString&) const override { return {}; }
  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
    if (message.member() == QLatin1String("RegisterStatusNotifierItem")) {
      registered.append(message.arguments().value(0).toString());
      return connection.send(message.createReply());
    }
    if (message.member() == QLatin1String("Get") && ++asked)
      return connection.send(message.createReply(QVariant::fromValue(QDBusVariant(host))));
    return false;
  }
};

TEST(TrayBusTest, TheItemRegistersWithEachWatcherAndKnowsGnomeShellsHost) {
  QProcess daemon;
  daemon.start("dbus-daemon", {"--session", "--nofork", "--print-address"});
  ASSERT_TRUE(daemon.waitForReadyRead(10000)) << "dbus-daemon is part of every desktop this runs on";
  const QString address = QString::fromUtf8(daemon.readLine()).trimmed();
  QDBusConnection shell = QDBusConnection::connectToBus(address, "stand-in-shell");
  StandInWatcher watcher;
  ASSERT_TRUE(shell.registerVirtualObject("/StatusNotifierWatcher", &watcher));
  for (const bool gnome : {false, true}) {
    SCOPED_TRACE(gnome ? "GNOME Shell's host" : "another host");
    if (gnome) shell.registerService("org.gnome.Shell");
    shell.registerService("org.kde.StatusNotifierWatcher");
    const QDBusConnection bus = QDBusConnection::connectToBus(address, gnome ? "program-2" : "program-1");
    {
      testing::OwnedIcon<> icon;
      QtRuntime& runtime = icon.runtime;
      int lost = 0;
      runtime.TrayLost = [&] { ++lost; };
      runtime.Tray().LookForXEmbedWith([] { return false; });
      runtime.Tray().UseBus(bus);
      ASSERT_TRUE(runtime.ShellNotifyIcon(forms::NIM_ADD, icon.data));
      // A question from one connection is answered after what that connection sent before it.
      auto roundTrip = [&](const QDBusConnection& from) {
        QDBusPendingCall asked = from.asyncCall(QDBusMessage::createMethodCall(
            bus.baseService(), "/StatusNotifierItem", "org.freedesktop.DBus.Properties", "GetAll"));
        RunEvents(5000, [&] { return asked.isFinished(); });
      };
      RunEvents(5000, [&] { return watcher.asked > 0; });
      roundTrip(shell);  // the watcher's "no host" has been heard
      // Another program's word is not the watcher's.
      const auto hostCame = QDBusMessage::createSignal(
          "/StatusNotifierWatcher", "org.kde.StatusNotifierWatcher", "StatusNotifierHostRegistered");
      const QDBusConnection stranger = QDBusConnection::connectToBus(address, "stranger");
      stranger.send(hostCame);
      roundTrip(stranger);
      EXPECT_FALSE(runtime.Tray().OnDBus());
      watcher.host = true;
      shell.send(hostCame);
      RunEvents(5000, [&] { return runtime.Tray().OnDBus() && runtime.Tray().GnomeHost() == gnome; });
      EXPECT_EQ(std::pair(runtime.Tray().OnDBus(), runtime.Tray().GnomeHost()), std::pair(true, gnome));
      EXPECT_EQ(watcher.registered, QStringList{bus.baseService()});

      shell.unregisterService("org.kde.StatusNotifierWatcher");  // the panel goes
      RunEvents(5000, [&] { return lost > 0; });
      EXPECT_EQ(std::pair(lost, runtime.SystemTrayAvailable()), std::pair(1, false));
      shell.registerService("org.kde.StatusNotifierWatcher");  // and comes back
      RunEvents(5000, [&] { return runtime.Tray().OnDBus(); });
      EXPECT_TRUE(runtime.SystemTrayAvailable());
      EXPECT_EQ(watcher.registered, QStringList({bus.baseService(), bus.baseService()}));
      runtime.ShellNotifyIcon(forms::NIM_DELETE, icon.data);
    }
    watcher.registered.clear();
    watcher.host = false;
    watcher.asked = 0;
    shell.unregisterService("org.kde.StatusNotifierWatcher");
  }
  daemon.terminate();
  daemon.waitForFinished();
}

}  // namespace
}  // namespace sysvane::qt
