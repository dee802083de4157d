#include "platform/linux/linux_registry.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace sysvane {

namespace {

// Registry names are compared without regard to case, as Windows does.
bool SameName(const std::string& a, const std::string& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

bool IsExecutableFile(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
}

}  // namespace

std::optional<std::string> FindSystemInformationProgram(const std::string& searchPath) {
  static constexpr const char* kPrograms[] = {
      "hardinfo", "gnome-system-monitor", "plasma-systemmonitor", "mate-system-monitor", "xfce4-taskmanager",
      "lxtask"};
  for (const char* program : kPrograms) {
    size_t start = 0;
    while (start <= searchPath.size()) {
      const size_t end = std::min(searchPath.find(':', start), searchPath.size());
      const std::string folder = searchPath.substr(start, end - start);
      start = end + 1;
      // Only absolute folders: an empty or relative entry would depend on the working folder.
      if (folder.empty() || folder.front() != '/') continue;
      const std::string path = folder + (folder.back() == '/' ? "" : "/") + program;
      if (IsExecutableFile(path)) return path;
    }
  }
  return std::nullopt;
}

std::optional<HKEY> LinuxRegistry::RegOpenKeyEx(HKEY root, const std::string& subKey, uint32_t) {
  if (root != HKEY_LOCAL_MACHINE || !SameName(subKey, kSystemInformationKey)) return std::nullopt;
  const char* environment = std::getenv("PATH");
  const std::string searchPath = searchPath_ ? *searchPath_ : (environment ? environment : "");
  auto program = FindSystemInformationProgram(searchPath);
  if (!program) return std::nullopt;
  const HKEY key = next_++;
  programs_[key] = std::move(*program);
  return key;
}

std::optional<RegValue> LinuxRegistry::RegQueryValueEx(HKEY key, const std::string& valueName,
                                                       uint32_t bufferSize) {
  const auto open = programs_.find(key);
  if (open == programs_.end() || !SameName(valueName, kSystemInformationValue)) return std::nullopt;
  RegValue value{REG_SZ, open->second + '\0'};
  if (value.data.size() > bufferSize) return std::nullopt;
  return value;
}

void LinuxRegistry::RegCloseKey(HKEY key) {
  programs_.erase(key);
}

}  // namespace sysvane
