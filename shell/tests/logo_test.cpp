// The splash: centred, rounded at the screen's own resolution, held still, gone after three seconds.
#include "shell/logo.h"

#include "tests/support/window_test.h"

namespace sysvane::testing {
namespace {

TEST(LogoTest, CentredOnWholePixelsWithCornersRoundedInPixelsOfItsOwnScreen) {
  struct Case {
    forms::Twips perPixel;
    int right, bottom;  // 4005 x 2985 twips, rounded halves to even
  };
  for (const Case& c : {Case{15, 267, 199}, Case{12, 334, 249}, Case{10, 400, 298}}) {
    fake::FakeProgram fp;
    fp.runtime.screen.TwipsPerPixelX = fp.runtime.screen.TwipsPerPixelY = c.perPixel;
    Logo& logo = fp.program.logo();
    logo.Load();
    EXPECT_EQ(logo.Region(), (forms::RoundRectRegion{1, 1, c.right, c.bottom, 40, 40})) << c.perPixel;
    EXPECT_FALSE(logo.HasTitleBar());
    EXPECT_LE(std::abs(logo.Left() + logo.Width() / 2 - 28800 / 2), c.perPixel);
    EXPECT_LE(std::abs(logo.Top() + logo.Height() / 2 - 16200 / 2), c.perPixel);
    EXPECT_EQ(std::fmod(logo.Left(), c.perPixel), 0);
  }
}

TEST_F(WindowTest, TheSplashRepaintsHoldsStillASecondAndClosesThreeSecondsAfterItsLoad) {
  Logo& logo = program.logo();
  rt.onModal = [](forms::Form&) {};
  logo.Show(forms::Modality::Modal);
  EXPECT_EQ(rt.ChangeCount(&logo, forms::Prop::Repaint), 1);
  EXPECT_EQ(rt.pauses, std::vector<int>{1000});
  rt.Advance(1985);
  EXPECT_TRUE(logo.Loaded());
  rt.Advance(15);
  EXPECT_FALSE(logo.Loaded());
}

}  // namespace
}  // namespace sysvane::testing
