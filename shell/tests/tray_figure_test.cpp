// What the live tray icon shows a user at the sizes trays use: digits present, apart and whole;
// bars as tall as their figures; a new picture only for new pixels.
#include <gtest/gtest.h>

#include <set>

#include "shell/tray_figure.h"

namespace sysvane {
namespace {

using Shows = Settings::TrayIconShows;

struct Span {
  int first, last;  // columns
};

// The runs of columns in which any pixel is `is`.
template <class Is>
std::vector<Span> ColumnRuns(const forms::ArgbImage& image, Is is) {
  std::vector<Span> runs;
  for (int x = 0; x < image.size; ++x) {
    bool lit = false;
    for (int y = 0; y < image.size; ++y) lit = lit || is(image.At(x, y));
    if (!lit) continue;
    runs.empty() || runs.back().last != x - 1 ? runs.push_back({x, x}) : void(runs.back().last = x);
  }
  return runs;
}

TEST(TrayFigure, DigitsAndBarsReadAsTheirFiguresAtEachSize) {
  for (int size : {16, 22, 36, 48}) {
    for (int value : {0, 5, 50, 99, 100}) {
      SCOPED_TRACE(std::to_string(value) + "% at " + std::to_string(size) + " px");
      const forms::ArgbImage digits = DrawTrayFigure({Shows::CpuDigits, value, 0}, size);
      const auto glyphs = ColumnRuns(digits, [](uint32_t p) { return p == kDigitColor; });
      ASSERT_EQ(glyphs.size(), value < 10 ? 1u : 2u);
      // Whole, on the plate, and wide enough to read (their height a screenshot shows).
      for (const Span& glyph : glyphs)
        EXPECT_TRUE(glyph.first >= 1 && glyph.last <= size - 2 && glyph.last - glyph.first + 1 >= size / 4);
      EXPECT_TRUE(glyphs.size() < 2 || glyphs[1].first - glyphs[0].last - 1 >= size / 10);

      // Bars: CPU on the left, memory on the right, each filled from the bottom to its share.
      const forms::ArgbImage bars = DrawTrayFigure({Shows::CpuAndMemoryBars, value, 100 - value}, size);
      const auto columns = ColumnRuns(bars, [](uint32_t p) { return p >> 24 && p != kPlateColor; });
      ASSERT_EQ(columns.size(), 2u);
      for (int bar = 0; bar < 2; ++bar) {
        std::string column;  // the bar's middle column from the top: 't' its track, 'f' its filled part
        for (int y = 0, x = (columns[bar].first + columns[bar].last) / 2; y < size; ++y)
          if (const uint32_t p = bars.At(x, y); p >> 24 && p != kPlateColor)
            column += p == kTrackColor ? 't' : 'f';
        const size_t track = column.size(), filled = track - std::min(track, column.find('f'));
        EXPECT_EQ(column, std::string(track - filled, 't') + std::string(filled, 'f'))
            << "filled from the bottom";
        EXPECT_NEAR(filled, (bar ? 100 - value : value) * track / 100.0, 0.5 + 1e-9) << "bar " << bar;
      }
    }
    // Every figure a user can tell apart (a full CPU showing 99 is a row of the test below).
    std::set<std::vector<uint32_t>> seen;
    for (int value = 0; value <= 99; ++value)
      seen.insert(DrawTrayFigure({Shows::CpuDigits, value, 0}, size).pixels);
    EXPECT_EQ(seen.size(), 100u);
  }
}

// Two figures look the same exactly when no size a tray uses draws them differently.
TEST(TrayFigure, LooksTheSameOnlyWhenNoSizeDrawsADifference) {
  const std::tuple<TrayFigure, TrayFigure, bool> rows[] = {
      {{Shows::CpuDigits, 3, 10}, {Shows::CpuDigits, 3, 80}, true},
      {{Shows::CpuDigits, 99, 0}, {Shows::CpuDigits, 100, 0}, true},
      {{Shows::CpuDigits, 3, 0}, {Shows::CpuDigits, 4, 0}, false},
      {{Shows::CpuAndMemoryBars, 0, 20}, {Shows::CpuAndMemoryBars, 1, 20}, false},
      {{Shows::CpuAndMemoryBars, 50, 20}, {Shows::CpuAndMemoryBars, 50, 21}, false}};
  for (const auto& [a, b, same] : rows) {
    EXPECT_EQ(LooksTheSame(a, b), same) << a.cpu << " " << b.cpu;
    bool drawnSame = true;
    for (int size = 16; size <= 96; ++size)
      drawnSame = drawnSame && DrawTrayFigure(a, size) == DrawTrayFigure(b, size);
    EXPECT_EQ(drawnSame, same) << a.cpu << " " << b.cpu;
  }
}

}  // namespace
}  // namespace sysvane
