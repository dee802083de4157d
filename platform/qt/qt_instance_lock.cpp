#include "platform/qt/qt_instance_lock.h"

#include <unistd.h>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>
#include <csignal>

namespace sysvane::qt {

namespace {
constexpr int kOwnerWriteSeconds = 5;
}  // namespace

InstanceLock::InstanceLock(QString path) : path_(std::move(path)) {}

InstanceLock::~InstanceLock() = default;  // QLockFile removes the file

QString InstanceLock::DefaultPath() {
  const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (!runtime.isEmpty()) return QDir(runtime).filePath(QStringLiteral("sysvane.lock"));
  return QDir(QDir::tempPath()).filePath(QStringLiteral("sysvane-%1.lock").arg(getuid()));
}

bool InstanceLock::HeldHere() const {
  return lock_ && lock_->isLocked();
}

bool InstanceLock::OwnerIsGone() const {
  qint64 pid = 0;
  QString host, app;
  if (!lock_->getLockInfo(&pid, &host, &app) || pid <= 0) {
    // No owner in the file: a program killed between making it and writing to it, or a lost
    // write. A program that is starting writes its owner at once, so a file this old has none;
    // a live holder's lock on the file still keeps it from being removed.
    const QFileInfo file(path_);
    return file.exists() && file.lastModified().secsTo(QDateTime::currentDateTime()) > kOwnerWriteSeconds;
  }
  if (pid == getpid()) return false;
  return kill(pid_t(pid), 0) != 0 && errno == ESRCH;
}

bool InstanceLock::HeldElsewhere() {
  if (HeldHere()) return false;
  lock_ = std::make_unique<QLockFile>(path_);
  // Held for the whole run: age alone never makes it stale, only a dead owner does.
  lock_->setStaleLockTime(0);
  bool locked = lock_->tryLock(0);
  if (!locked && lock_->error() == QLockFile::LockFailedError && OwnerIsGone()) {
    lock_->removeStaleLockFile();
    locked = lock_->tryLock(0);
  }
  if (!locked) {
    // Someone else's lock, or a folder we cannot write to: either way another instance may be
    // running only when a lock file is there.
    const bool otherHolds = lock_->error() == QLockFile::LockFailedError;
    lock_.reset();
    return otherHolds;
  }
  QFile::setPermissions(path_, QFile::ReadOwner | QFile::WriteOwner);
  return false;
}

}  // namespace sysvane::qt
