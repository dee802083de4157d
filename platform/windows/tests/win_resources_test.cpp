// Reads the resources of a built sysvane.exe as Windows' loader and shell do, and fails without an
// icon group of 16, 24, 32 and 48 pixels or without a manifest for Windows 10/11 and per-monitor
// DPI awareness v2: win_resources_test sysvane.exe (a path Windows reads)
#include <windows.h>

#include <cstdio>
#include <set>
#include <string>

namespace {

#pragma pack(push, 2)
struct GroupEntry {  // GRPICONDIRENTRY: one image of an icon group
  BYTE width, height, colors, reserved;
  WORD planes, bitCount;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)

std::string Resource(HMODULE module, LPCWSTR type, LPCWSTR name) {
  HRSRC found = FindResourceW(module, name, type);
  if (!found) return {};
  const auto* data = static_cast<const char*>(LockResource(LoadResource(module, found)));
  return data ? std::string(data, SizeofResource(module, found)) : std::string();
}

int failures = 0;
void Expect(bool ok, const char* what) {
  if (!ok) ++failures;
  std::printf("%s: %s\n", ok ? "ok" : "MISSING", what);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) return 2;
  HMODULE exe = LoadLibraryExW(argv[1], nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (!exe) return 2;

  const std::string group = Resource(exe, RT_GROUP_ICON, MAKEINTRESOURCEW(1));
  std::set<int> sizes;
  const WORD count = group.size() >= 6 ? *reinterpret_cast<const WORD*>(group.data() + 4) : 0;
  for (WORD i = 0; i < count && 6 + (i + 1) * sizeof(GroupEntry) <= group.size(); ++i) {
    const auto* entry = reinterpret_cast<const GroupEntry*>(group.data() + 6 + i * sizeof(GroupEntry));
    if (entry->width == entry->height && !Resource(exe, RT_ICON, MAKEINTRESOURCEW(entry->id)).empty())
      sizes.insert(entry->width);
  }
  for (int size : {16, 24, 32, 48})
    Expect(sizes.count(size) > 0, ("icon 1 of " + std::to_string(size) + " px").c_str());

  const std::string manifest = Resource(exe, RT_MANIFEST, MAKEINTRESOURCEW(1));
  Expect(manifest.find("supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"") != std::string::npos,
         "manifest: Windows 10 and 11");
  Expect(manifest.find(">PerMonitorV2") != std::string::npos, "manifest: per-monitor DPI awareness v2");
  FreeLibrary(exe);
  return failures == 0 ? 0 : 1;
}
