// A folder of the test's own, removed when the test ends: empty, or a copy of another.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace sysvane::testing {

// `size` random bytes, NULs and newlines among them, the same for the same size.
inline std::string Garbage(size_t size) {
  std::mt19937 random(static_cast<unsigned>(size));
  std::string text(size, '\0');
  for (char& c : text) c = static_cast<char>(random() % 256);
  return text;
}

class TempTree {
 public:
  explicit TempTree(const std::string& copyOf = "") {
    std::string pattern = (std::filesystem::temp_directory_path() / "sysvane-test-XXXXXX").string();
    root_ = mkdtemp(pattern.data());
    if (!copyOf.empty()) std::filesystem::copy(copyOf, root_, std::filesystem::copy_options::recursive);
  }
  ~TempTree() { std::filesystem::remove_all(root_, ignored_); }
  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;

  // Writes `text` to `relative` in place (the same file, as /proc's never change), folders on the way.
  void Write(const std::string& relative, const std::string& text) const {
    std::filesystem::create_directories((root_ / relative).parent_path());
    std::ofstream(root_ / relative, std::ios::binary | std::ios::trunc) << text;
  }
  void Remove(const std::string& relative) const { std::filesystem::remove_all(root_ / relative); }
  std::string Path(const std::string& relative = "") const { return (root_ / relative).string(); }

 private:
  std::filesystem::path root_;
  std::error_code ignored_;  // a test that failed half-way may leave a folder it cannot empty
};

}  // namespace sysvane::testing
