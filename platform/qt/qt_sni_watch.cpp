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
  bus_.connect(kWatcher, kWatcherPath, kWatcher, QStringLiteral("StatusNotifierHostRegistered"), this,
               SLOT(HostRegistered()));
  bus_.connect(kWatcher, kWatcherPath, kWatcher, QStringLiteral("StatusNotifierHostUnregistered"), this,
               SLOT(HostUnregistered()));
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

void SniWatch::HostRegistered() {
  if (!registered_) return;
  hostRegistered_ = true;
  Tell();
}

// One host went; others may remain.
void SniWatch::HostUnregistered() {
  if (registered_) AskHost();
}

void SniWatch::Tell() {
  if (Changed) Changed();
}

}  // namespace sysvane::qt
