// The single-instance rule on Windows: a named mutex in the user's session, held for the whole run.
// The system drops it when its holder ends, however it ends: nothing is ever left behind.
#pragma once

#include <string>
#include <utility>

namespace sysvane::windows {

class InstanceMutex {
 public:
  explicit InstanceMutex(std::string name = "Local\\Sysvane.SingleInstance") : name_(std::move(name)) {}
  ~InstanceMutex();
  InstanceMutex(const InstanceMutex&) = delete;
  InstanceMutex& operator=(const InstanceMutex&) = delete;

  // True when another process holds the mutex; otherwise this one takes (or keeps) it and the
  // answer is false.
  bool HeldElsewhere();

 private:
  std::string name_;
  void* handle_ = nullptr;
};

}  // namespace sysvane::windows
