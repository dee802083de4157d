#include "platform/linux/disk_query.h"

#include <condition_variable>
#include <mutex>
#include <set>
#include <thread>

namespace sysvane {

// One persistent thread per slow mount point. The thread owns a share of this state, so a
// statvfs stuck in the kernel may outlive the DiskQuery that asked for it.
struct DiskQuery::Worker {
  std::mutex mutex;
  std::condition_variable changed;
  std::string path;
  StatvfsFunction statvfsFunction;
  uint64_t asked = 0;     // number of the last query handed to the thread
  uint64_t answered = 0;  // number of the last query it finished
  bool stop = false;
  int result = -1;
  struct statvfs info {};

  bool Outstanding() const { return answered != asked; }

  void Run() {
    std::unique_lock lock(mutex);
    for (;;) {
      changed.wait(lock, [this] { return stop || Outstanding(); });
      if (stop) return;
      const uint64_t number = asked;
      lock.unlock();
      struct statvfs fresh {};
      const int status = statvfsFunction(path.c_str(), &fresh);
      lock.lock();
      result = status;
      info = fresh;
      answered = number;
      changed.notify_all();
    }
  }
};

DiskSpace DiskSpaceFromStatvfs(const struct statvfs& info) {
  DiskSpace space;
  const uint64_t fragment = info.f_frsize != 0 ? info.f_frsize : info.f_bsize;
  space.TotalNumberOfBytes = static_cast<uint64_t>(info.f_blocks) * fragment;
  space.FreeBytesAvailableToCaller = static_cast<uint64_t>(info.f_bavail) * fragment;
  space.TotalNumberOfFreeBytes = static_cast<uint64_t>(info.f_bfree) * fragment;
  return space;
}

bool QueryMayBlock(std::string_view fsType) {
  // overlay is here for the root of containers: its statfs is that of a local upper layer.
  static const std::set<std::string_view, std::less<>> kKernelLocal = {
      "ext2",    "ext3",     "ext4",  "btrfs", "xfs",      "vfat",  "msdos",   "exfat",  "f2fs",
      "jfs",     "reiserfs", "zfs",   "ntfs3", "ntfs",     "hfs",   "hfsplus", "nilfs2", "bcachefs",
      "iso9660", "udf",      "tmpfs", "ramfs", "squashfs", "erofs", "overlay"};
  return !kKernelLocal.contains(fsType);
}

DiskQuery::DiskQuery(StatvfsFunction statvfsFunction, std::chrono::milliseconds timeout)
    : statvfs_(std::move(statvfsFunction)), timeout_(timeout) {}

DiskQuery::~DiskQuery() {
  for (auto& [path, worker] : workers_) {
    std::lock_guard lock(worker->mutex);
    worker->stop = true;
    worker->changed.notify_all();
  }
}

std::shared_ptr<DiskQuery::Worker> DiskQuery::WorkerFor(const std::string& path) {
  auto& worker = workers_[path];
  if (!worker) {
    worker = std::make_shared<Worker>();
    worker->path = path;
    worker->statvfsFunction = statvfs_;
    std::thread([state = worker] { state->Run(); }).detach();
  }
  return worker;
}

std::optional<DiskSpace> DiskQuery::Query(const std::string& path, bool mayBlock) {
  if (!mayBlock) {
    struct statvfs info {};
    if (statvfs_(path.c_str(), &info) != 0) return std::nullopt;
    return DiskSpaceFromStatvfs(info);
  }
  const std::shared_ptr<Worker> worker = WorkerFor(path);
  std::unique_lock lock(worker->mutex);
  // Still waiting for an earlier answer: never stack a second stuck call on the same mount.
  if (worker->Outstanding()) return std::nullopt;
  const uint64_t number = ++worker->asked;
  worker->changed.notify_all();
  if (!worker->changed.wait_for(lock, timeout_, [&] { return worker->answered == number; })) {
    return std::nullopt;
  }
  if (worker->result != 0) return std::nullopt;
  return DiskSpaceFromStatvfs(worker->info);
}

}  // namespace sysvane
