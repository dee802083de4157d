// The registry on Windows: the real registry, read through handles the program can hold as numbers.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "platform/registry.h"

struct HKEY__;

namespace sysvane::windows {

class WindowsRegistry : public Registry {
 public:
  ~WindowsRegistry() override;
  // Every key is opened for reading only, whatever access is asked: the program never writes
  // through this interface, and full access to the machine's keys is refused to a standard user.
  std::optional<HKEY> RegOpenKeyEx(HKEY root, const std::string& subKey, uint32_t access) override;
  std::optional<RegValue> RegQueryValueEx(HKEY key, const std::string& valueName,
                                          uint32_t bufferSize) override;
  void RegCloseKey(HKEY key) override;

 private:
  std::map<HKEY, HKEY__*> open_;  // the program's number -> the system's handle
  HKEY next_ = 0x1000;
};

// The user's own keys (the settings).
constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;

// The system's handle of a root key the program names by number (HKEY_LOCAL_MACHINE...).
HKEY__* SystemRoot(HKEY root);

// A string value (REG_SZ or REG_EXPAND_SZ, unexpanded) of a key, in UTF-8; nullopt when missing.
std::optional<std::string> ReadRegistryString(HKEY__* root, const std::string& subKey,
                                              const std::string& name);
// A REG_DWORD value of a key; nullopt when missing.
std::optional<uint32_t> ReadRegistryNumber(HKEY__* root, const std::string& subKey, const std::string& name);

}  // namespace sysvane::windows
