// The About box: its links and mail session, and its System Info button: where it finds the
// program, and when it says it cannot.
#include "dialogs/about.h"

#include "tests/support/window_test.h"

namespace sysvane::testing {
namespace {

constexpr const char* kPathKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";

// Every system a user runs has the path value; the folder value with MSINFO32.EXE in it, the
// fallback of older systems, has no row.
TEST(AboutSysInfoTest, ThePathValuesProgramIsStartedElseItIsUnavailable) {
  // The path value, whether a program starts; what is started ("": the unavailable message instead).
  const std::tuple<const char*, bool, const char*> cases[] = {
      {"/usr/bin/hardinfo", true, "/usr/bin/hardinfo"}, {"/usr/bin/gone", false, ""}, {nullptr, true, ""}};
  for (const auto& [path, starts, started] : cases) {
    fake::FakeProgram fp;
    if (path)
      fp.registry.Add(HKEY_LOCAL_MACHINE, kPathKey).values["PATH"] = {REG_SZ, path + std::string(1, '\0')};
    fp.desktop.programStarts = starts;
    fp.program.about().Show();
    fp.program.about().cmdSysInfo.NotifyClick();
    EXPECT_EQ(fp.runtime.msgBoxes.empty() ? "" : fp.runtime.msgBoxes[0],
              *started ? "" : "System Information Is Unavailable At This Time");
    EXPECT_EQ(fp.desktop.startedPrograms.empty() ? "" : fp.desktop.startedPrograms[0], path ? path : "");
    EXPECT_EQ(fp.registry.openHandles, 0);
  }
}

TEST(AboutTest, ItsLinksOpenTheSiteAndOneMailSession) {
  fake::FakeProgram fp;
  frmAbout& about = fp.program.about();
  about.Show();
  about.WebLink.NotifyClick();
  EXPECT_EQ(fp.desktop.openedUrls, std::vector<std::string>{"https://www.quorvale.example/"});
  for (const bool answers : {true, true, false}) {
    fp.desktop.mailAnswers = answers;
    about.EmailLink.NotifyClick();
  }
  ASSERT_EQ(fp.desktop.mails.size(), 3u) << "a mail handler that fails is asked again next time";
  EXPECT_EQ(fp.desktop.mails[1].address + "|" + fp.desktop.mails[1].subject,
            "support@quorvale.example|Sysvane, Version 2.0");
  ASSERT_EQ(fp.runtime.msgBoxes.size(), 1u);
  EXPECT_EQ(fp.runtime.msgBoxes[0], "A problem has occurred while trying to send an e-mail.");
  about.NotifyKeyDown(forms::vbKeyEscape, 0);  // (the mail session's own bookkeeping no user sees)
  EXPECT_FALSE(about.Loaded());
}

}  // namespace
}  // namespace sysvane::testing
