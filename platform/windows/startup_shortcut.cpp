#include "platform/windows/startup_shortcut.h"

// clang-format off
#include "platform/windows/win32.h"
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
// clang-format on

#include "platform/windows/com_apartment.h"
#include "platform/windows/known_folder.h"
#include "platform/windows/wide_text.h"
#include "platform/windows/windows_registry.h"

namespace sysvane::windows {

namespace {

template <class T>
struct Released {
  T* object = nullptr;
  ~Released() {
    if (object) object->Release();
  }
};

// Where Task Manager keeps the user's switch of each Startup-folder item: a binary value named
// after the link, whose first byte is odd while the item is switched off.
constexpr wchar_t kApprovedKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\StartupFolder";

std::wstring ApprovedValue(const std::string& LinkName) {
  return Wide(LinkName + ".lnk");
}

}  // namespace

std::string WorkingFolderOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  if (slash == std::string::npos) return "";
  // "C:" alone is the drive's current folder, wherever that is: the root keeps its backslash.
  if (slash == 2 && path[1] == ':') return path.substr(0, 3);
  return path.substr(0, slash);
}

bool SwitchedOffInTaskManager(const std::string& LinkName) {
  unsigned char entry[64] = {};
  DWORD size = sizeof entry;
  const LSTATUS status =
      RegGetValueW(SystemRoot(HKEY_CURRENT_USER), kApprovedKey, ApprovedValue(LinkName).c_str(),
                   RRF_RT_REG_BINARY, nullptr, entry, &size);
  return status == ERROR_SUCCESS && size > 0 && (entry[0] & 1) != 0;
}

StartupShortcut::StartupShortcut(std::string folder) : folder_(std::move(folder)) {
  if (folder_.empty()) folder_ = KnownFolderPath(FOLDERID_Startup);
}

std::string StartupShortcut::Path(const std::string& LinkName) const {
  return folder_.empty() ? "" : folder_ + "\\" + LinkName + ".lnk";
}

bool StartupShortcut::Create(const std::string& LinkName, const std::string& TargetPath,
                             const std::string& Arguments) {
  const std::string path = Path(LinkName);
  if (path.empty() || TargetPath.empty()) return false;
  ComApartment com;
  Released<IShellLinkW> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link.object))))
    return false;
  link.object->SetPath(Wide(TargetPath).c_str());
  link.object->SetArguments(Wide(Arguments).c_str());
  link.object->SetWorkingDirectory(Wide(WorkingFolderOf(TargetPath)).c_str());
  link.object->SetIconLocation(Wide(TargetPath).c_str(), 0);
  Released<IPersistFile> file;
  if (FAILED(link.object->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.object))))
    return false;
  CreateDirectoryW(Wide(folder_).c_str(), nullptr);  // a user's Startup folder may have been deleted
  if (FAILED(file.object->Save(Wide(path).c_str(), TRUE))) return false;
  // Saved with the box checked: an item the user switched off in Task Manager is on again.
  if (SwitchedOffInTaskManager(LinkName)) {
    const unsigned char enabled[12] = {2};
    RegSetKeyValueW(SystemRoot(HKEY_CURRENT_USER), kApprovedKey, ApprovedValue(LinkName).c_str(), REG_BINARY,
                    enabled, sizeof enabled);
  }
  return true;
}

bool StartupShortcut::Remove(const std::string& LinkName) {
  const std::string path = Path(LinkName);
  return !path.empty() && DeleteFileW(Wide(path).c_str());
}

bool StartupShortcut::Exists(const std::string& LinkName) const {
  const std::string path = Path(LinkName);
  if (path.empty()) return false;
  const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
         !SwitchedOffInTaskManager(LinkName);
}

}  // namespace sysvane::windows
