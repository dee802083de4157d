// The registry on Linux. Only one key exists: the location of a system information program,
// which the About box offers to start. There is no dynamic-data key.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>

#include "platform/registry.h"

namespace sysvane {

// The key and value under which the About box looks for the system information program.
constexpr const char* kSystemInformationKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr const char* kSystemInformationValue = "PATH";

class LinuxRegistry : public Registry {
 public:
  // `searchPath` stands in for $PATH (tests); without it $PATH is read at every open.
  explicit LinuxRegistry(std::optional<std::string> searchPath = std::nullopt)
      : searchPath_(std::move(searchPath)) {}

  std::optional<HKEY> RegOpenKeyEx(HKEY root, const std::string& subKey, uint32_t access) override;
  std::optional<RegValue> RegQueryValueEx(HKEY key, const std::string& valueName,
                                          uint32_t bufferSize) override;
  void RegCloseKey(HKEY key) override;

 private:
  std::optional<std::string> searchPath_;
  std::map<HKEY, std::string> programs_;  // open key -> the program's absolute path
  HKEY next_ = 0x1000;
};

// The absolute path of the first system information program found in a colon-separated search
// path, in order of preference; nullopt when there is none.
std::optional<std::string> FindSystemInformationProgram(const std::string& searchPath);

}  // namespace sysvane
