#include "platform/windows/forms/win_gdi.h"

#include <algorithm>
#include <map>
#include <tuple>

#include "platform/windows/forms/win_units.h"
#include "platform/windows/wide_text.h"

namespace sysvane::win {

COLORREF ToColorRef(forms::Color color) {
  if (!color.system) return RGB(color.Red(), color.Green(), color.Blue());
  const COLORREF shade = GetSysColor(int(color.value));
  if (color.value != forms::SystemColor::WindowFrame) return shade;
  // A window frame is near black in every theme (grey in some): light captions stand on it
  // (the Monitor window). Its lightness is held at 40 of 255.
  const int r = GetRValue(shade), g = GetGValue(shade), b = GetBValue(shade);
  const int lightness = (std::max({r, g, b}) + std::min({r, g, b})) / 2;
  if (lightness <= 40) return shade;
  return RGB(r * 40 / lightness, g * 40 / lightness, b * 40 / lightness);
}

HBRUSH BrushOf(forms::Color color) {
  if (color.system && color.value != forms::SystemColor::WindowFrame)
    return GetSysColorBrush(int(color.value));
  static std::map<std::pair<uint32_t, bool>, HBRUSH> brushes;
  HBRUSH& brush = brushes[{color.value, color.system}];
  if (!brush) brush = CreateSolidBrush(ToColorRef(color));
  return brush;
}

namespace {

std::wstring DialogFace() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0) &&
      metrics.lfMessageFont.lfFaceName[0])
    return metrics.lfMessageFont.lfFaceName;
  return L"MS Shell Dlg 2";
}

int AlphabetWidth(const std::wstring& face, int pixels) {
  static const std::wstring kAlphabet = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  LOGFONTW probe{};
  probe.lfHeight = -pixels;
  probe.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(probe.lfFaceName, face.c_str(), LF_FACESIZE);
  HFONT font = CreateFontIndirectW(&probe);
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  SIZE alphabet{};
  GetTextExtentPoint32W(dc, kAlphabet.c_str(), int(kAlphabet.size()), &alphabet);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  DeleteObject(font);
  return int(alphabet.cx);
}

// The windows were laid out for MS Sans Serif, a narrow face: its letters average half an em. A
// wider dialog face (DejaVu Sans under Wine) is set in the largest whole pixel size at which its
// alphabet is no wider, so that captions fit the boxes they were laid out in; never below 75 %.
int DialogFontPixels(const std::wstring& face, double em) {
  int pixels = int(std::lround(em));
  while (pixels > 1 && pixels > 0.75 * em && AlphabetWidth(face, pixels) > 26 * em) --pixels;
  return pixels;
}

}  // namespace

HFONT FontOf(const forms::Font& font, int dpi) {
  using Key = std::tuple<std::string, double, bool, bool, bool, int>;
  static std::map<Key, HFONT> fonts;
  HFONT& made = fonts[Key{font.name, font.size, font.bold, font.italic, font.underline, dpi}];
  if (made) return made;
  static const std::wstring dialogFace = DialogFace();
  const bool dialog = font.name == "MS Sans Serif";
  const double points = font.size > 0 ? font.size : 8.25;
  LOGFONTW logical{};
  logical.lfHeight = dialog ? -DialogFontPixels(dialogFace, points * dpi / 72) : FontHeight(points, dpi);
  logical.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  logical.lfItalic = font.italic;
  logical.lfUnderline = font.underline;
  logical.lfCharSet = DEFAULT_CHARSET;
  logical.lfQuality = CLEARTYPE_QUALITY;
  const std::wstring face = dialog ? dialogFace : windows::Wide(font.name);
  // Where Times New Roman is missing (Wine without the core fonts), the font mapper takes the
  // nearest serif face rather than the default sans.
  if (font.name == "Times New Roman") logical.lfPitchAndFamily = VARIABLE_PITCH | FF_ROMAN;
  lstrcpynW(logical.lfFaceName, face.c_str(), LF_FACESIZE);
  made = CreateFontIndirectW(&logical);
  return made;
}

std::wstring MultiLine(const std::string& utf8) {
  std::wstring text = windows::Wide(utf8), result;
  result.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\r') {
      result += L'\n';
      if (i + 1 < text.size() && text[i + 1] == L'\n') ++i;
    } else {
      result += text[i];
    }
  }
  return result;
}

}  // namespace sysvane::win
