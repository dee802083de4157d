// Follows the desktop's StatusNotifier watcher on the session bus and keeps the program's item
// registered with it: the item is registered whenever a watcher appears (a panel started late,
// or restarted), and the watcher's hosts are followed through its signals. Every question is
// asked without waiting for its answer, so that a hung shell never holds the program up.
// The host is GNOME Shell's AppIndicator extension when the watcher's owner also owns
// org.gnome.Shell: that host maps the mouse in its own way and shows no tip.
#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QObject>
#include <functional>

namespace sysvane::qt {

class SniWatch : public QObject {
  Q_OBJECT

 public:
  // `item` is the bus name the item is exported under (the connection's own unique name).
  SniWatch(const QDBusConnection& bus, const QString& item);

  // A host shows the item: the watcher took it and has a host.
  bool HostReady() const { return registered_ && hostRegistered_; }
  // Everything asked at start has been answered, so HostReady is the truth and not a guess.
  bool Settled() const { return ownersKnown_ == 2 && (watcherOwner_.isEmpty() || answered_); }
  bool GnomeHost() const { return !watcherOwner_.isEmpty() && watcherOwner_ == shellOwner_; }

  // Told of every change of the above.
  std::function<void()> Changed;

 private slots:
  void HostRegistered(const QDBusMessage& signal);
  void HostUnregistered(const QDBusMessage& signal);

 private:
  bool FromWatcher(const QDBusMessage& signal) const;
  void OwnerIs(const QString& service, const QString& owner);
  void Register();
  void AskHost();
  void Tell();
  QDBusConnection bus_;
  QString item_;
  QDBusServiceWatcher services_;
  QString watcherOwner_;
  QString shellOwner_;
  int ownersKnown_ = 0;
  bool answered_ = false;  // the current watcher answered the registration and the host question
  bool registered_ = false;
  bool hostRegistered_ = false;
  int generation_ = 0;  // the watcher's coming; answers about an earlier one are dropped
};

}  // namespace sysvane::qt
