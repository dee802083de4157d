// The single-instance rule: a lock file in the user's runtime folder, held for the whole run.
// The lock is the kernel's (flock) on that file, so it ends with its holder's process however
// that ends: a program killed with kill -9 leaves a file but never a held lock.
#pragma once

#include <QString>

namespace sysvane::qt {

class InstanceLock {
 public:
  explicit InstanceLock(QString path = DefaultPath());
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // True when another start holds the lock; otherwise this one takes (or keeps) it and the
  // answer is false. A lock that cannot be made at all (an unwritable folder, someone else's
  // file) never stops the program: the answer is false and nothing is held.
  bool HeldElsewhere();
  bool HeldHere() const { return fd_ >= 0; }
  const QString& Path() const { return path_; }

  // "sysvane.lock" in $XDG_RUNTIME_DIR (Qt's runtime location), else the temporary folder with
  // the user's id in the name.
  static QString DefaultPath();

 private:
  QString path_;
  int fd_ = -1;
};

}  // namespace sysvane::qt
