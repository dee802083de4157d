// The tray on a private session bus of its own, with a stand-in StatusNotifier watcher: the item
// registers with each watcher that comes, is shown once the watcher (and no one else) says a host
// came, knows GNOME Shell's host by the watcher's owner, and the owner hears when the tray goes.
// A host reads the item's properties, pictures (ARGB32 in network byte order) and menu over the bus,
// and is told of each new picture, label and tip.
#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QProcess>
#include <cstring>

#include "platform/qt/qt_runtime.h"
#include "platform/qt/qt_tray.h"
#include "platform/qt/tests/qt_test_support.h"

namespace sysvane::qt {
namespace {

using testing::RunEvents;

// A figure on a plate of one colour, at whatever size it is asked for.
struct Plate : forms::LiveIcon {
  forms::ArgbImage Draw(int pixels) const override {
    return {pixels, std::vector<uint32_t>(size_t(pixels * pixels), 0xff2040c0)};
  }
};

// Takes registrations and says whether a host is there.
class StandInWatcher : public QDBusVirtualObject {
 public:
  QStringList registered;
  bool host = false;  // and how often it was asked whether a host is there
  int asked = 0;
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
  const QByteArray desktop = qgetenv("XDG_CURRENT_DESKTOP");
  for (const bool gnome : {false, true}) {
    SCOPED_TRACE(gnome ? "GNOME Shell's host" : "another host");
    qputenv("XDG_CURRENT_DESKTOP", gnome ? "GNOME" : "XFCE");  // Xfce's panel gets no picture above 22
    if (gnome) shell.registerService("org.gnome.Shell");
    shell.registerService("org.kde.StatusNotifierWatcher");
    const QDBusConnection bus = QDBusConnection::connectToBus(address, gnome ? "program-2" : "program-1");
    {
      testing::OwnedIcon<> icon;
      forms::MenuItem exit{"mnuExit", "Exit"};
      forms::MenuList menu{"MenuTray", {&exit}};
      icon.data.menu = &menu;
      std::strcpy(icon.data.szTip.data(), "Sysvane Monitor");
      QtRuntime& runtime = icon.runtime;
      int lost = 0;
      runtime.TrayLost = [&] { ++lost; };
      runtime.Tray().LookForXEmbedWith([] { return false; });
      runtime.Tray().UseBus(bus);
      ASSERT_TRUE(runtime.ShellNotifyIcon(forms::NIM_ADD, icon.data));
      // A question from one connection is answered after what that connection sent before it.
      auto ask = [&](const QDBusConnection& from, const char* path, const char* method,
                     const QVariantList& args) {
        QDBusMessage call = QDBusMessage::createMethodCall(
            bus.baseService(), path,
            path[1] == 'M' ? "com.canonical.dbusmenu" : "org.freedesktop.DBus.Properties", method);
        call.setArguments(args);
        return from.call(call, QDBus::BlockWithGui).arguments();
      };
      // What a host reads: the menu's revision and first label; the item's facts, label, tip, menu,
      // pictures' sizes and first pixel.
      auto hostReads = [&] {
        const QVariantMap item = qdbus_cast<QVariantMap>(
            ask(shell, "/StatusNotifierItem", "GetAll", {"org.kde.StatusNotifierItem"})[0]);
        const QVariantList menu = ask(shell, "/MenuBar", "GetLayout", {0, -1, QStringList()});
        QStringList read{
            menu.value(0).toString(),
            qdbus_cast<DBusMenuLayoutItem>(menu.value(1)).children.value(0).properties["label"].toString()};
        for (const char* name : {"Id", "Category", "Status", "Title", "ItemIsMenu", "WindowId",
                                 "XAyatanaLabel", "XAyatanaLabelGuide"})
          read << item.value(name).toString();
        read << qdbus_cast<SniToolTip>(item.value("ToolTip")).title
             << item.value("Menu").value<QDBusObjectPath>().path();
        const SniPixmapList pictures = qdbus_cast<SniPixmapList>(item.value("IconPixmap"));
        for (const SniPixmap& picture : pictures) read << QString::number(picture.width);
        return (read << pictures.value(0).bytes.left(4).toHex()).join(" ").toStdString();
      };
      RunEvents(5000, [&] { return watcher.asked > 0; });
      ask(shell, "/StatusNotifierItem", "GetAll", {""});  // the watcher's "no host" was heard
      // Another program's word is not the watcher's.
      const auto hostCame = QDBusMessage::createSignal(
          "/StatusNotifierWatcher", "org.kde.StatusNotifierWatcher", "StatusNotifierHostRegistered");
      const QDBusConnection stranger = QDBusConnection::connectToBus(address, "stranger");
      stranger.send(hostCame);
      ask(stranger, "/StatusNotifierItem", "GetAll", {""});
      EXPECT_FALSE(runtime.Tray().OnDBus());
      watcher.host = true;
      shell.send(hostCame);
      RunEvents(5000, [&] { return runtime.Tray().OnDBus() && runtime.Tray().GnomeHost() == gnome; });
      EXPECT_EQ(std::pair(runtime.Tray().OnDBus(), runtime.Tray().GnomeHost()), std::pair(true, gnome));
      EXPECT_EQ(watcher.registered, QStringList{bus.baseService()});
      const std::string facts = "1 Exit sysvane ApplicationStatus Active Sysvane false 0 ";  // up to WindowId
      EXPECT_EQ(hostReads(), facts + "  Sysvane Monitor /MenuBar 16 22 24 32 48 00000000");  // no label yet
      // A figure the program draws, its label and a new tip: the host is told of each, of the tip
      // only when it shows tips (not GNOME Shell's).
      std::string told;
      auto* item = runtime.Tray().Item()->findChild<SniItemAdaptor*>();
      QObject::connect(item, &SniItemAdaptor::NewIcon, [&] { told += " icon"; });
      QObject::connect(item, &SniItemAdaptor::XAyatanaNewLabel, [&] { told += " label"; });
      QObject::connect(item, &SniItemAdaptor::NewToolTip, [&] { told += " tip"; });
      std::strcpy(icon.data.szTip.data(), "CPU 5%");
      icon.data.label = "5%";
      icon.data.liveIcon = std::make_shared<Plate>();
      runtime.ShellNotifyIcon(forms::NIM_MODIFY, icon.data);
      EXPECT_EQ(hostReads() + told,
                facts + "\u20075% 99% CPU 5% /MenuBar " +
                    (gnome ? "16 22 24 32 48 ff2040c0 icon label" : "16 22 ff2040c0 icon label tip"));

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
  qputenv("XDG_CURRENT_DESKTOP", desktop);
  daemon.terminate();
  daemon.waitForFinished();
}

}  // namespace
}  // namespace sysvane::qt
