// A user of the tests' own: $XDG_CONFIG_HOME, $XDG_DATA_HOME, $XDG_RUNTIME_DIR and $HOME in a
// temporary folder while the object lives, with the few file questions the tests ask of it.
#pragma once

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace sysvane::faults {

class ConfigHome {
 public:
  ConfigHome() {
    std::string pattern = (std::filesystem::temp_directory_path() / "sysvane-faults-XXXXXX").string();
    root_ = mkdtemp(pattern.data());
    std::filesystem::create_directories(root_ / "runtime");
    std::filesystem::permissions(root_ / "runtime", std::filesystem::perms::owner_all);
    for (const auto& [name, folder] : kVariables) {
      const char* old = std::getenv(name);
      saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
      setenv(name, Path(folder).c_str(), 1);
    }
  }
  ~ConfigHome() {
    for (const auto& [name, value] : saved_) {
      if (value) {
        setenv(name, value->c_str(), 1);
      } else {
        unsetenv(name);
      }
    }
    std::error_code ignored;
    std::filesystem::permissions(root_, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(root_, ignored);
  }
  ConfigHome(const ConfigHome&) = delete;
  ConfigHome& operator=(const ConfigHome&) = delete;

  std::string Path(const std::string& relative = "") const { return (root_ / relative).string(); }
  std::string SettingsPath() const { return Path("config/Sysvane/Sysvane.conf"); }
  bool Exists(const std::string& relative) const {
    struct stat info {};
    return lstat(Path(relative).c_str(), &info) == 0;
  }
  std::string Text(const std::string& relative) const {
    std::ifstream in(Path(relative), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  std::string Settings() const { return Text("config/Sysvane/Sysvane.conf"); }
  void WriteFile(const std::string& relative, const std::string& text) const {
    std::filesystem::create_directories((root_ / relative).parent_path());
    std::ofstream(Path(relative), std::ios::binary | std::ios::trunc) << text;
  }
  void WriteSettings(const std::string& text) const { WriteFile("config/Sysvane/Sysvane.conf", text); }
  // The permission bits, of the link itself when `relative` is one.
  unsigned Mode(const std::string& relative) const {
    struct stat info {};
    return lstat(Path(relative).c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
  }
  bool IsLink(const std::string& relative) const {
    struct stat info {};
    return lstat(Path(relative).c_str(), &info) == 0 && S_ISLNK(info.st_mode);
  }
  std::vector<std::string> Entries(const std::string& relative) const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(root_ / relative))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  static constexpr std::pair<const char*, const char*> kVariables[] = {{"XDG_CONFIG_HOME", "config"},
                                                                       {"XDG_DATA_HOME", "data"},
                                                                       {"XDG_RUNTIME_DIR", "runtime"},
                                                                       {"HOME", "home"}};
  std::filesystem::path root_;
  std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

}  // namespace sysvane::faults
