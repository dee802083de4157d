#include "dialogs/key_value.h"

#include <cstdint>

namespace sysvane {

namespace {
// The keys are opened with full access, as the program always did.
constexpr uint32_t kFullAccess = 0x2003F;
constexpr uint32_t kBufferSize = 1024;
}  // namespace

bool GetKeyValue(Registry& registry, HKEY KeyRoot, const std::string& KeyName, const std::string& SubKeyRef,
                 std::string& KeyVal) {
  const auto key = registry.RegOpenKeyEx(KeyRoot, KeyName, kFullAccess);
  if (!key) {
    KeyVal.clear();
    return false;
  }
  const auto value = registry.RegQueryValueEx(*key, SubKeyRef, kBufferSize);
  if (!value) {
    KeyVal.clear();
    registry.RegCloseKey(*key);
    return false;
  }
  if (value->type == REG_SZ) {
    // The size may or may not count the terminating NUL.
    std::string text = value->data;
    if (!text.empty() && text.back() == '\0') text.pop_back();
    KeyVal = text;
  } else if (value->type == REG_DWORD) {
    // Little-endian, every byte counted with its leading zeros: 0x0102 is 258.
    uint32_t number = 0;
    for (size_t i = 0; i < value->data.size() && i < 4; ++i) {
      number |= uint32_t(static_cast<unsigned char>(value->data[i])) << (8 * i);
    }
    KeyVal = std::to_string(number);
  }  // any other type leaves KeyVal as it was
  registry.RegCloseKey(*key);
  return true;
}

}  // namespace sysvane
