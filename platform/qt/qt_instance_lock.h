// The single-instance rule: a lock file in the user's runtime folder, held for the whole run.
// A lock left behind by a program that was killed is recognised (its process is gone) and
// taken over.
#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

namespace sysvane::qt {

class InstanceLock {
 public:
  explicit InstanceLock(QString path = DefaultPath());
  ~InstanceLock();

  // True when a live process other than this one holds the lock; otherwise this process takes
  // (or keeps) it and the answer is false.
  bool HeldElsewhere();
  bool HeldHere() const;
  const QString& Path() const { return path_; }

  // "sysvane.lock" in $XDG_RUNTIME_DIR (Qt's runtime location), else the temporary folder with
  // the user's id in the name.
  static QString DefaultPath();

 private:
  bool OwnerIsGone() const;
  QString path_;
  std::unique_ptr<QLockFile> lock_;
};

}  // namespace sysvane::qt
