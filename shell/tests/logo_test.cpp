// The splash: rounded at its screen's own resolution, held still, gone after three seconds (where it
// shows, a screenshot tells).
#include "shell/logo.h"

#include "tests/support/window_test.h"

namespace sysvane::testing {
namespace {

TEST(LogoTest, RoundedHeldStillAndClosedThreeSecondsAfterItsLoad) {
  // At 10 twips a pixel (not the usual 15): 4005 x 2985 twips make a corner at pixel 400, 298 (halves
  // to even).
  fake::FakeProgram fp;
  fp.runtime.screen.TwipsPerPixelX = fp.runtime.screen.TwipsPerPixelY = 10;
  fp.runtime.onModal = [](forms::Form&) {};
  Logo& logo = fp.program.logo();
  logo.Show(forms::Modality::Modal);
  EXPECT_EQ(logo.Region(), (forms::RoundRectRegion{1, 1, 400, 298, 40, 40}));
  EXPECT_EQ(fp.runtime.ChangeCount(&logo, forms::Prop::Repaint), 1);
  EXPECT_EQ(fp.runtime.pauses, std::vector<int>{1000});
  fp.runtime.Advance(1985);
  EXPECT_TRUE(logo.Loaded());
  fp.runtime.Advance(15);
  EXPECT_FALSE(logo.Loaded());
}

}  // namespace
}  // namespace sysvane::testing
