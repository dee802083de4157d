// The splash: centred, rounded at its screen's own resolution, held still, gone after three seconds.
#include "shell/logo.h"

#include "tests/support/window_test.h"

namespace sysvane::testing {
namespace {

TEST(LogoTest, CentredOnWholePixelsRoundedHeldStillAndClosedThreeSecondsAfterItsLoad) {
  // 4005 x 2985 twips: the region's corner in pixels, rounded halves to even.
  for (auto [perPixel, right, bottom] : {std::tuple{15.0, 267, 199}, {12.0, 334, 249}, {10.0, 400, 298}}) {
    fake::FakeProgram fp;
    fp.runtime.screen.TwipsPerPixelX = fp.runtime.screen.TwipsPerPixelY = perPixel;
    fp.runtime.onModal = [](forms::Form&) {};
    Logo& logo = fp.program.logo();
    logo.Show(forms::Modality::Modal);
    EXPECT_EQ(logo.Region(), (forms::RoundRectRegion{1, 1, right, bottom, 40, 40})) << perPixel;
    EXPECT_LE(
        std::abs(logo.Left() + logo.Width() / 2 - 14400) + std::abs(logo.Top() + logo.Height() / 2 - 8100),
        2 * perPixel);
    EXPECT_EQ(std::fmod(logo.Left(), perPixel) + std::fmod(logo.Top(), perPixel), 0);
    EXPECT_EQ(fp.runtime.ChangeCount(&logo, forms::Prop::Repaint), 1);
    EXPECT_EQ(fp.runtime.pauses, std::vector<int>{1000});
    fp.runtime.Advance(1985);
    EXPECT_TRUE(logo.Loaded());
    fp.runtime.Advance(15);
    EXPECT_FALSE(logo.Loaded());
  }
}

}  // namespace
}  // namespace sysvane::testing
