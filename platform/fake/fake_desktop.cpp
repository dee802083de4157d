#include "platform/fake/fake_desktop.h"

namespace sysvane::fake {

namespace {
std::string Parent(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos || slash == 0 ? std::string("/") : path.substr(0, slash);
}
}  // namespace

bool FakeDesktop::FolderExists(const std::string& path) const {
  if (path == "/" || folders.count(path)) return true;
  // A folder is implied by any file below it.
  auto it = files.lower_bound(path + "/");
  return it != files.end() && it->first.compare(0, path.size() + 1, path + "/") == 0;
}

bool FakeDesktop::OpenUrl(const std::string& url) {
  openedUrls.push_back(url);
  return true;
}

bool FakeDesktop::ComposeMail(const std::string& address, const std::string& subject) {
  mails.push_back({address, subject});
  return mailAnswers;
}

bool FakeDesktop::StartProgram(const std::string& path) {
  startedPrograms.push_back(path);
  return programStarts && !path.empty();
}

bool FakeDesktop::FileExists(const std::string& path) {
  return files.count(path) > 0;
}

std::optional<std::string> FakeDesktop::ReadFile(const std::string& path) {
  const auto it = files.find(path);
  if (it == files.end()) return std::nullopt;
  return it->second;
}

bool FakeDesktop::DeleteFile(const std::string& path) {
  return files.erase(path) > 0;
}

bool FakeDesktop::CreateFolders(const std::string& path) {
  if (path.empty() || files.count(path)) return false;
  for (std::string p = path; p != "/" && !p.empty(); p = Parent(p)) folders.insert(p);
  return true;
}

bool FakeDesktop::WriteFileAtomically(const std::string& path, const std::string& contents) {
  if (writesFail || !FolderExists(Parent(path))) return false;
  files[path] = contents;
  return true;
}

bool FakeDesktop::MoveFile(const std::string& from, const std::string& to) {
  auto it = files.find(from);
  if (movesFail || it == files.end() || !FolderExists(Parent(to))) return false;
  std::string contents = it->second;
  files.erase(it);
  files[to] = contents;
  return true;
}

}  // namespace sysvane::fake
