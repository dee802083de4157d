#include "platform/windows/forms/win_painted.h"

#include <algorithm>

#include "platform/windows/forms/win_gdi.h"
#include "platform/windows/forms/win_pictures.h"
#include "platform/windows/forms/win_window.h"

namespace sysvane::win {

using forms::Prop;

namespace {

void PaintBuffered(PaintedPeer& peer, HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT area;
  GetClientRect(window, &area);
  if (area.right > 0 && area.bottom > 0) {
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, area.right, area.bottom);
    HGDIOBJ old = SelectObject(memory, bitmap);
    peer.Paint(memory, area);
    BitBlt(dc, 0, 0, area.right, area.bottom, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
  }
  EndPaint(window, &paint);
}

LRESULT CALLBACK PaintedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* peer = static_cast<PaintedPeer*>(BoundPeer(window));
  if (!peer) return DefWindowProcW(window, message, wParam, lParam);
  switch (message) {
    case WM_PAINT:
      PaintBuffered(*peer, window);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_NCHITTEST:
      if (peer->PassesMouseThrough()) return HTTRANSPARENT;
      break;
    case WM_MOUSEMOVE: {
      const int dpi = peer->Dpi();
      peer->control().NotifyMouseMove(VbButton(wParam), VbShift(), PixelsToTwips(short(LOWORD(lParam)), dpi),
                                      PixelsToTwips(short(HIWORD(lParam)), dpi));
      return 0;
    }
    case WM_LBUTTONUP: {
      // A click is a left button released over the control.
      RECT area;
      GetClientRect(window, &area);
      const POINT at{short(LOWORD(lParam)), short(HIWORD(lParam))};
      if (PtInRect(&area, at)) peer->control().NotifyClick();
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

void PaintedPeer::CreatePainted() {
  Create(WindowClass(L"SysvanePainted", PaintedProc), 0);
  ApplyAll();
}

void PaintedPeer::Apply(Prop) {
  InvalidateRect(Window(), nullptr, FALSE);
}

forms::Color PaintedPeer::Background(bool transparent) const {
  return transparent ? container().background : control().BackColor();
}

// ---------------------------------------------------------------------------------------------

UINT LabelTextFormat(forms::Alignment alignment, bool wordWrap, int boxHeight, int lineHeight) {
  const UINT align = alignment == forms::Alignment::Center  ? DT_CENTER
                     : alignment == forms::Alignment::Right ? DT_RIGHT
                                                            : DT_LEFT;
  const UINT common = align | DT_TOP | DT_NOPREFIX;
  // A second line that the box cannot show would take the words off the first: one line it is.
  if (lineHeight <= 0 || boxHeight < 2 * lineHeight) return common | DT_SINGLELINE | DT_END_ELLIPSIS;
  return common | (wordWrap ? DT_WORDBREAK : 0);
}

LabelPeer::LabelPeer(forms::Label& label) : PaintedPeer(label), label_(label) {
  CreatePainted();
}

void LabelPeer::Paint(HDC dc, const RECT& area) {
  FillRect(dc, &area, BrushOf(Background(label_.Transparent())));
  HGDIOBJ old = SelectObject(dc, Font());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ToColorRef(label_.ForeColor()));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  RECT text = area;
  const std::wstring caption = MultiLine(label_.Caption());
  DrawTextW(dc, caption.c_str(), int(caption.size()), &text,
            LabelTextFormat(label_.alignment(), label_.WordWrap(), area.bottom - area.top, metrics.tmHeight));
  SelectObject(dc, old);
}

// ---------------------------------------------------------------------------------------------

ImagePeer::ImagePeer(forms::Image& image) : PaintedPeer(image) {
  CreatePainted();
}

void ImagePeer::Paint(HDC dc, const RECT& area) {
  FillRect(dc, &area, BrushOf(container().background));
  PaintPicture(dc, area, static_cast<const forms::Image&>(control()).Picture());
}

// ---------------------------------------------------------------------------------------------

LinePeer::LinePeer(forms::Line& line) : PaintedPeer(line) {
  CreatePainted();
}

PixelBox LinePeer::Box() const {
  const forms::Control& line = control();
  const int dpi = Dpi();
  const int x1 = TwipsToPixels(line.Left(), dpi), y1 = TwipsToPixels(line.Top(), dpi);
  const int x2 = TwipsToPixels(line.Left() + line.Width(), dpi),
            y2 = TwipsToPixels(line.Top() + line.Height(), dpi);
  return {std::min(x1, x2), std::min(y1, y2), std::max({x1, x2, std::min(x1, x2) + 1}),
          std::max({y1, y2, std::min(y1, y2) + 1})};
}

void LinePeer::Paint(HDC dc, const RECT& area) {
  FillRect(dc, &area, BrushOf(container().background));
  const forms::Control& line = control();
  // Which corners the line joins: it may run up or to the left.
  const bool leftToRight = line.Width() >= 0, topToBottom = line.Height() >= 0;
  const int w = area.right - 1, h = area.bottom - 1;
  HPEN pen = CreatePen(PS_SOLID, 1, ToColorRef(line.ForeColor()));
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, leftToRight ? 0 : w, topToBottom ? 0 : h, nullptr);
  LineTo(dc, leftToRight ? w : 0, topToBottom ? h : 0);
  SetPixel(dc, leftToRight ? w : 0, topToBottom ? h : 0, ToColorRef(line.ForeColor()));  // LineTo stops short
  SelectObject(dc, old);
  DeleteObject(pen);
}

// ---------------------------------------------------------------------------------------------

FramePeer::FramePeer(forms::Frame& frame) : PaintedPeer(frame), frame_(frame) {
  CreatePainted();
}

int FramePeer::CaptionHeight() const {
  HDC dc = GetDC(Window());
  HGDIOBJ old = SelectObject(dc, Font());
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(Window(), dc);
  return metrics.tmHeight;
}

void FramePeer::Apply(forms::Prop prop) {
  PaintedPeer::Apply(prop);
  if (prop != Prop::Geometry && prop != Prop::Font) return;
  // The window keeps only its edge and caption: a control placed inside the frame, wherever it
  // lies in the order of windows, is never covered by it.
  const PixelBox box = Box();
  const int w = std::max(box.Width(), 0), h = std::max(box.Height(), 0);
  HRGN ring = CreateRectRgn(0, 0, w, h);
  HRGN inside = CreateRectRgn(2, CaptionHeight(), std::max(2, w - 2), std::max(CaptionHeight(), h - 2));
  CombineRgn(ring, ring, inside, RGN_DIFF);
  DeleteObject(inside);
  SetWindowRgn(Window(), ring, TRUE);  // the window owns the region from here on
}

void FramePeer::Paint(HDC dc, const RECT& area) {
  FillRect(dc, &area, BrushOf(container().background));
  HGDIOBJ old = SelectObject(dc, Font());
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  // The frame's top edge runs through the middle of the caption's line.
  RECT edge = area;
  edge.top = metrics.tmHeight / 2;
  DrawEdge(dc, &edge, EDGE_ETCHED, BF_RECT);
  const std::wstring caption = MultiLine(frame_.Caption());
  RECT text{area.left + metrics.tmAveCharWidth, 0, area.right, metrics.tmHeight};
  DrawTextW(dc, caption.c_str(), int(caption.size()), &text, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_CALCRECT);
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, ToColorRef(container().background));
  SetTextColor(dc, ToColorRef(frame_.ForeColor()));
  DrawTextW(dc, caption.c_str(), int(caption.size()), &text, DT_LEFT | DT_TOP | DT_SINGLELINE);
  SelectObject(dc, old);
}

}  // namespace sysvane::win
