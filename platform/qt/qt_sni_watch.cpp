#include "platform/qt/qt_sni_watch.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

namespace sysvane::qt {

namespace {
const QString kWatcher = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");
const QString kShell = QStringLiteral("org.gnome.Shell");

// Calls `method` and hands its reply to `done` on the event loop, once it comes.
void AskAsync(const QDBusConnection& bus, const QDBusMessage& call, QObject* context,
              std::function<void(const QDBusMessage&)> done) {
  auto* pending = new QDBusPendingCallWatcher(bus.asyncCall(call), context);
  QObject::connect(pending, &QDBusPendingCallWatcher::finished, context,
                   [pending, done = std::move(done)](QDBusPendingCallWatcher*) {
                     done(pending->reply());
                     pending->deleteLater();
                   });
}
}  // namespace

SniWatch::SniWatch(const QDBusConnection& bus, const QString& item)
    : bus_(bus), item_(item), services_(kWatcher, bus, QDBusServiceWatcher::WatchForOwnerChange) {
  services_.addWatchedService(kShell);
  connect(&services_, &QDBusServiceWatcher::serviceOwnerChanged, this,
          [this](const QString& service, const QString&, const QString& owner) { OwnerIs(service, owner); });
  // The watcher's signals are taken from any sender and sorted out here by its owner. Given the
  // watcher's name instead, Qt would ask the bus for that name's owner and wait for the answer on
  // its own D-Bus thread; a bus that has just gone (the end of a session) makes that wait abort
  // the program inside the D-Bus library.
  bus_.connect(QString(), kWatcherPath, kWatcher, QStringLiteral("StatusNotifierHostRegistered"), this,
               SLOT(HostRegistered(QDBusMessage)));
  bus_.connect(QString(), kWatcherPath, kWatcher, QStringLiteral("StatusNotifierHostUnregistered"), this,
               SLOT(HostUnregistered(QDBusMessage)));
  for (const QString& service : {kWatcher, kShell}) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("GetNameOwner"));
    call << service;
    AskAsync(bus_, call, this, [this, service](const QDBusMessage& reply) {
      ++ownersKnown_;
      const QString owner = reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()
                                ? reply.arguments().constFirst().toString()
                                : QString();
      OwnerIs(service, owner);
    });
  }
}

void SniWatch::OwnerIs(const QString& service, const QString& owner) {
  if (service == kShell) {
    shellOwner_ = owner;
    Tell();
    return;
  }
  if (owner == watcherOwner_) {
    Tell();  // the answer to the start-up question, after the watcher already said the same
    return;
  }
  watcherOwner_ = owner;
  ++generation_;
  answered_ = registered_ = hostRegistered_ = false;
  if (!owner.isEmpty()) Register();
  Tell();
}

void SniWatch::Register() {
  QDBusMessage call = QDBusMessage::createMethodCall(kWatcher, kWatcherPath, kWatcher,
                                                     QStringLiteral("RegisterStatusNotifierItem"));
  call << item_;
  const int generation = generation_;
  AskAsync(bus_, call, this, [this, generation](const QDBusMessage& reply) {
    if (generation != generation_) return;
    registered_ = reply.type() == QDBusMessage::ReplyMessage;
    if (registered_) {
      AskHost();
    } else {
      answered_ = true;
      Tell();
    }
  });
}

void SniWatch::AskHost() {
  QDBusMessage call = QDBusMessage::createMethodCall(
      kWatcher, kWatcherPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
  call << kWatcher << QStringLiteral("IsStatusNotifierHostRegistered");
  const int generation = generation_;
  AskAsync(bus_, call, this, [this, generation](const QDBusMessage& reply) {
    if (generation != generation_) return;
    const bool ok = reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty();
    hostRegistered_ = ok && reply.arguments().constFirst().value<QDBusVariant>().variant().toBool();
    answered_ = true;
    Tell();
  });
}

bool SniWatch::FromWatcher(const QDBusMessage& signal) const {
  return !watcherOwner_.isEmpty() && signal.service() == watcherOwner_;
}

void SniWatch::HostRegistered(const QDBusMessage& signal) {
  if (!registered_ || !FromWatcher(signal)) return;
  hostRegistered_ = true;
  Tell();
}

// One host went; others may remain.
void SniWatch::HostUnregistered(const QDBusMessage& signal) {
  if (registered_ && FromWatcher(signal)) AskHost();
}

void SniWatch::Tell() {
  if (Changed) Changed();
}

}  // namespace sysvane::qt
