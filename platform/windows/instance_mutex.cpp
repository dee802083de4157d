#include "platform/windows/instance_mutex.h"

#include "platform/windows/win32.h"

#include "platform/windows/wide_text.h"

namespace sysvane::windows {

InstanceMutex::~InstanceMutex() {
  if (handle_) CloseHandle(handle_);
}

bool InstanceMutex::HeldElsewhere() {
  if (handle_) return false;
  const HANDLE handle = CreateMutexW(nullptr, FALSE, Wide(name_).c_str());
  // A mutex that already existed, or one this process may not open, belongs to another
  // instance; a name taken by another kind of object is no proof of one, and the program runs.
  const DWORD error = GetLastError();
  if (!handle) return error == ERROR_ACCESS_DENIED;
  if (error == ERROR_ALREADY_EXISTS) {
    CloseHandle(handle);
    return true;
  }
  handle_ = handle;
  return false;
}

}  // namespace sysvane::windows
