// The About box: its links, the mail session it keeps, and where it finds System Information.
#include "dialogs/about.h"

#include "dialogs/key_value.h"
#include "tests/support/window_test.h"

namespace sysvane::testing {
namespace {

constexpr const char* kPathKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr const char* kFolderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";

TEST_F(WindowTest, TheAboutBoxLinksAndOneMailSessionUntilItUnloads) {
  frmAbout& about = program.about();
  about.Show();
  for (forms::Control* c : about.Controls())  // inside the client area, the links clear of the buttons
    EXPECT_TRUE(c->Left() >= 0 && c->Left() + c->Width() <= about.ScaleWidth() &&
                c->Top() + c->Height() <= about.ScaleHeight() &&
                (c->Top() + c->Height() <= about.cmdOK.Top() ||
                 c->Left() + c->Width() <= about.cmdOK.Left() || c->Left() >= about.cmdOK.Left()))
        << c->Name();
  about.WebLink.NotifyClick();
  EXPECT_EQ(fp.desktop.openedUrls, std::vector<std::string>{about.WebLink.Caption()});
  about.EmailLink.NotifyClick();
  const int32_t session = about.MAPISession1.SessionID();
  about.EmailLink.NotifyClick();
  EXPECT_EQ(std::pair(about.MAPISession1.SessionID(), about.MAPIMessages1.SessionID),
            std::pair(session, session));
  ASSERT_EQ(fp.desktop.mails.size(), 2u);
  EXPECT_EQ(fp.desktop.mails[1].address + " " + fp.desktop.mails[1].subject,
            about.EmailLink.Caption() + " Sysvane, Version 2.0");
  about.cmdOK.SetFocus();
  about.NotifyKeyDown(forms::vbKeyEscape, 0);
  EXPECT_FALSE(about.Loaded());
  EXPECT_EQ(about.MAPISession1.SessionID(), 0);  // signed off
  fp.desktop.mailAnswers = false;
  about.Show();
  about.EmailLink.NotifyClick();  // a fresh session, and a failure that leaves it open
  EXPECT_GT(about.MAPISession1.SessionID(), session);
  EXPECT_EQ(rt.msgBoxes.at(0).prompt, "A problem has occurred while trying to send an e-mail.");
  EXPECT_TRUE(about.Loaded());
}

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

TEST(GetKeyValueTest, TextLosesOnlyATerminatingNulNumbersBecomeDecimalFailuresEmptyTheValue) {
  fake::FakeRegistry registry;
  auto& key = registry.Add(HKEY_LOCAL_MACHINE, "K").values;
  registry.Add(HKEY_LOCAL_MACHINE, "ReadOnly").refuseAccess = 0x2003F;
  for (auto [type, data, expected] : {std::tuple{REG_SZ, std::string("C:\\A.EXE") + '\0', "C:\\A.EXE"},
                                      {REG_SZ, std::string("C:\\A.EXE"), "C:\\A.EXE"},
                                      {REG_SZ, std::string(), ""},
                                      {REG_DWORD, std::string("\x02\x01\x00\x00", 4), "258"},
                                      {REG_DWORD, std::string("\x05\x00\x01\x00", 4), "65541"},
                                      {REG_DWORD, std::string("\xFF\xFF\xFF\xFF", 4), "4294967295"},
                                      {3u, std::string("raw"), "before"}}) {
    key["v"] = RegValue{type, data};
    std::string value = "before";
    EXPECT_TRUE(GetKeyValue(registry, HKEY_LOCAL_MACHINE, "K", "v", value));
    EXPECT_EQ(value, expected);
  }
  for (auto [path, name] : {std::pair{"Missing", "v"}, {"K", "missing"}, {"ReadOnly", "v"}}) {
    std::string value = "stale";
    EXPECT_FALSE(GetKeyValue(registry, HKEY_LOCAL_MACHINE, path, name, value));
    EXPECT_EQ(value, "") << path;
  }
  EXPECT_EQ(registry.openHandles, 0);
}

}  // namespace
}  // namespace sysvane::testing
