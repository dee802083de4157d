// The Win32 runtime against the real windowing system (Wine on a virtual X server): what the user
// does to a window through the system reaches the model once, and the model's twips are the
// window's pixels.
#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "platform/windows/forms/win_control_peer.h"
#include "platform/windows/forms/win_form.h"
#include "platform/windows/forms/win_gdi.h"
#include "platform/windows/forms/win_runtime.h"
#include "platform/windows/forms/win_tray.h"
#include "platform/windows/forms/win_window.h"
#include "shell/tray_figure.h"

#include <winternl.h>

namespace sysvane::win {
namespace {

struct Probe : forms::Form {
  explicit Probe(forms::Runtime& runtime) : Form(runtime, "Probe") {}
  forms::CheckBox box{*this, "box"};
  forms::CommandButton ok{*this, "ok"};
  forms::TabStrip tabs{*this, "tabs"};
  forms::CheckBox onPage{*this, "onPage"};
  std::string events, heard;  // heard: the tray's messages, as the pixel x the form hears them at
  forms::BorderStyle style = forms::BorderStyle::FixedDialog;
  void Design() override {
    SetBorderStyle(style);
    Move(1500, 1200, 0, 0);
    SetClientSize(4500, 3000);
    box.Move(120, 450, 1500, 255);
    ok.Move(3000, 2400, 1200, 375);
    ok.SetDefault(true);
    tabs.Move(120, 900, 4200, 1350);
    tabs.SetTabs({"One", "Two"});
    onPage.SetContainer(&tabs, 1);
    onPage.Move(120, 600, 1500, 255);
    box.Click = [this] { events += "box "; };
    ok.Click = [this] { events += "ok ", Hide(); };
    tabs.TabClick = [this](int previous) { events += "tab" + std::to_string(previous) + " "; };
    tabs.GotFocus = [this] { events += "tabfocus "; };
  }
  void Form_MouseMove(int, int, forms::Twips x, forms::Twips) override {
    heard += std::to_string(int(x) / 15) + " ";
  }
};

HWND WindowOf(forms::Control& c) {
  return static_cast<ControlPeer*>(c.peer())->Window();
}
HWND WindowOf(forms::Form& f) {
  return static_cast<FormPeer*>(f.peer())->Handle();
}
LRESULT Send(HWND window, UINT message, WPARAM w = 0, LPARAM l = 0) {
  return SendMessageW(window, message, w, l);
}
// The run's DPI (the Wine suite runs at 96 and at 144): 15 or 10 twips to the pixel.
int TwipsPerPixel() {
  return 1440 / int(GetDpiForSystem());
}

TEST(WinRuntimeTest, WhatTheUserDoesReachesTheModelOnce) {
  WinRuntime runtime{[] { return false; }};
  // What the user does, on the shown window; the events the model hears; what holds then.
  const std::tuple<const char*, std::function<void(Probe&)>, const char*, std::function<bool(Probe&)>>
      rows[] = {
          {"a click on the check box toggles it", [](Probe& p) { Send(WindowOf(p.box), BM_CLICK); }, "box ",
           [](Probe& p) { return p.box.Value() == 1 && Send(WindowOf(p.box), BM_GETCHECK) == BST_CHECKED; }},
          {"Enter presses the default button and ends the modal loop, the form loaded",
           [](Probe& p) {
             PostMessageW(WindowOf(p.box), WM_KEYDOWN, VK_RETURN, 0), p.Show(forms::Modality::Modal);
           },
           "ok ", [](Probe& p) { return p.Loaded(); }},
          {"another tab shows its page",
           [](Probe& p) {
             TabCtrl_SetCurSel(WindowOf(p.tabs), 1);
             NMHDR header{WindowOf(p.tabs), 0, UINT(TCN_SELCHANGE)};
             Send(GetParent(header.hwndFrom), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
           },
           "tab0 ", [](Probe& p) { return p.tabs.Tab() == 1 && IsWindowVisible(WindowOf(p.onPage)); }},
          {"the tab strip takes the focus", [](Probe& p) { SetFocus(WindowOf(p.tabs)); }, "tabfocus ",
           [](Probe& p) { return GetFocus() == WindowOf(p.tabs); }},
          {"the system moves the window",
           [](Probe& p) { SetWindowPos(WindowOf(p), nullptr, 170, 130, 0, 0, SWP_NOSIZE | SWP_NOZORDER); },
           "",
           [](Probe& p) { return p.Left() == 170 * TwipsPerPixel() && p.Top() == 130 * TwipsPerPixel(); }},
          {"a move to a monitor of twice the DPI: the fonts and the frame follow at that DPI",
           [](Probe& p) {
             RECT suggested;
             GetWindowRect(WindowOf(p), &suggested);
             Send(WindowOf(p), WM_DPICHANGED, MAKEWPARAM(2 * GetDpiForSystem(), 2 * GetDpiForSystem()),
                  LPARAM(&suggested));
           },
           "",
           [](Probe& p) {
             RECT outer;
             GetWindowRect(WindowOf(p), &outer);
             return HFONT(Send(WindowOf(p.box), WM_GETFONT)) ==
                        FontOf(p.box.font(), 2 * int(GetDpiForSystem())) &&
                    p.Height() == (outer.bottom - outer.top) * 720.0 / GetDpiForSystem();
           }},
      };
  const forms::BorderStyle styles[] = {forms::BorderStyle::FixedDialog, forms::BorderStyle::FixedSingle,
                                       forms::BorderStyle::Sizable};
  for (size_t i = 0; i < std::size(rows); ++i) {
    const auto& [what, act, events, holds] = rows[i];
    SCOPED_TRACE(what);
    Probe probe(runtime);
    probe.style = styles[i % 3];
    probe.Show();
    // The model's twips are the window's pixels at the run's DPI, and the model holds the frame the
    // system put around the window in each border style: its outer size is the window's.
    RECT outer, client, box;
    GetWindowRect(WindowOf(probe), &outer);
    GetClientRect(WindowOf(probe), &client);
    GetWindowRect(WindowOf(probe.box), &box);
    MapWindowPoints(nullptr, WindowOf(probe), LPPOINT(&box), 2);
    const double t = TwipsPerPixel();  // client height, left, the box's top, outer width and height
    EXPECT_EQ((std::vector<double>{client.bottom * t, outer.left * t, box.top * t,
                                   (outer.right - outer.left) * t, (outer.bottom - outer.top) * t}),
              (std::vector<double>{3000, 1500, 450, probe.Width(), probe.Height()}));
    act(probe);
    EXPECT_EQ(probe.events, events);
    EXPECT_TRUE(holds(probe));
    probe.Unload();
  }
}

// Runs the messages of this thread until `done` holds, five seconds at most.
bool PumpUntil(const std::function<bool()>& done) {
  for (const DWORD start = GetTickCount(); !done() && GetTickCount() - start < 5000; Sleep(10)) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }
  return done();
}

// The GDI objects of this process. Wine keeps no count (GetGuiResources answers 0): there, the used
// entries of the process's own GDI handle table, which the process block points to as on Windows
// (16,384 entries of 24 bytes, each with its object's type at byte 14, 0 when free).
size_t GdiObjects() {
  if (const DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return count;
  PROCESS_BASIC_INFORMATION process{};
  NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &process, sizeof process, nullptr);
  const auto* table =
      *reinterpret_cast<const char* const*>(reinterpret_cast<const char*>(process.PebBaseAddress) + 0xF8);
  size_t used = 0;
  for (size_t entry = 0; entry < 16384; ++entry)
    used += *reinterpret_cast<const USHORT*>(table + 24 * entry + 14) != 0;
  return used;
}

TEST(WinRuntimeTest, TheIconReachesAShellThatWasNotReadyClicksWaitForAModalBoxAndIconsAreNotLeft) {
  WinRuntime runtime{[] { return false; }};
  Probe owner(runtime);
  owner.Load();
  int refusals = 2, adds = 0;
  bool modal = false;
  Tray tray([] { return 15.0; }, [&modal] { return modal; },
            [&](DWORD message, NOTIFYICONDATAW&) {
              adds += message == NIM_ADD;
              return message == NIM_DELETE || refusals-- <= 0;  // the shell at sign-in: not there yet
            });
  forms::NOTIFYICONDATA data;
  data.hWnd = &owner;
  data.uID = 1;
  EXPECT_FALSE(tray.Notify(NIM_ADD, data) || tray.Added());
  EXPECT_TRUE(PumpUntil([&] { return tray.Added(); }));
  Send(RuntimeWindow(), RegisterWindowMessageW(L"TaskbarCreated"));  // the shell restarted
  EXPECT_EQ(adds, 3);

  modal = true;  // the Exit question is up: a right click and a move
  Send(RuntimeWindow(), kTrayMessage, 1, WM_RBUTTONUP);
  Send(RuntimeWindow(), kTrayMessage, 1, WM_MOUSEMOVE);
  EXPECT_EQ(owner.heard, "512 ");
  modal = false;
  tray.ModalEnded();
  EXPECT_TRUE(PumpUntil([&] { return owner.heard == "512 517 "; }));

  // A live icon redrawn 10,000 times: each new icon replaces the last in the shell and the last is
  // destroyed, so that the process holds no more GDI or USER objects than after the first (under
  // Wine, which counts no USER objects, an icon left behind still holds its GDI bitmaps).
  size_t gdi = 0, user = 0;
  for (int cpu = 0; cpu <= 10'000; ++cpu) {
    data.liveIcon =
        std::make_shared<TrayFigureIcon>(TrayFigure{Settings::TrayIconShows::CpuDigits, cpu % 100});
    ASSERT_TRUE(tray.Notify(forms::NIM_MODIFY, data));
    if (cpu == 0) {
      gdi = GdiObjects();
      user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    }
  }
  EXPECT_LE(GdiObjects(), gdi);
  EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), user);
  owner.Unload();
}

}  // namespace
}  // namespace sysvane::win
