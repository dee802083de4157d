#include "platform/qt/qt_instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <cerrno>
#include <string>

namespace sysvane::qt {

namespace {

// Whether `fd` is still the file at `path`: a holder that ended may have removed the file after
// we opened it, and a lock on a removed file keeps no one out.
bool IsTheFileAt(int fd, const QByteArray& path) {
  struct stat held {
  }, named{};
  return fstat(fd, &held) == 0 && lstat(path.constData(), &named) == 0 && held.st_dev == named.st_dev &&
         held.st_ino == named.st_ino;
}

}  // namespace

InstanceLock::InstanceLock(QString path) : path_(std::move(path)) {}

InstanceLock::~InstanceLock() {
  if (fd_ < 0) return;
  // Removed while still held, so that no later start can lock the file we are leaving.
  const QByteArray path = QFile::encodeName(path_);
  if (IsTheFileAt(fd_, path)) unlink(path.constData());
  close(fd_);
}

QString InstanceLock::DefaultPath() {
  const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (!runtime.isEmpty()) return QDir(runtime).filePath(QStringLiteral("sysvane.lock"));
  return QDir(QDir::tempPath()).filePath(QStringLiteral("sysvane-%1.lock").arg(getuid()));
}

bool InstanceLock::HeldElsewhere() {
  if (HeldHere()) return false;
  const QByteArray path = QFile::encodeName(path_);
  // A few turns at most: each one is lost only to a holder that ended at that very moment.
  for (int turn = 0; turn < 8; ++turn) {
    int fd = open(path.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0 && errno == ELOOP) {  // a link planted in its place is replaced, never followed
      unlink(path.constData());
      continue;
    }
    if (fd < 0) return false;
    struct stat file {};
    if (fstat(fd, &file) != 0 || !S_ISREG(file.st_mode) || file.st_uid != geteuid()) {
      close(fd);  // not a file of ours (a shared temporary folder): run without the lock
      return false;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
      const bool held = errno == EWOULDBLOCK;
      close(fd);
      return held;
    }
    if (!IsTheFileAt(fd, path)) {
      close(fd);
      continue;
    }
    fchmod(fd, 0600);
    const std::string owner = std::to_string(getpid()) + "\n";  // for a person who looks
    [[maybe_unused]] const bool noted =
        ftruncate(fd, 0) == 0 && pwrite(fd, owner.data(), owner.size(), 0) == ssize_t(owner.size());
    fd_ = fd;
    return false;
  }
  return false;
}

}  // namespace sysvane::qt
