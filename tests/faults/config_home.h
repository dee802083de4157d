// A user of the tests' own: $XDG_CONFIG_HOME, $XDG_DATA_HOME, $XDG_RUNTIME_DIR and $HOME in a
// temporary folder while the object lives, with the few file questions the tests ask of it.
#pragma once

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "tests/temp_tree.h"

namespace sysvane::faults {

constexpr const char* kSettingsFile = "config/Sysvane/Sysvane.conf";

class ConfigHome : public testing::TempTree {
 public:
  ConfigHome() {
    std::filesystem::create_directories(Path("runtime"));
    for (auto [name, folder] : {std::pair{"XDG_CONFIG_HOME", "config"},
                                {"XDG_DATA_HOME", "data"},
                                {"XDG_RUNTIME_DIR", "runtime"},
                                {"HOME", "home"}}) {
      const char* value = std::getenv(name);
      saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
      setenv(name, Path(folder).c_str(), 1);
    }
  }
  ~ConfigHome() {
    for (const auto& [name, value] : saved_) value ? setenv(name, value->c_str(), 1) : unsetenv(name);
  }
  std::string Text(const std::string& relative) const {
    return (std::ostringstream() << std::ifstream(Path(relative), std::ios::binary).rdbuf()).str();
  }
  // The type and mode bits, of a link itself; 0 when there is nothing.
  unsigned Stat(const std::string& relative) const {
    struct stat info {};
    return lstat(Path(relative).c_str(), &info) == 0 ? info.st_mode : 0;
  }
  size_t Count(const std::string& relative) const {  // the entries of a folder
    return std::distance(std::filesystem::directory_iterator(Path(relative)), {});
  }

 private:
  std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

}  // namespace sysvane::faults
