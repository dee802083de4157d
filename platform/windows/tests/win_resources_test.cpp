// Reads the resources of a built sysvane.exe as Windows' loader and shell do, and fails without an
// icon group of 16, 24, 32 and 48 pixels or without a manifest for Windows 10/11 and per-monitor
// DPI awareness v2: win_resources_test sysvane.exe (a path Windows reads)
#include <windows.h>

#include <cstdio>
#include <set>
#include <string>

namespace {

std::string Resource(HMODULE module, LPCWSTR type, int id) {
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), type);
  const auto* data = found ? static_cast<const char*>(LockResource(LoadResource(module, found))) : nullptr;
  return data ? std::string(data, SizeofResource(module, found)) : std::string();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  HMODULE exe = LoadLibraryExW(argc == 2 ? argv[1] : L"", nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!exe) return 2;
  // The group's entries (GRPICONDIRENTRY, 14 bytes after a 6-byte header): width first, image id last.
  const std::string group = Resource(exe, RT_GROUP_ICON, 1), manifest = Resource(exe, RT_MANIFEST, 1);
  std::set<int> sizes;
  for (size_t at = 6; at + 14 <= group.size(); at += 14)
    if (!Resource(exe, RT_ICON, *reinterpret_cast<const WORD*>(&group[at + 12])).empty())
      sizes.insert(static_cast<unsigned char>(group[at]));
  const std::pair<bool, const char*> checks[] = {
      {sizes.count(16) && sizes.count(24) && sizes.count(32) && sizes.count(48),
       "icon 1 of 16, 24, 32, 48 px"},
      {manifest.find("supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"") != std::string::npos,
       "manifest: Windows 10 and 11"},
      {manifest.find(">PerMonitorV2") != std::string::npos, "manifest: per-monitor DPI awareness v2"}};
  int failures = 0;
  for (const auto& [ok, what] : checks) failures += !ok, std::printf("%s: %s\n", ok ? "ok" : "MISSING", what);
  return failures == 0 ? 0 : 1;
}
