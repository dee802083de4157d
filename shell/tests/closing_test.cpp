// The closing sequence, whatever ends the program: the tray icon first, then every window in order.
#include "dialogs/about.h"
#include "dialogs/message_box.h"
#include "monitor/detail_display.h"
#include "monitor/display.h"
#include "monitor/popup.h"
#include "options/options_dialog.h"
#include "shell/logo.h"
#include "tests/support/window_test.h"

namespace sysvane::testing {
namespace {

// A second start, and a termination signal while the splash holds the start-up: the start-up goes
// no further, no icon and no window appear, and only the second start says why.
TEST(ClosingTest, EndedDuringItsStartUpTheProgramShowsNoIconAndNoWindow) {
  for (const bool second : {true, false}) {
    SCOPED_TRACE(second ? "a second start" : "told to end while the splash shows");
    fake::FakeProgram fp;
    Program& program = fp.program;
    fp.Select("CPU StatsAtStartup Splash");
    fp.runtime.prevInstance = second;
    fp.runtime.onModal = [&](forms::Form&) { program.menu().CloseProgram(); };
    program.menu().Load();
    EXPECT_TRUE(fp.runtime.ended && fp.runtime.trayCalls.empty() &&
                !(program.logo().Loaded() || program.display().Loaded() || program.options().Loaded()));
    EXPECT_EQ(Join(int(fp.runtime.msgBoxes.size()), [&](int i) { return fp.runtime.msgBoxes[i]; }),
              second ? "Program is already running!" : "");
  }
}

TEST(ClosingTest, TheIconGoesFirstThenEveryWindowInOrder) {
  const std::string early = "DetailDisplay|Display|frmAbout|MessageBox|Options|Popup|Menu";
  for (const auto& [exitCommand, order] :
       {std::pair{false, early}, {true, "Options+|DetailDisplay+|Display+|frmAbout|MessageBox|Popup|Menu"}}) {
    fake::FakeProgram fp;
    Program& program = fp.program;
    fp.Select("CPU StatsAtStartup");
    program.menu().Load();
    for (forms::Form* window :
         std::vector<forms::Form*>{&program.display(), &program.detailDisplay(), &program.about(),
                                   &program.messageBox(), &program.options(), &program.popup()})
      window->Show();
    const std::vector<std::string>& unloaded = fp.runtime.unloaded;  // in order, "+" while the icon shows
    auto closed = [&] { return Join(int(unloaded.size()), [&](int i) { return unloaded[i]; }); };
    fp.runtime.msgBoxAnswers = {forms::vbNo, forms::vbYes};
    program.menu().mnuExit.NotifyClick();  // No: nothing closes
    EXPECT_EQ(fp.runtime.msgBoxes[0] + closed(),
              "   Are you sure you wish to exit the\r\nSysvane Monitor program?");
    exitCommand ? program.menu().mnuExit.NotifyClick() : program.menu().CloseProgram();
    EXPECT_EQ(std::pair(closed(), fp.runtime.ended), std::pair(order, true));
  }
}

}  // namespace
}  // namespace sysvane::testing
