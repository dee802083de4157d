#include "platform/windows/known_folder.h"

// clang-format off
#include "platform/windows/win32.h"
#include <shlobj.h>
// clang-format on

#include "platform/windows/wide_text.h"

namespace sysvane::windows {

std::string KnownFolderPath(const _GUID& folder) {
  wchar_t* path = nullptr;
  std::string result;
  if (SHGetKnownFolderPath(folder, KF_FLAG_DEFAULT, nullptr, &path) == S_OK) result = Narrow(path);
  CoTaskMemFree(path);  // also when the call failed
  return result;
}

}  // namespace sysvane::windows
