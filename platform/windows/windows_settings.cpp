#include "platform/windows/windows_settings.h"

#include "platform/windows/win32.h"

#include "platform/windows/wide_text.h"
#include "platform/windows/windows_registry.h"

namespace sysvane::windows {

std::string SettingsKey(const std::string& app, const std::string& section) {
  return "Software\\VB and VBA Program Settings\\" + app + "\\" + section;
}

std::optional<std::string> WindowsSettingsBackend::Read(const std::string& app, const std::string& section,
                                                        const std::string& key) {
  return ReadRegistryString(SystemRoot(HKEY_CURRENT_USER), SettingsKey(app, section), key);
}

bool WindowsSettingsBackend::Write(const std::string& app, const std::string& section, const std::string& key,
                                   const std::string& value) {
  ::HKEY handle = nullptr;
  if (RegCreateKeyExW(SystemRoot(HKEY_CURRENT_USER), Wide(SettingsKey(app, section)).c_str(), 0, nullptr, 0,
                      KEY_SET_VALUE, nullptr, &handle, nullptr) != ERROR_SUCCESS)
    return false;
  // One value is written in one step: a reader sees the old string or the new one.
  const std::wstring text = Wide(value);
  const auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
  const LONG result = RegSetValueExW(handle, Wide(key).c_str(), 0, REG_SZ,
                                     reinterpret_cast<const BYTE*>(text.c_str()), bytes);
  RegCloseKey(handle);
  return result == ERROR_SUCCESS;
}

}  // namespace sysvane::windows
