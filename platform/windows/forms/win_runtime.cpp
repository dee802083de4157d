#include "platform/windows/forms/win_runtime.h"

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

#include "platform/windows/forms/win_control_peer.h"
#include "platform/windows/forms/win_form.h"
#include "platform/windows/forms/win_gdi.h"
#include "platform/windows/forms/win_message_loop.h"
#include "platform/windows/forms/win_screen.h"
#include "platform/windows/forms/win_timer.h"
#include "platform/windows/forms/win_tray.h"
#include "platform/windows/forms/win_units.h"
#include "platform/windows/forms/win_window.h"
#include "platform/windows/wide_text.h"

namespace sysvane::win {

namespace {

std::vector<std::wstring> Lines(const std::string& text) {
  std::vector<std::wstring> lines(1);
  for (wchar_t c : MultiLine(text)) {
    if (c == L'\n')
      lines.emplace_back();
    else
      lines.back() += c;
  }
  return lines;
}

std::string LocaleText(LCTYPE what, const char* fallback) {
  wchar_t text[16] = {};
  return GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, what, text, 16) > 0 ? windows::Narrow(text) : fallback;
}

// The windows of the program that take input, but `except`.
std::vector<HWND> OtherEnabledWindows(HWND except) {
  struct Search {
    HWND except;
    std::vector<HWND> found;
  } search{except, {}};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM context) {
        auto& s = *reinterpret_cast<Search*>(context);
        if (window != s.except && FormPeer::Of(window) && IsWindowEnabled(window)) s.found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::function<void()> closeRequest;

bool OnCloseMessage(UINT message, WPARAM wParam, LPARAM) {
  const bool asked = message == WM_CLOSE || (message == WM_ENDSESSION && wParam);
  if (!asked) return false;
  if (closeRequest) closeRequest();
  return true;
}

}  // namespace

WinRuntime::WinRuntime(std::function<bool()> prevInstance) : prevInstance_(std::move(prevInstance)) {
  BecomeDpiAware();
  INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&classes);
  tray_ =
      std::make_unique<Tray>([this] { return Screen().TwipsPerPixelX; }, [this] { return modalDepth_ > 0; });
}

WinRuntime::~WinRuntime() = default;

std::unique_ptr<forms::Peer> WinRuntime::CreateFormPeer(forms::Form& form) {
  return std::make_unique<FormPeer>(form);
}

std::unique_ptr<forms::Peer> WinRuntime::CreateControlPeer(forms::Control& control) {
  return MakeControlPeer(control);
}

std::unique_ptr<forms::Peer> WinRuntime::CreateTimerPeer(forms::Timer& timer) {
  return std::make_unique<TimerPeer>(timer);
}

void WinRuntime::RunModal(forms::Form& form) {
  if (ended_) return;
  auto* peer = dynamic_cast<FormPeer*>(form.peer());
  if (!peer) return;
  // While a window runs modally, the program's other windows take no input; menus, message boxes
  // and the tray icon go on working. Modal windows nest: the innermost one has the input.
  const std::vector<HWND> disabled = OtherEnabledWindows(peer->Handle());
  for (HWND window : disabled) EnableWindow(window, FALSE);
  EnterModal();
  RunMessages([&form] { return !form.Loaded() || !form.Visible(); });
  LeaveModal();
  for (HWND window : disabled) {
    if (IsWindow(window)) EnableWindow(window, TRUE);
  }
}

void WinRuntime::EnterModal() {
  ++modalDepth_;
}

void WinRuntime::LeaveModal() {
  if (--modalDepth_ == 0) tray_->ModalEnded();
}

void WinRuntime::PauseWithoutMessages(int milliseconds) {
  // sleep_until on the steady clock: no spinning, and no jump of the wall clock shortens or
  // lengthens the wait.
  std::this_thread::sleep_until(std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds));
}

forms::ScreenInfo WinRuntime::Screen() {
  RECT place;
  const Monitor monitor = TrayMonitor(tray_ && tray_->Place(place) ? &place : nullptr);
  forms::ScreenInfo info;
  const forms::TwipsRect area = ToTwips(Desktop(), monitor.area);
  info.Left = area.Left;
  info.Top = area.Top;
  info.Width = area.Width;
  info.Height = area.Height;
  info.TwipsPerPixelX = info.TwipsPerPixelY = PixelsToTwips(1, monitor.dpi);
  return info;
}

forms::TwipsRect WinRuntime::WorkArea() {
  RECT place;
  const Monitor monitor = TrayMonitor(tray_ && tray_->Place(place) ? &place : nullptr);
  return ToTwips(Desktop(), monitor.work);
}

// The shell has taken the icon. At sign-in it may not be ready yet: until it is, the program lives
// as it does without a tray, and the icon is offered again every second.
bool WinRuntime::SystemTrayAvailable() {
  return tray_->Added();
}

// The icon's place as the shell tells it; the roll-up takes the tray's edge from it.
std::optional<forms::TwipsRect> WinRuntime::TrayIconPlace() {
  RECT place;
  if (!tray_ || !tray_->Place(place)) return std::nullopt;
  return ToTwips(Desktop(), place);
}

std::vector<forms::TwipsRect> WinRuntime::WorkAreas() {
  const DesktopScale desktop = Desktop();
  std::vector<forms::TwipsRect> areas;
  for (const Monitor& monitor : Monitors()) areas.push_back(ToTwips(desktop, monitor.work));
  return areas;
}

forms::Twips WinRuntime::TextWidth(const forms::Font& font, const std::string& text) {
  const int dpi = TrayMonitor(nullptr).dpi;
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, FontOf(font, dpi));
  int widest = 0;
  for (const std::wstring& line : Lines(text)) {
    SIZE size{};
    GetTextExtentPoint32W(dc, line.c_str(), int(line.size()), &size);
    widest = std::max(widest, int(size.cx));
  }
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return PixelsToTwips(widest, dpi);
}

forms::Twips WinRuntime::TextHeight(const forms::Font& font, const std::string& text) {
  const int dpi = TrayMonitor(nullptr).dpi;
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, FontOf(font, dpi));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return PixelsToTwips(double(metrics.tmHeight + metrics.tmExternalLeading) * double(Lines(text).size()),
                       dpi);
}

bool WinRuntime::ShellNotifyIcon(int message, const forms::NOTIFYICONDATA& data) {
  return tray_->Notify(message, data);
}

void WinRuntime::PopupMenu(forms::Form& owner, forms::MenuList& list) {
  HMENU menu = CreatePopupMenu();
  std::vector<forms::MenuItem*> commands;
  for (forms::MenuItem* item : list.items) {
    if (!item || !item->Visible()) continue;
    if (item->IsSeparator()) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    commands.push_back(item);
    AppendMenuW(menu, MF_STRING | (item->Checked() ? MF_CHECKED : 0) | (item->Enabled() ? 0 : MF_GRAYED),
                commands.size(), windows::Wide(item->Caption()).c_str());
  }
  auto* peer = dynamic_cast<FormPeer*>(owner.peer());
  const HWND window = peer ? peer->Handle() : RuntimeWindow();
  POINT at;
  GetCursorPos(&at);
  // The menu closes when the user clicks elsewhere only if its window is in the foreground.
  ::SetForegroundWindow(window);
  const UINT chosen = UINT(
      TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, window, nullptr));
  PostMessageW(window, WM_NULL, 0, 0);
  DestroyMenu(menu);
  // The command runs once the menu has gone.
  if (chosen > 0 && chosen <= commands.size()) commands[chosen - 1]->NotifyClick();
}

void WinRuntime::SetForegroundWindow(forms::Form& form) {
  auto* peer = dynamic_cast<FormPeer*>(form.peer());
  if (peer && IsWindowVisible(peer->Handle())) ::SetForegroundWindow(peer->Handle());
}

int WinRuntime::MsgBox(const std::string& prompt, int style, const std::string& title) {
  // The style word and the answers are the message box's own numbers.
  EnterModal();
  const int answer = MessageBoxW(nullptr, MultiLine(prompt).c_str(), windows::Wide(title).c_str(),
                                 UINT(style) | MB_TASKMODAL | MB_SETFOREGROUND);
  LeaveModal();
  return answer;
}

LocaleInfo WinRuntime::Locale() {
  return LocaleInfo{LocaleText(LOCALE_STHOUSAND, ","), LocaleText(LOCALE_SDECIMAL, ".")};
}

bool WinRuntime::PrevInstance() {
  return prevInstance_ && prevInstance_();
}

void WinRuntime::End() {
  ended_ = true;
  // Leaves every running loop once the current handler has returned.
  PostQuitMessage(0);
}

void WinRuntime::OnCloseRequest(std::function<void()> close) {
  closeRequest = std::move(close);
  static const bool added = (AddRuntimeHandler(OnCloseMessage), true);
  (void)added;
}

int WinRuntime::Run() {
  if (ended_) return 0;
  RunMessages([] { return false; });
  return 0;
}

}  // namespace sysvane::win
