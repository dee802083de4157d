// What the Win32 runtime converts at the system's boundary: twips to the pixels of a screen of
// any DPI (every window's place and size), and UTF-8 to UTF-16 (every caption and tip).
#include <gtest/gtest.h>

#include <tuple>

#include "platform/windows/forms/win_desktop_scale.h"
#include "platform/windows/forms/win_gdi.h"
#include "platform/windows/forms/win_painted.h"
#include "platform/windows/forms/win_units.h"
#include "platform/windows/wide_text.h"

namespace sysvane::win {
namespace {

TEST(WinConvert, TwipsKeepTheirLengthAndNeighboursTouchAtEveryDpi) {
  for (int dpi : {96, 120, 144, 168, 192}) {
    SCOPED_TRACE(dpi);
    EXPECT_EQ(TwipsToPixels(PixelsToTwips(37, dpi), dpi), 37);
    // Rows of bars 270 twips apart, 255 high: whatever the rounding, the boxes neither overlap nor
    // leave a gap where the twips touch, and none is more than a pixel off its share.
    for (int row = 0; row < 8; ++row) {
      const PixelBox box = TwipsBoxToPixels(105, 270 * row, 2265, 270, dpi);
      EXPECT_EQ(box.bottom, TwipsBoxToPixels(105, 270 * (row + 1), 2265, 270, dpi).top);
      EXPECT_NEAR(box.Height(), 270.0 * dpi / 1440, 1);
    }
  }
  EXPECT_EQ(FontHeight(8.25, 144), -17);  // MS Sans Serif 8.25 pt: 16.5 pixels at 144 dpi, rounded up
}

TEST(WinConvert, PlacesKeepTheirPixelOnMonitorsOfMixedDpi) {
  // The primary at 150 % (2880 x 1620), a second one at 100 % (1920 x 1080) to its right.
  const DesktopScale desktop({{0, 0, 2880, 1620, 144}, {2880, 0, 4800, 1080, 96}}, 144);
  const std::pair<PixelPoint, TwipsPoint> points[] = {
      {{2500, 300}, {25000, 3000}},  // dragged to x = 2500 on the primary: saved and back on that pixel
      {{3000, 100}, {28800 + 1800, 1500}},  // on the second: its corner, then its own 15 twips a pixel
  };
  for (const auto& [pixels, twips] : points) {
    SCOPED_TRACE(pixels.x);
    EXPECT_EQ(desktop.ToTwips(pixels), twips);
    EXPECT_EQ(desktop.ToPixels(twips), pixels);
  }
  // The roll-up grows upwards a step of 15 twips at a time at 125 %: its bottom edge stays.
  const DesktopScale single({{0, 0, 1920, 1080, 120}}, 120);
  for (int step = 0; step < 36; ++step)
    EXPECT_EQ(single.ToPixels({27000, 12045.0 - 15 * step, 2010, 30.0 + 15 * step}, 120).bottom, 1006);
}

TEST(WinConvert, TextsCrossIntoUtf16Whole) {
  EXPECT_EQ(windows::Wide("\xF0\x9F\x98\x80!"), std::wstring(L"\xD83D\xDE00!"));  // a surrogate pair
  EXPECT_EQ(windows::Wide(std::string("a\xFF") + "b"), L"a\uFFFDb");  // a stray byte is marked, not the end
  EXPECT_EQ(MultiLine("CPU\r\nMemory\rBattery\n\nC:"), L"CPU\nMemory\nBattery\n\nC:");
}

}  // namespace
}  // namespace sysvane::win
