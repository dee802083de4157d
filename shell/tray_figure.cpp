#include "shell/tray_figure.h"

#include <algorithm>
#include <cmath>

#include "platform/bar_display.h"

namespace sysvane {

namespace {

using Shows = Settings::TrayIconShows;

// Every length is a whole number of pixels worked out for the size itself, so that no stroke
// is ever a blend of two pixels.
struct Layout {
  int margin;  // plate around the content
  int inner;   // the content square's side
  int stroke;  // a digit's stroke; also the gap between digits and between bars
  explicit Layout(int n)
      : margin(std::max(1, int(std::lround(n / 16.0)))),
        inner(n - 2 * margin),
        stroke(std::max(1, int(std::lround(n / 8.0)))) {}
};

constexpr int kSmallestCompared = 16;
constexpr int kLargestCompared = 96;

// Segments a to g of a seven-segment digit, bit 0 = a (top), clockwise, g the middle.
constexpr uint8_t kSegments[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};

class Canvas {
 public:
  explicit Canvas(int n) { image.size = n, image.pixels.assign(size_t(n) * size_t(n), 0); }
  void Fill(int x, int y, int w, int h, uint32_t argb) {
    for (int row = std::max(0, y); row < std::min(image.size, y + h); ++row)
      for (int col = std::max(0, x); col < std::min(image.size, x + w); ++col)
        image.pixels[size_t(row) * size_t(image.size) + size_t(col)] = argb;
  }
  forms::ArgbImage image;
};

void DrawPlate(Canvas& canvas) {
  const int n = canvas.image.size;
  canvas.Fill(0, 0, n, n, kPlateColor);
  // Rounded corners: one pixel cut at small sizes, a two-pixel step from 32 up.
  const int cut = n >= 32 ? 2 : 1;
  for (int i = 0; i < cut; ++i) {
    const int len = cut - i;
    for (int x : {0, n - len}) {
      canvas.Fill(x, i, len, 1, 0);
      canvas.Fill(x, n - 1 - i, len, 1, 0);
    }
  }
}

void DrawDigit(Canvas& canvas, int digit, int x, int y, int width, int stroke, int gap) {
  const int half = 2 * stroke + gap;  // a vertical segment, with both corners
  const struct {
    int x, y, w, h;
  } rects[7] = {{0, 0, width, stroke},
                {width - stroke, 0, stroke, half},
                {width - stroke, stroke + gap, stroke, half},
                {0, 2 * stroke + 2 * gap, width, stroke},
                {0, stroke + gap, stroke, half},
                {0, 0, stroke, half},
                {0, stroke + gap, width, stroke}};
  for (int segment = 0; segment < 7; ++segment) {
    if (kSegments[digit] & (1 << segment)) {
      const auto& r = rects[segment];
      canvas.Fill(x + r.x, y + r.y, r.w, r.h, kDigitColor);
    }
  }
}

void DrawDigits(Canvas& canvas, int value) {
  const Layout l(canvas.image.size);
  const int width = (l.inner - l.stroke) / 2;
  const int gap = (l.inner - 3 * l.stroke) / 2;  // the openings' height
  const int height = 3 * l.stroke + 2 * gap;
  const int top = l.margin + (l.inner - height) / 2;
  if (value < 10) {
    DrawDigit(canvas, value, l.margin + (l.inner - width) / 2, top, width, l.stroke, gap);
    return;
  }
  // The pixel that does not divide evenly goes between the digits, so that the pair sits centred.
  DrawDigit(canvas, value / 10, l.margin, top, width, l.stroke, gap);
  DrawDigit(canvas, value % 10, l.margin + l.inner - width, top, width, l.stroke, gap);
}

// The bar's colour is the Monitor window's gradient (green to red) where its fill ends, taken at
// the filled pixels, not at the value, so that the colour changes only with the height.
uint32_t GradientAt(int rows, int track) {
  const double f = track > 0 ? double(rows) / track : 0;
  const auto red = uint32_t(std::lround(255 * f));
  const auto green = uint32_t(std::lround(192 * (1 - f)));
  return 0xFF000000u | (red << 16) | (green << 8);
}

int FilledRows(int percent, int n) {
  const int track = Layout(n).inner;
  return forms::FilledPixels(std::clamp(percent, 0, 100) / 100.0, track);
}

void DrawBars(Canvas& canvas, int cpu, int memory) {
  const Layout l(canvas.image.size);
  const int width = (l.inner - l.stroke) / 2;
  // As the digits: the two bars against the plate's margins, the odd pixel between them.
  for (int x : {l.margin, l.margin + l.inner - width}) {
    const int rows = FilledRows(x == l.margin ? cpu : memory, canvas.image.size);
    canvas.Fill(x, l.margin, width, l.inner, kTrackColor);
    canvas.Fill(x, l.margin + l.inner - rows, width, rows, GradientAt(rows, l.inner));
  }
}

}  // namespace

int ShownDigits(int cpu) {
  return std::clamp(cpu, 0, 99);
}

forms::ArgbImage DrawTrayFigure(const TrayFigure& figure, int pixels) {
  Canvas canvas(std::max(pixels, 8));
  DrawPlate(canvas);
  if (figure.shows == Shows::CpuAndMemoryBars) {
    DrawBars(canvas, figure.cpu, figure.memory);
  } else {
    DrawDigits(canvas, ShownDigits(figure.cpu));
  }
  return std::move(canvas.image);
}

bool LooksTheSame(const TrayFigure& a, const TrayFigure& b) {
  if (a.shows != b.shows) return false;
  switch (a.shows) {
    case Shows::ProgramIcon:
      return true;
    case Shows::CpuDigits:
      return ShownDigits(a.cpu) == ShownDigits(b.cpu);
    case Shows::CpuAndMemoryBars:
      for (int n = kSmallestCompared; n <= kLargestCompared; ++n) {
        if (FilledRows(a.cpu, n) != FilledRows(b.cpu, n) ||
            FilledRows(a.memory, n) != FilledRows(b.memory, n))
          return false;
      }
      return true;
  }
  return false;
}

}  // namespace sysvane
