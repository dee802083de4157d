#include "platform/fake/fake_desktop.h"

namespace sysvane::fake {

static std::string Parent(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos || slash == 0 ? std::string("/") : path.substr(0, slash);
}

bool FakeDesktop::FolderExists(const std::string& path) const {
  if (path == "/" || folders.count(path)) return true;
  // A folder is implied by any file below it.
  auto it = files.lower_bound(path + "/");
  return it != files.end() && it->first.starts_with(path + "/");
}

bool FakeDesktop::CreateFolders(const std::string& path) {
  if (path.empty() || files.count(path)) return false;
  for (std::string p = path; p != "/" && !p.empty(); p = Parent(p)) folders.insert(p);
  return true;
}

bool FakeDesktop::WriteFileAtomically(const std::string& path, const std::string& contents) {
  return !writesFail && FolderExists(Parent(path)) && (files[path] = contents, true);
}

bool FakeDesktop::MoveFile(const std::string& from, const std::string& to) {
  if (movesFail || !files.count(from) || !FolderExists(Parent(to))) return false;
  files[to] = files[from];
  return from == to || files.erase(from);
}

}  // namespace sysvane::fake
