// What the Linux backend's tests share: a folder of files removed when the test ends, and the
// power record as one comparable line.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/kernel.h"

namespace sysvane::testing {

class TempTree {
 public:
  TempTree() {
    std::string pattern = (std::filesystem::temp_directory_path() / "sysvane-linux-XXXXXX").string();
    root_ = mkdtemp(pattern.data());
  }
  ~TempTree() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;

  // Writes `text` to `relative` (below the root) in place, creating the folders on the way.
  void Write(const std::string& relative, const std::string& text) const {
    std::filesystem::create_directories((root_ / relative).parent_path());
    std::ofstream(root_ / relative, std::ios::binary | std::ios::trunc) << text;
  }
  void Remove(const std::string& relative) const { std::filesystem::remove_all(root_ / relative); }
  void Link(const std::string& target, const std::string& relative) const {
    std::filesystem::create_directories((root_ / relative).parent_path());
    std::filesystem::create_symlink(target, root_ / relative);
  }
  std::string Path(const std::string& relative = "") const { return (root_ / relative).string(); }

 private:
  std::filesystem::path root_;
};

// "line flag percent time-left full-time", an unknown time as "?".
inline std::string PowerText(const SYSTEM_POWER_STATUS& s) {
  auto time = [](uint32_t t) { return t == BATTERY_LIFE_UNKNOWN ? std::string("?") : std::to_string(t); };
  return std::to_string(s.ACLineStatus) + " " + std::to_string(s.BatteryFlag) + " " +
         std::to_string(s.BatteryLifePercent) + " " + time(s.BatteryLifeTime) + " " +
         time(s.BatteryFullLifeTime);
}

}  // namespace sysvane::testing
