#include "dialogs/about.h"

#include <gtest/gtest.h>

#include "dialogs/key_value.h"
#include "platform/fake/fake_program.h"

namespace sysvane {
namespace {

constexpr const char* kPathKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr const char* kFolderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";

class AboutTest : public ::testing::Test {
 protected:
  frmAbout& Open() {
    frmAbout& about = fp.program.about();
    about.Show();
    return about;
  }
  void SetValue(const char* key, const char* name, uint32_t type, const std::string& data) {
    fp.registry.Add(HKEY_LOCAL_MACHINE, key).values[name] = RegValue{type, data};
  }
  fake::FakeProgram fp;
};

TEST_F(AboutTest, ShowsTheProgramsTitleVersionAndDescription) {
  frmAbout& about = Open();
  EXPECT_EQ(about.Caption(), " About Sysvane");
  EXPECT_EQ(about.lblTitle.Caption(), "Sysvane");
  EXPECT_TRUE(about.lblTitle.font().bold);
  EXPECT_EQ(about.lblVersion.Caption(), "Version 2.0");
  EXPECT_EQ(about.lblDescription.Caption(),
            "The Sysvane program is designed to display various types of information about your computer "
            "system, including CPU, memory, and resource usage, battery charge status and level (if "
            "applicable), and disk usage.");
  EXPECT_EQ(about.lblDisclaimer.Caption(), "Please send any comments or suggestions to:");
  EXPECT_EQ(about.Label1.Caption(), "Web site:");
  EXPECT_EQ(about.WebLink.Caption(), "https://www.quorvale.example/");
  EXPECT_EQ(about.WebLink.ToolTipText(), " Visit the Quorvale web site ");
  EXPECT_TRUE(about.WebLink.font().underline);
  EXPECT_EQ(about.EmailLink.Caption(), "support@quorvale.example");
  EXPECT_EQ(about.EmailLink.ToolTipText(), " Send an e-mail to Quorvale ");
  EXPECT_EQ(about.cmdOK.Caption(), "OK");
  EXPECT_TRUE(about.cmdOK.Default());
  EXPECT_TRUE(about.cmdOK.Cancel());
  EXPECT_EQ(about.cmdSysInfo.Caption(), "&System Info...");
  EXPECT_EQ(about.ScaleWidth(), 6045);
  EXPECT_EQ(about.ScaleHeight(), 4455);
  // Everything lies inside the client area, and the links do not run into the buttons.
  for (forms::Control* c : about.Controls()) {
    EXPECT_GE(c->Left(), 0) << c->Name();
    EXPECT_LE(c->Left() + c->Width(), 6045) << c->Name();
    EXPECT_LE(c->Top() + c->Height(), 4455) << c->Name();
  }
  EXPECT_LE(about.WebLink.Left() + about.WebLink.Width(), about.cmdOK.Left());
  EXPECT_LE(about.EmailLink.Left() + about.EmailLink.Width(), about.cmdOK.Left());
}

TEST_F(AboutTest, TheWebLinkOpensTheSiteAndEscapeCloses) {
  frmAbout& about = Open();
  about.WebLink.NotifyClick();
  EXPECT_EQ(fp.desktop.openedUrls, std::vector<std::string>{"https://www.quorvale.example/"});
  about.cmdOK.SetFocus();
  about.NotifyKeyDown(forms::vbKeyEscape, 0);
  EXPECT_FALSE(about.Loaded());
}

TEST_F(AboutTest, OneMailSessionServesEveryClickUntilTheBoxUnloads) {
  frmAbout& about = Open();
  about.EmailLink.NotifyClick();
  const int32_t session = about.MAPISession1.SessionID();
  EXPECT_GT(session, 0);
  about.EmailLink.NotifyClick();
  EXPECT_EQ(about.MAPISession1.SessionID(), session);  // no second sign-on
  EXPECT_EQ(about.MAPIMessages1.SessionID, session);
  ASSERT_EQ(fp.desktop.mails.size(), 2u);
  EXPECT_EQ(fp.desktop.mails[1].address, "support@quorvale.example");
  EXPECT_EQ(fp.desktop.mails[1].subject, "Sysvane, Version 2.0");
  EXPECT_TRUE(fp.runtime.msgBoxes.empty());

  about.cmdOK.NotifyClick();
  EXPECT_FALSE(about.Loaded());
  EXPECT_EQ(about.MAPISession1.SessionID(), 0);  // signed off
  // The next box starts without a session and signs on afresh.
  Open().EmailLink.NotifyClick();
  EXPECT_GT(about.MAPISession1.SessionID(), session);
}

TEST_F(AboutTest, AMailFailureIsReportedAndTheSessionStaysOpen) {
  fp.desktop.mailAnswers = false;
  frmAbout& about = Open();
  about.EmailLink.NotifyClick();
  ASSERT_EQ(fp.runtime.msgBoxes.size(), 1u);
  EXPECT_EQ(fp.runtime.msgBoxes[0].prompt, "A problem has occurred while trying to send an e-mail.");
  EXPECT_EQ(fp.runtime.msgBoxes[0].style, 0);
  EXPECT_EQ(fp.runtime.msgBoxes[0].title, "Sysvane");
  EXPECT_GT(about.MAPISession1.SessionID(), 0);
  EXPECT_TRUE(about.Loaded());
}

TEST_F(AboutTest, ThePathValueWinsOverTheFolderEntry) {
  SetValue(kPathKey, "PATH", REG_SZ, std::string("/usr/bin/hardinfo") + '\0');
  SetValue(kFolderKey, "MSINFO", REG_SZ, "C:\\Tools");
  fp.desktop.files["C:\\Tools\\MSINFO32.EXE"] = "";
  Open().cmdSysInfo.NotifyClick();
  EXPECT_EQ(fp.desktop.startedPrograms, std::vector<std::string>{"/usr/bin/hardinfo"});
  for (const auto& entry : fp.registry.log) EXPECT_EQ(entry.find(kFolderKey), std::string::npos) << entry;
  EXPECT_TRUE(fp.runtime.msgBoxes.empty());
  EXPECT_EQ(fp.registry.openHandles, 0);
}

TEST_F(AboutTest, TheFolderEntryNeedsItsProgramFile) {
  SetValue(kFolderKey, "MSINFO", REG_SZ, "C:\\Tools");
  frmAbout& about = Open();
  about.cmdSysInfo.NotifyClick();
  EXPECT_TRUE(fp.desktop.startedPrograms.empty());
  ASSERT_EQ(fp.runtime.msgBoxes.size(), 1u);
  EXPECT_EQ(fp.runtime.msgBoxes[0].prompt, "System Information Is Unavailable At This Time");
  EXPECT_EQ(fp.runtime.msgBoxes[0].title, "Sysvane");

  fp.desktop.files["C:\\Tools\\MSINFO32.EXE"] = "";
  about.cmdSysInfo.NotifyClick();
  EXPECT_EQ(fp.desktop.startedPrograms, std::vector<std::string>{"C:\\Tools\\MSINFO32.EXE"});
  EXPECT_EQ(fp.runtime.msgBoxes.size(), 1u);
}

TEST_F(AboutTest, NoEntryOrAProgramThatDoesNotStartIsUnavailable) {
  frmAbout& about = Open();
  about.cmdSysInfo.NotifyClick();
  SetValue(kPathKey, "PATH", REG_SZ, "/usr/bin/gone");
  fp.desktop.programStarts = false;
  about.cmdSysInfo.NotifyClick();
  EXPECT_EQ(fp.desktop.startedPrograms, std::vector<std::string>{"/usr/bin/gone"});
  ASSERT_EQ(fp.runtime.msgBoxes.size(), 2u);
  EXPECT_EQ(fp.runtime.msgBoxes[1].prompt, "System Information Is Unavailable At This Time");
}

TEST(GetKeyValueTest, TrimsOnlyATerminatingNul) {
  fake::FakeRegistry registry;
  auto& key = registry.Add(HKEY_LOCAL_MACHINE, "K").values;
  key["counted"] = RegValue{REG_SZ, std::string("C:\\A.EXE") + '\0'};
  key["uncounted"] = RegValue{REG_SZ, "C:\\A.EXE"};
  key["empty"] = RegValue{REG_SZ, ""};
  std::string value;
  EXPECT_TRUE(GetKeyValue(registry, HKEY_LOCAL_MACHINE, "K", "counted", value));
  EXPECT_EQ(value, "C:\\A.EXE");
  EXPECT_TRUE(GetKeyValue(registry, HKEY_LOCAL_MACHINE, "K", "uncounted", value));
  EXPECT_EQ(value, "C:\\A.EXE");
  EXPECT_TRUE(GetKeyValue(registry, HKEY_LOCAL_MACHINE, "K", "empty", value));
  EXPECT_EQ(value, "");
  EXPECT_EQ(registry.openHandles, 0);
}

TEST(GetKeyValueTest, NumbersBecomeDecimalTextWithEveryZeroByteCounted) {
  fake::FakeRegistry registry;
  auto& key = registry.Add(HKEY_LOCAL_MACHINE, "K").values;
  key["small"] = RegValue{REG_DWORD, std::string("\x02\x01\x00\x00", 4)};
  key["inner zero"] = RegValue{REG_DWORD, std::string("\x05\x00\x01\x00", 4)};
  key["largest"] = RegValue{REG_DWORD, std::string("\xFF\xFF\xFF\xFF", 4)};
  key["binary"] = RegValue{3, "raw"};
  std::string value;
  EXPECT_TRUE(GetKeyValue(registry, HKEY_LOCAL_MACHINE, "K", "small", value));
  EXPECT_EQ(value, "258");
  EXPECT_TRUE(GetKeyValue(registry, HKEY_LOCAL_MACHINE, "K", "inner zero", value));
  EXPECT_EQ(value, "65541");
  EXPECT_TRUE(GetKeyValue(registry, HKEY_LOCAL_MACHINE, "K", "largest", value));
  EXPECT_EQ(value, "4294967295");
  value = "before";
  EXPECT_TRUE(GetKeyValue(registry, HKEY_LOCAL_MACHINE, "K", "binary", value));
  EXPECT_EQ(value, "before");
}

TEST(GetKeyValueTest, FailuresEmptyTheValueAndCloseTheKey) {
  fake::FakeRegistry registry;
  registry.Add(HKEY_LOCAL_MACHINE, "K").values["v"] = RegValue{REG_SZ, "x"};
  registry.Add(HKEY_LOCAL_MACHINE, "ReadOnly").refuseAccess = 0x2003F;
  std::string value = "stale";
  EXPECT_FALSE(GetKeyValue(registry, HKEY_LOCAL_MACHINE, "Missing", "v", value));
  EXPECT_EQ(value, "");
  value = "stale";
  EXPECT_FALSE(GetKeyValue(registry, HKEY_LOCAL_MACHINE, "K", "missing", value));
  EXPECT_EQ(value, "");
  EXPECT_FALSE(GetKeyValue(registry, HKEY_LOCAL_MACHINE, "ReadOnly", "v", value));
  EXPECT_EQ(registry.openHandles, 0);
}

}  // namespace
}  // namespace sysvane
