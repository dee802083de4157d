#include "platform/windows/forms/win_bar.h"

#include "platform/bar_display.h"
#include "platform/windows/forms/win_gdi.h"
#include "platform/windows/wide_text.h"

namespace sysvane::win {

namespace {

void FillColor(HDC dc, int left, int top, int width, int height, COLORREF color) {
  const RECT r{left, top, left + width, top + height};
  SetBkColor(dc, color);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);  // a fill without a brush
}

TRIVERTEX Vertex(int x, int y, COLORREF color) {
  return {
      x, y, COLOR16(GetRValue(color) << 8), COLOR16(GetGValue(color) << 8), COLOR16(GetBValue(color) << 8),
      0};
}

}  // namespace

BarPeer::BarPeer(forms::ProgressBar& bar) : PaintedPeer(bar), bar_(bar) {
  CreatePainted();
}

void BarPeer::Paint(HDC dc, const RECT& outer) {
  const forms::BarDisplay shown = forms::DescribeBar(bar_.Value(), bar_.TextAfterCaption());
  const int width = outer.right, height = outer.bottom;
  FillColor(dc, 0, 0, width, height, ToColorRef(bar_.BackColor()));
  // Sunken frame: shadow on the top and left edges, light on the bottom and right ones.
  if (width >= 2 && height >= 2) {
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), light = GetSysColor(COLOR_BTNHIGHLIGHT);
    FillColor(dc, 0, 0, width, 1, shadow);
    FillColor(dc, 0, 0, 1, height, shadow);
    FillColor(dc, 0, height - 1, width, 1, light);
    FillColor(dc, width - 1, 0, 1, height, light);
  }
  const RECT inner{1, 1, width - 1, height - 1};
  const int filled = forms::FilledPixels(shown.fillFraction, inner.right - inner.left);
  if (filled > 0 && inner.bottom > inner.top) {
    TRIVERTEX ends[2] = {Vertex(inner.left, inner.top, ToColorRef(bar_.StartColor())),
                         Vertex(inner.left + filled, inner.bottom, ToColorRef(bar_.EndColor()))};
    GRADIENT_RECT span{0, 1};
    GradientFill(dc, ends, 2, &span, 1, GRADIENT_FILL_RECT_H);
  }
  HGDIOBJ old = SelectObject(dc, Font());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ToColorRef(bar_.ForeColor()));
  RECT text = inner;
  const std::wstring caption = windows::Wide(shown.text);
  DrawTextW(dc, caption.c_str(), int(caption.size()), &text,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, old);
}

}  // namespace sysvane::win
