// Disk space of a mount point without ever hanging the program. File systems the kernel answers
// from memory are asked directly; anything that may wait on a server or a user-space daemon
// (network shares, FUSE, unknown types) is asked on a worker thread of its own with a bounded
// wait, and a mount whose answer is still outstanding is answered as failed at once.
#pragma once

#include <sys/statvfs.h>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/kernel.h"

namespace sysvane {

using StatvfsFunction = std::function<int(const char* path, struct statvfs* info)>;

// Total, free to the caller (f_bavail) and total free (f_bfree) bytes.
DiskSpace DiskSpaceFromStatvfs(const struct statvfs& info);

// False for local disk file systems of the kernel itself, whose statvfs takes microseconds.
bool QueryMayBlock(std::string_view fsType);

class DiskQuery {
 public:
  static constexpr std::chrono::milliseconds kDefaultTimeout{300};

  explicit DiskQuery(StatvfsFunction statvfsFunction = ::statvfs,
                     std::chrono::milliseconds timeout = kDefaultTimeout);
  ~DiskQuery();
  DiskQuery(const DiskQuery&) = delete;
  DiskQuery& operator=(const DiskQuery&) = delete;

  // Space of the file system at `path`; nullopt when statvfs failed, did not answer in time, or
  // an earlier query of the same path has still not come back.
  std::optional<DiskSpace> Query(const std::string& path, bool mayBlock);

  // For tests: a stand-in for statvfs and a different bound; they apply to workers started later.
  void SetStatvfs(StatvfsFunction statvfsFunction) { statvfs_ = std::move(statvfsFunction); }
  void SetTimeout(std::chrono::milliseconds timeout) { timeout_ = timeout; }

 private:
  struct Worker;
  std::shared_ptr<Worker> WorkerFor(const std::string& path);

  StatvfsFunction statvfs_;
  std::chrono::milliseconds timeout_;
  std::map<std::string, std::shared_ptr<Worker>> workers_;
};

}  // namespace sysvane
