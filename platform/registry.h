// Registry: the Windows 9x dynamic performance statistics and the System Information program's
// location are read through these three calls.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace sysvane {

using HKEY = uint32_t;
constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;
constexpr HKEY HKEY_DYN_DATA = 0x80000006u;

constexpr uint32_t KEY_ALL_ACCESS = 0xF003Fu;
constexpr uint32_t KEY_READ = 0x20019u;

constexpr uint32_t REG_SZ = 1;
constexpr uint32_t REG_DWORD = 4;

struct RegValue {
  uint32_t type = 0;
  std::string data;  // the raw bytes; a string value may or may not end with its NUL
};

class Registry {
 public:
  virtual ~Registry() = default;
  // The key handle, or nullopt when the key cannot be opened with that access.
  virtual std::optional<HKEY> RegOpenKeyEx(HKEY root, const std::string& subKey, uint32_t access) = 0;
  // At most bufferSize bytes of the value; nullopt when the value is missing or does not fit.
  virtual std::optional<RegValue> RegQueryValueEx(HKEY key, const std::string& valueName,
                                                  uint32_t bufferSize) = 0;
  virtual void RegCloseKey(HKEY key) = 0;
};

}  // namespace sysvane
