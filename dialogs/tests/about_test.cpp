// The About box's System Info button: where it finds the program, and when it says it cannot.
#include "dialogs/about.h"

#include "tests/support/window_test.h"

namespace sysvane::testing {
namespace {

constexpr const char* kPathKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr const char* kFolderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";

TEST(AboutSysInfoTest, ThePathValueWinsThenTheFolderWithItsProgramElseUnavailable) {
  struct Case {
    const char *path, *folder, *file;
    bool starts;
    const char* started;  // "" : the unavailable message instead
  };
  for (const Case& c :
       {Case{"/usr/bin/hardinfo", "C:\\Tools", "C:\\Tools\\MSINFO32.EXE", true, "/usr/bin/hardinfo"},
        Case{nullptr, "C:\\Tools", "C:\\Tools\\MSINFO32.EXE", true, "C:\\Tools\\MSINFO32.EXE"},
        Case{nullptr, "C:\\Tools", "C:\\Other\\MSINFO32.EXE", true, ""},
        Case{"/usr/bin/gone", nullptr, "", false, ""}, Case{nullptr, nullptr, "", true, ""}}) {
    fake::FakeProgram fp;
    if (c.path)
      fp.registry.Add(HKEY_LOCAL_MACHINE, kPathKey).values["PATH"] = {REG_SZ, c.path + std::string(1, '\0')};
    if (c.folder) fp.registry.Add(HKEY_LOCAL_MACHINE, kFolderKey).values["MSINFO"] = {REG_SZ, c.folder};
    fp.desktop.files[c.file] = "";
    fp.desktop.programStarts = c.starts;
    fp.program.about().Show();
    fp.program.about().cmdSysInfo.NotifyClick();
    EXPECT_EQ(fp.runtime.msgBoxes.empty() ? "" : fp.runtime.msgBoxes[0].prompt,
              *c.started && c.starts ? "" : "System Information Is Unavailable At This Time");
    EXPECT_EQ(fp.desktop.startedPrograms.empty() ? "" : fp.desktop.startedPrograms[0],
              c.path ? c.path : c.started);
    EXPECT_EQ(fp.registry.openHandles, 0);
    for (const auto& entry : fp.registry.log)
      EXPECT_TRUE(!c.path || entry.find(kFolderKey) == std::string::npos);
  }
}

}  // namespace
}  // namespace sysvane::testing
