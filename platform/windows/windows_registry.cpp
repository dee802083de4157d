#include "platform/windows/windows_registry.h"

#include "platform/windows/win32.h"

#include "platform/windows/wide_text.h"

namespace sysvane::windows {

// The program's root numbers are the system's own predefined handles, sign-extended as the
// system's headers make them.
::HKEY SystemRoot(sysvane::HKEY root) {
  return reinterpret_cast<::HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
}

WindowsRegistry::~WindowsRegistry() {
  for (const auto& [number, handle] : open_) ::RegCloseKey(handle);
}

std::optional<HKEY> WindowsRegistry::RegOpenKeyEx(HKEY root, const std::string& subKey, uint32_t) {
  ::HKEY handle = nullptr;
  if (::RegOpenKeyExW(SystemRoot(root), Wide(subKey).c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
    return std::nullopt;
  const HKEY number = next_++;
  open_[number] = handle;
  return number;
}

std::optional<RegValue> WindowsRegistry::RegQueryValueEx(HKEY key, const std::string& valueName,
                                                         uint32_t bufferSize) {
  const auto open = open_.find(key);
  if (open == open_.end()) return std::nullopt;
  const std::wstring name = Wide(valueName);
  DWORD type = 0, size = 0;
  if (::RegQueryValueExW(open->second, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
    return std::nullopt;
  std::string bytes(size, '\0');
  if (::RegQueryValueExW(open->second, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(bytes.data()),
                         &size) != ERROR_SUCCESS)
    return std::nullopt;
  bytes.resize(size);
  RegValue value{type, bytes};
  if (type == REG_SZ || type == REG_EXPAND_SZ) {
    // UTF-16 in the registry, UTF-8 in the program, always ended by one NUL.
    std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0') text.pop_back();
    value.data = Narrow(text) + '\0';
  }
  if (value.data.size() > bufferSize) return std::nullopt;
  return value;
}

void WindowsRegistry::RegCloseKey(HKEY key) {
  const auto open = open_.find(key);
  if (open == open_.end()) return;
  ::RegCloseKey(open->second);
  open_.erase(open);
}

std::optional<std::string> ReadRegistryString(HKEY__* root, const std::string& subKey,
                                              const std::string& name) {
  const std::wstring key = Wide(subKey), value = Wide(name);
  DWORD size = 0;
  const DWORD flags = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;
  if (RegGetValueW(root, key.c_str(), value.c_str(), flags, nullptr, nullptr, &size) != ERROR_SUCCESS)
    return std::nullopt;
  std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
  size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  if (RegGetValueW(root, key.c_str(), value.c_str(), flags, nullptr, text.data(), &size) != ERROR_SUCCESS)
    return std::nullopt;
  text.resize(wcsnlen(text.c_str(), text.size()));
  return Narrow(text);
}

std::optional<uint32_t> ReadRegistryNumber(HKEY__* root, const std::string& subKey, const std::string& name) {
  DWORD number = 0, size = sizeof number;
  if (RegGetValueW(root, Wide(subKey).c_str(), Wide(name).c_str(), RRF_RT_REG_DWORD, nullptr, &number,
                   &size) != ERROR_SUCCESS)
    return std::nullopt;
  return number;
}

}  // namespace sysvane::windows
