// The splash: its frame, its rounded region at the screen's resolution, and its timing.
#include "shell/logo.h"

#include "shell/tests/shell_test_support.h"

namespace sysvane::testing {
namespace {

using LogoTest = ShellTest;

TEST_F(LogoTest, BorderOnlyFrameAroundItsClientAreaCentredOnTheScreen) {
  Logo& logo = program.logo();
  logo.Load();
  EXPECT_FALSE(logo.HasTitleBar());
  EXPECT_EQ(logo.ScaleWidth(), 3975);
  EXPECT_EQ(logo.ScaleHeight(), 2955);
  EXPECT_EQ(logo.Width(), 4005);
  EXPECT_EQ(logo.Height(), 2985);
  // 1920 x 1080 pixels: (1920 - 267) / 2 = 826.5 and (1080 - 199) / 2 = 440.5, on whole pixels.
  EXPECT_EQ(logo.Left(), 826 * 15);
  EXPECT_EQ(logo.Top(), 440 * 15);
  EXPECT_EQ(logo.Label[3].Caption(), Logo::kNotice);
  EXPECT_TRUE(logo.Label[3].Visible());
  EXPECT_LE(rt.TextWidth(logo.Label[3].font(), logo.Label[3].Caption()), logo.Label[3].Width());
  EXPECT_LE(rt.TextWidth(logo.Message.font(), logo.Message.Caption()), logo.Message.Width());
}

TEST(LogoRegion, MadeFromTheOuterSizeInPixelsAtTheScreensResolution) {
  struct Case {
    forms::Twips perPixel;
    int right, bottom;
  };
  // 4005 x 2985 twips: 267 x 199 pixels at 15; 333.75 x 248.75 at 12; 400.5 x 298.5 at 10.
  for (const Case& c : {Case{15, 267, 199}, Case{12, 334, 249}, Case{10, 400, 298}}) {
    fake::FakeProgram fp;
    fp.runtime.screen.TwipsPerPixelX = c.perPixel;
    fp.runtime.screen.TwipsPerPixelY = c.perPixel;
    fp.program.logo().Load();
    EXPECT_EQ(fp.program.logo().Region(), (forms::RoundRectRegion{1, 1, c.right, c.bottom, 40, 40}))
        << c.perPixel << " twips per pixel";
  }
}

TEST_F(LogoTest, ShownItRepaintsThenHoldsStillForOneSecond) {
  Logo& logo = program.logo();
  rt.onModal = [](forms::Form&) {};
  logo.Show(forms::Modality::Modal);
  EXPECT_EQ(rt.ChangeCount(&logo, forms::Prop::Repaint), 1);
  EXPECT_EQ(rt.pauses, std::vector<int>{1000});
}

TEST_F(LogoTest, ClosesItselfThreeSecondsAfterLoading) {
  Logo& logo = program.logo();
  rt.onModal = [](forms::Form&) {};
  logo.Show(forms::Modality::Modal);  // the one-second hold is part of the three seconds
  rt.Advance(1985);
  EXPECT_TRUE(logo.Loaded());
  rt.Advance(15);
  EXPECT_FALSE(logo.Loaded());
  EXPECT_EQ(rt.Now(), 3000);
}

}  // namespace
}  // namespace sysvane::testing
