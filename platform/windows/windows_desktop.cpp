#include "platform/windows/windows_desktop.h"

// clang-format off
#include "platform/windows/win32.h"
#include <shellapi.h>
#include <shlobj.h>
// clang-format on

#include <cctype>
#include <cstdio>

#include "platform/windows/known_folder.h"
#include "platform/windows/startup_shortcut.h"
#include "platform/windows/wide_text.h"

namespace sysvane::windows {

namespace {

std::string PercentEncoded(const std::string& text, const std::string& kept) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  for (const unsigned char c : text) {
    const bool plain = std::isalnum(c) ||
                       std::string("-._~").find(static_cast<char>(c)) != std::string::npos ||
                       kept.find(static_cast<char>(c)) != std::string::npos;
    if (plain) {
      encoded += static_cast<char>(c);
    } else {
      encoded += '%';
      encoded += kHex[c >> 4];
      encoded += kHex[c & 15];
    }
  }
  return encoded;
}

bool ShellOpen(const std::string& address) {
  // No dialog of the shell's own when nothing answers (no mail program): the caller says so in
  // the program's words. The handler is found and started before the call returns.
  const std::wstring file = Wide(address);
  SHELLEXECUTEINFOW open{};
  open.cbSize = sizeof open;
  open.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  open.lpVerb = L"open";
  open.lpFile = file.c_str();
  open.nShow = SW_SHOWNORMAL;
  return ShellExecuteExW(&open) != FALSE;
}

DWORD Attributes(const std::string& path) {
  return GetFileAttributesW(Wide(path).c_str());
}

}  // namespace

WindowsDesktop::WindowsDesktop() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return;
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  executable_ = Narrow(path);
}

std::string WindowsDesktop::MailtoUrl(const std::string& address, const std::string& subject) {
  return "mailto:" + PercentEncoded(address, "@") + "?subject=" + PercentEncoded(subject, "");
}

bool WindowsDesktop::OpenUrl(const std::string& url) {
  return !url.empty() && ShellOpen(url);
}

bool WindowsDesktop::ComposeMail(const std::string& address, const std::string& subject) {
  return ShellOpen(MailtoUrl(address, subject));
}

bool WindowsDesktop::StartProgram(const std::string& path) {
  if (path.empty()) return false;
  // Started directly, its path quoted as its only argument: never read by a command interpreter.
  std::wstring commandLine = L"\"" + Wide(path) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(Wide(path).c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process))
    return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

bool WindowsDesktop::FileExists(const std::string& path) {
  const DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<std::string> WindowsDesktop::ReadFile(const std::string& path) {
  if (!FileExists(path)) return std::nullopt;
  FILE* file = _wfopen(Wide(path).c_str(), L"rb");
  if (!file) return std::nullopt;
  std::string contents;
  char buffer[4096];
  for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) contents.append(buffer, got);
  const bool failed = std::ferror(file);
  std::fclose(file);
  if (failed) return std::nullopt;
  return contents;
}

bool WindowsDesktop::DeleteFile(const std::string& path) {
  return FileExists(path) && DeleteFileW(Wide(path).c_str());
}

bool WindowsDesktop::CreateFolders(const std::string& path) {
  const std::wstring folder = Wide(path);
  for (size_t slash = folder.find_first_of(L"\\/", 3); slash != std::wstring::npos;
       slash = folder.find_first_of(L"\\/", slash + 1))
    CreateDirectoryW(folder.substr(0, slash).c_str(), nullptr);
  CreateDirectoryW(folder.c_str(), nullptr);
  const DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool WindowsDesktop::WriteFileAtomically(const std::string& path, const std::string& contents) {
  // The new file is written whole beside the old one, then replaces it in one step.
  const std::string temporary = path + ".new";
  FILE* file = _wfopen(Wide(temporary).c_str(), L"wb");
  if (!file) return false;
  const bool written = std::fwrite(contents.data(), 1, contents.size(), file) == contents.size();
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed || !MoveFile(temporary, path)) {
    DeleteFileW(Wide(temporary).c_str());
    return false;
  }
  return true;
}

bool WindowsDesktop::MoveFile(const std::string& from, const std::string& to) {
  return MoveFileExW(Wide(from).c_str(), Wide(to).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

bool WindowsDesktop::CreateStartupLink(const std::string& name, const std::string& target,
                                       const std::string& arguments) {
  return StartupShortcut().Create(name, target, arguments);
}

bool WindowsDesktop::RemoveStartupLink(const std::string& name) {
  return StartupShortcut().Remove(name);
}

bool WindowsDesktop::StartupLinkExists(const std::string& name) {
  return StartupShortcut().Exists(name);
}

std::string WindowsDesktop::ConfigHome() {
  return KnownFolderPath(FOLDERID_RoamingAppData);
}

std::string WindowsDesktop::DataHome() {
  return KnownFolderPath(FOLDERID_LocalAppData);
}

}  // namespace sysvane::windows
