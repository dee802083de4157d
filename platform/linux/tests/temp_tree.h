// A folder of files written by a test, removed when the test ends.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

#include <cstdlib>

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

  // Writes `text` to `relative` (below the root), creating the folders on the way.
  void Write(const std::string& relative, const std::string& text) const {
    const auto path = root_ / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path) << text;
  }
  void Remove(const std::string& relative) const { std::filesystem::remove_all(root_ / relative); }
  void Link(const std::string& target, const std::string& relative) const {
    const auto path = root_ / relative;
    std::filesystem::create_directories(path.parent_path());
    std::filesystem::create_symlink(target, path);
  }
  std::string Path(const std::string& relative = "") const { return (root_ / relative).string(); }

 private:
  std::filesystem::path root_;
};

}  // namespace sysvane::testing
