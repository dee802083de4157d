#include "platform/windows/forms/win_pictures.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "platform/windows/forms/win_window.h"

namespace sysvane::win {

namespace {

// The colours of a load, as the bars show it: green when low, yellow half way, red when high.
constexpr COLORREF kLow = RGB(18, 196, 58), kMiddle = RGB(245, 210, 28), kHigh = RGB(240, 48, 30);

COLORREF Mix(COLORREF a, COLORREF b, double t) {
  auto channel = [t](int x, int y) { return BYTE(std::lround(x + (y - x) * t)); };
  return RGB(channel(GetRValue(a), GetRValue(b)), channel(GetGValue(a), GetGValue(b)),
             channel(GetBValue(a), GetBValue(b)));
}

// The load colour at 0..1: green, yellow, red.
COLORREF LoadColor(double t) {
  return t < 0.5 ? Mix(kLow, kMiddle, t * 2) : Mix(kMiddle, kHigh, (t - 0.5) * 2);
}

TRIVERTEX Vertex(int x, int y, COLORREF c) {
  return {x, y, COLOR16(GetRValue(c) << 8), COLOR16(GetGValue(c) << 8), COLOR16(GetBValue(c) << 8), 0};
}

void Gradient(HDC dc, const RECT& r, COLORREF from, COLORREF to, bool vertical) {
  TRIVERTEX ends[2] = {Vertex(r.left, r.top, from), Vertex(r.right, r.bottom, to)};
  GRADIENT_RECT span{0, 1};
  GradientFill(dc, ends, 2, &span, 1, vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
}

// Draws with a pen and brush made for the call, and frees them.
template <class F>
void With(HDC dc, COLORREF pen, int width, const COLORREF* brush, F draw) {
  HPEN p = CreatePen(PS_SOLID, width, pen);
  HBRUSH b = brush ? CreateSolidBrush(*brush) : static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  HGDIOBJ oldPen = SelectObject(dc, p), oldBrush = SelectObject(dc, b);
  draw();
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(p);
  if (brush) DeleteObject(b);
}

// A light card with a soft edge, behind each drawing, so that it reads on any window colour.
void PaintCard(HDC dc, const RECT& r) {
  const int radius = int(std::min(r.right - r.left, r.bottom - r.top) * 0.24);
  HRGN card = CreateRoundRectRgn(r.left, r.top, r.right + 1, r.bottom + 1, radius, radius);
  SelectClipRgn(dc, card);
  Gradient(dc, r, RGB(250, 252, 255), RGB(222, 229, 238), true);
  SelectClipRgn(dc, nullptr);
  DeleteObject(card);
  With(dc, RGB(120, 132, 148), 1, nullptr,
       [&] { RoundRect(dc, r.left, r.top, r.right, r.bottom, radius, radius); });
}

// Five columns rising from a base line, coloured by their height, over faint grid lines.
void PaintBarChart(HDC dc, const RECT& r) {
  PaintCard(dc, r);
  const int margin = int(std::min(r.right - r.left, r.bottom - r.top) * 0.14);
  const RECT plot{r.left + margin, r.top + margin, r.right - margin, r.bottom - margin};
  const int height = plot.bottom - plot.top;
  With(dc, RGB(190, 198, 210), 1, nullptr, [&] {
    for (int i = 1; i <= 3; ++i) {
      const int y = plot.bottom - height * i / 4;
      MoveToEx(dc, plot.left, y, nullptr);
      LineTo(dc, plot.right, y);
    }
  });
  constexpr std::array<double, 5> kHeights{0.42, 0.68, 0.5, 0.92, 0.3};
  const double slot = double(plot.right - plot.left) / kHeights.size();
  const double gap = slot * 0.22;
  for (size_t i = 0; i < kHeights.size(); ++i) {
    const RECT column{int(plot.left + slot * double(i) + gap / 2), int(plot.bottom - height * kHeights[i]),
                      int(plot.left + slot * double(i + 1) - gap / 2), plot.bottom};
    // The column's colour runs from green at the base to the load colour of its height.
    Gradient(dc, column, LoadColor(kHeights[i]), kLow, true);
    With(dc, RGB(150, 150, 150), 1, nullptr,
         [&] { Rectangle(dc, column.left, column.top, column.right, column.bottom); });
  }
  With(dc, RGB(70, 80, 94), 2, nullptr, [&] {
    MoveToEx(dc, plot.left - 1, plot.bottom, nullptr);
    LineTo(dc, plot.right + 1, plot.bottom);
  });
}

POINT At(double cx, double cy, double radius, double degrees) {
  const double a = degrees * 3.14159265358979 / 180;
  return {int(std::lround(cx + std::cos(a) * radius)), int(std::lround(cy - std::sin(a) * radius))};
}

// A dial with a green-to-red scale and its needle at about two thirds, over a small bar that
// shows the same reading.
void PaintGauge(HDC dc, const RECT& r) {
  PaintCard(dc, r);
  const double width = r.right - r.left, height = r.bottom - r.top;
  const double side = std::min(width, height * 0.8) * 0.86;
  const double cx = r.left + width / 2, cy = r.top + width * 0.07 + side / 2;
  const COLORREF face = RGB(32, 41, 54);
  With(dc, RGB(110, 124, 140), 1, &face,
       [&] { Ellipse(dc, int(cx - side / 2), int(cy - side / 2), int(cx + side / 2), int(cy + side / 2)); });
  // The scale: 270 degrees from the lower left round to the lower right, in short arcs of their
  // load colour.
  const double ring = side * 0.11, scale = side / 2 - ring * 1.7;
  const int steps = 27;
  for (int i = 0; i < steps; ++i) {
    const double from = 225.0 - 270.0 * i / steps, to = 225.0 - 270.0 * (i + 1) / steps;
    With(dc, LoadColor((i + 0.5) / steps), std::max(1, int(ring)), nullptr, [&] {
      const POINT a = At(cx, cy, scale, from), b = At(cx, cy, scale, to);
      MoveToEx(dc, a.x, a.y, nullptr);
      LineTo(dc, b.x, b.y);
    });
  }
  // Ticks.
  const double outer = scale - ring * 0.9, inner = outer - ring * 0.7;
  With(dc, RGB(230, 236, 244), std::max(1, int(side * 0.02)), nullptr, [&] {
    for (int i = 0; i <= 10; ++i) {
      const POINT a = At(cx, cy, inner, 225.0 - 27.0 * i);
      const POINT b = At(cx, cy, i % 5 == 0 ? inner - ring * 0.5 : outer, 225.0 - 27.0 * i);
      MoveToEx(dc, a.x, a.y, nullptr);
      LineTo(dc, b.x, b.y);
    }
  });
  // The needle at 65 %.
  const double reading = 0.65;
  With(dc, RGB(255, 255, 255), std::max(2, int(side * 0.045)), nullptr, [&] {
    const POINT tip = At(cx, cy, outer * 0.98, 225.0 - 270.0 * reading);
    MoveToEx(dc, int(cx), int(cy), nullptr);
    LineTo(dc, tip.x, tip.y);
  });
  const COLORREF hub = RGB(210, 218, 228);
  With(dc, hub, 1, &hub, [&] {
    Ellipse(dc, int(cx - side * 0.08), int(cy - side * 0.08), int(cx + side * 0.08), int(cy + side * 0.08));
  });
  // The reading as a bar, below the dial.
  const double dialBottom = cy + side / 2;
  const int barTop = int(dialBottom + (r.bottom - dialBottom) * 0.3);
  const int barHeight = std::max(3, int((r.bottom - dialBottom) * 0.34));
  if (barTop + barHeight < r.bottom - 1) {
    const RECT track{int(cx - side / 2), barTop, int(cx + side / 2), barTop + barHeight};
    const COLORREF trough = RGB(30, 40, 52);
    With(dc, RGB(110, 124, 140), 1, &trough,
         [&] { RoundRect(dc, track.left, track.top, track.right, track.bottom, barHeight, barHeight); });
    const RECT fill{track.left + 1, track.top + 1,
                    track.left + 1 + int((track.right - track.left - 2) * reading), track.bottom - 1};
    Gradient(dc, fill, kLow, LoadColor(reading), false);
  }
}

void PaintSystemIcon(HDC dc, const RECT& r, int id) {
  DrawIconEx(dc, r.left, r.top, LoadIconW(nullptr, MAKEINTRESOURCEW(id)), r.right - r.left, r.bottom - r.top,
             0, nullptr, DI_NORMAL);
}

}  // namespace

void PaintPicture(HDC dc, const RECT& area, const std::string& name) {
  if (area.right <= area.left || area.bottom <= area.top) return;
  SetStretchBltMode(dc, HALFTONE);
  const int side = std::min(area.right - area.left, area.bottom - area.top);
  if (name == "app-icon")
    DrawIconEx(dc, area.left, area.top, AppIcon(side), area.right - area.left, area.bottom - area.top, 0,
               nullptr, DI_NORMAL);
  else if (name == "splash-bars")
    PaintBarChart(dc, area);
  else if (name == "splash-gauge")
    PaintGauge(dc, area);
  else if (name == "icon-stop")
    PaintSystemIcon(dc, area, 32513);  // IDI_HAND
  else if (name == "icon-question")
    PaintSystemIcon(dc, area, 32514);  // IDI_QUESTION
  else if (name == "icon-exclamation")
    PaintSystemIcon(dc, area, 32515);  // IDI_EXCLAMATION
  else if (name == "icon-information")
    PaintSystemIcon(dc, area, 32516);  // IDI_ASTERISK
}

}  // namespace sysvane::win
