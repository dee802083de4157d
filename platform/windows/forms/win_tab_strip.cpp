#include "platform/windows/forms/win_tab_strip.h"

#include "platform/windows/forms/win_gdi.h"
#include "platform/windows/forms/win_window.h"
#include "platform/windows/wide_text.h"

namespace sysvane::win {

using forms::Prop;

namespace {

LRESULT CALLBACK PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (RouteFromChild(window, message, wParam, lParam, result)) return result;
  if (message == WM_ERASEBKGND) {
    // Inside, the pages have the button face of a dialog, as the controls on them expect.
    RECT area;
    GetClientRect(window, &area);
    FillRect(reinterpret_cast<HDC>(wParam), &area, GetSysColorBrush(COLOR_BTNFACE));
    return 1;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// The tab control tells its parent of no focus it takes (NM_SETFOCUS is not among its
// notifications): its own WM_SETFOCUS is the Options dialog's GotFocus of the strip.
LRESULT CALLBACK StripProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                           DWORD_PTR strip) {
  if (message == WM_SETFOCUS) {
    const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
    reinterpret_cast<forms::TabStrip*>(strip)->NotifyGotFocus();
    return result;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

TabStripPeer::TabStripPeer(forms::TabStrip& strip) : ControlPeer(strip), strip_(strip) {
  INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_TAB_CLASSES};
  InitCommonControlsEx(&classes);
  Create(WC_TABCONTROLW, WS_TABSTOP | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT);
  SetWindowSubclass(Window(), StripProc, 1, reinterpret_cast<DWORD_PTR>(&strip_));
  ApplyAll();
}

TabStripPeer::~TabStripPeer() {
  // The window goes a little later than its model: its focus must not reach the model then.
  RemoveWindowSubclass(Window(), StripProc, 1);
}

RECT TabStripPeer::DisplayArea() const {
  RECT area;
  GetClientRect(Window(), &area);
  TabCtrl_AdjustRect(Window(), FALSE, &area);
  return area;
}

Container TabStripPeer::Page(int index) {
  while (int(pages_.size()) <= index) {
    pages_.push_back(CreateWindowExW(WS_EX_CONTROLPARENT, WindowClass(L"SysvanePage", PageProc), L"",
                                     WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 0, 0, Window(),
                                     nullptr, GetModuleHandleW(nullptr), nullptr));
    Arrange();
  }
  const RECT area = DisplayArea();
  return {pages_[size_t(index)],
          {-area.left, -area.top},
          Dpi(),
          forms::Color::System(forms::SystemColor::ButtonFace)};
}

void TabStripPeer::Apply(Prop prop) {
  switch (prop) {
    case Prop::Tabs: {
      TabCtrl_DeleteAllItems(Window());
      int i = 0;
      for (const auto& caption : strip_.Tabs()) {
        std::wstring text = windows::Wide(caption);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text.data();
        SendMessageW(Window(), TCM_INSERTITEMW, WPARAM(i++), reinterpret_cast<LPARAM>(&item));
      }
      TabCtrl_SetCurSel(Window(), strip_.Tab());
      Arrange();
      break;
    }
    case Prop::SelectedTab:
      TabCtrl_SetCurSel(Window(), strip_.Tab());
      ShowSelectedPage();
      break;
    case Prop::Font:
    case Prop::Geometry:
      Arrange();
      break;
    default:
      break;
  }
}

void TabStripPeer::Arrange() {
  const RECT area = DisplayArea();
  for (HWND page : pages_)
    SetWindowPos(page, HWND_TOP, area.left, area.top, area.right - area.left, area.bottom - area.top,
                 SWP_NOACTIVATE);
  // The controls on the pages are placed from the strip's corner: they follow the display area.
  for (forms::Control* control : strip_.form().Controls()) {
    if (control->ContainerStrip() == &strip_ && control->peer()) control->peer()->Changed(Prop::Geometry);
  }
  ShowSelectedPage();
}

void TabStripPeer::ShowSelectedPage() {
  for (size_t i = 0; i < pages_.size(); ++i)
    ShowWindow(pages_[i], int(i) == strip_.Tab() ? SW_SHOWNA : SW_HIDE);
}

void TabStripPeer::Notify(const NMHDR& header) {
  if (header.code == TCN_SELCHANGE) {
    const int selected = TabCtrl_GetCurSel(Window());
    if (selected >= 0) strip_.NotifyTabSelected(selected);
  }
}

}  // namespace sysvane::win
