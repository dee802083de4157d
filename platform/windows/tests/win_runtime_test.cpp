// The Win32 runtime against the real windowing system (Wine on a virtual X server): what the user
// does to a window through the system reaches the model once, and the model's twips are the
// window's pixels.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/windows/forms/win_control_peer.h"
#include "platform/windows/forms/win_form.h"
#include "platform/windows/forms/win_gdi.h"
#include "platform/windows/forms/win_runtime.h"
#include "platform/windows/forms/win_tray.h"
#include "platform/windows/forms/win_window.h"

namespace sysvane::win {
namespace {

class Probe : public forms::Form {
 public:
  explicit Probe(forms::Runtime& runtime) : Form(runtime, "Probe") {}
  forms::Label label{*this, "label"};
  forms::CheckBox box{*this, "box"};
  forms::CommandButton ok{*this, "ok"}, cancel{*this, "cancel"};
  forms::TabStrip tabs{*this, "tabs"};
  forms::CheckBox onPage{*this, "onPage"};
  forms::Timer timer{*this, "timer"}, giveUp{*this, "giveUp"};
  std::string events;
  forms::BorderStyle style = forms::BorderStyle::FixedDialog;

 protected:
  void Design() override {
    SetCaption(" Probe");
    SetBorderStyle(style);
    Move(1500, 1200, 0, 0);
    SetClientSize(4500, 3000);
    label.Move(120, 90, 1500, 255);
    box.Move(120, 450, 1500, 255);
    ok.Move(3000, 2400, 1200, 375);
    ok.SetDefault(true);
    cancel.Move(1650, 2400, 1200, 375);
    cancel.SetCancel(true);
    tabs.Move(120, 900, 4200, 1350);
    tabs.SetTabs({"One", "Two"});
    onPage.SetContainer(&tabs, 1);
    onPage.Move(120, 600, 1500, 255);
    box.Click = [this] { events += "box "; };
    label.Click = [this] { events += "label "; };
    ok.Click = [this] { events += "ok ", Hide(); };
    cancel.Click = [this] { events += "cancel ", Hide(); };
    tabs.TabClick = [this](int previous) { events += "tab" + std::to_string(previous) + " "; };
    tabs.GotFocus = [this] { events += "tabfocus "; };
    timer.Tick = [this] { events += "tick ", timer.SetEnabled(false), Hide(); };
    giveUp.Tick = [this] { events += "gave-up ", Hide(); };  // a modal loop that never ends fails
    giveUp.SetInterval(3000);
    giveUp.SetEnabled(true);
  }
};

HWND WindowOf(forms::Control& c) {
  return static_cast<ControlPeer*>(c.peer())->Window();
}
HWND WindowOf(forms::Form& f) {
  return static_cast<FormPeer*>(f.peer())->Handle();
}
// The run's DPI (the Wine suite runs at 96 and at 144): 15 or 10 twips to the pixel.
int TwipsPerPixel() {
  return 1440 / int(GetDpiForSystem());
}
RECT ScreenRect(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  return r;
}

// The model holds the frame the system put around the window: its outer size is the window's.
void ExpectTheSystemsFrame(Probe& probe) {
  const RECT outer = ScreenRect(WindowOf(probe));
  POINT corner{0, 0};
  ClientToScreen(WindowOf(probe), &corner);
  EXPECT_EQ(probe.Frame().left, (corner.x - outer.left) * TwipsPerPixel());
  EXPECT_EQ(probe.Frame().top, (corner.y - outer.top) * TwipsPerPixel());
  EXPECT_EQ(probe.Width(), (outer.right - outer.left) * TwipsPerPixel());
  EXPECT_EQ(probe.Height(), (outer.bottom - outer.top) * TwipsPerPixel());
}

TEST(WinRuntime, TheModelHoldsTheFrameOfEveryBorderStyle) {
  WinRuntime runtime([] { return false; });
  for (forms::BorderStyle style : {forms::BorderStyle::FixedSingle, forms::BorderStyle::Sizable}) {
    Probe probe(runtime);
    probe.style = style;
    probe.Show();
    ExpectTheSystemsFrame(probe);
    probe.Unload();
  }
}

TEST(WinRuntime, WhatTheUserDoesReachesTheModelOnce) {
  struct Row {
    const char* what;
    std::function<void(Probe&)> act;  // runs on the shown window; a modal show follows when `modal`
    bool modal;
    const char* events;
    std::function<bool(Probe&)> holds;
  };
  const Row rows[] = {
      {"a click on the check box toggles it", [](Probe& p) { SendMessageW(WindowOf(p.box), BM_CLICK, 0, 0); },
       false, "box ",
       [](Probe& p) {
         return p.box.Value() == 1 && SendMessageW(WindowOf(p.box), BM_GETCHECK, 0, 0) == BST_CHECKED;
       }},
      {"a click on a label",
       [](Probe& p) { SendMessageW(WindowOf(p.label), WM_LBUTTONUP, 0, MAKELPARAM(2, 2)); }, false, "label ",
       [](Probe&) { return true; }},
      {"Enter presses the default button and ends the modal loop",
       [](Probe& p) { PostMessageW(WindowOf(p.box), WM_KEYDOWN, VK_RETURN, 0); }, true, "ok ",
       [](Probe& p) { return p.Loaded() && !p.Visible(); }},
      {"Escape presses the cancel button",
       [](Probe& p) { PostMessageW(WindowOf(p.box), WM_KEYDOWN, VK_ESCAPE, 0); }, true, "cancel ",
       [](Probe& p) { return !p.Visible(); }},
      {"a timer ticks inside a modal loop",
       [](Probe& p) {
         p.timer.SetInterval(50);
         p.timer.SetEnabled(true);
       },
       true, "tick ", [](Probe&) { return true; }},
      {"another tab shows its page",
       [](Probe& p) {
         TabCtrl_SetCurSel(WindowOf(p.tabs), 1);
         NMHDR header{WindowOf(p.tabs), 0, UINT(TCN_SELCHANGE)};
         SendMessageW(GetParent(header.hwndFrom), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
       },
       false, "tab0 ", [](Probe& p) { return p.tabs.Tab() == 1 && IsWindowVisible(WindowOf(p.onPage)); }},
      {"the tab strip takes the focus", [](Probe& p) { SetFocus(WindowOf(p.tabs)); }, false, "tabfocus ",
       [](Probe& p) { return GetFocus() == WindowOf(p.tabs); }},
      {"the system moves the window",
       [](Probe& p) {
         const RECT r = ScreenRect(WindowOf(p));
         SetWindowPos(WindowOf(p), nullptr, r.left + 20, r.top + 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
       },
       false, "",
       [](Probe& p) {
         return p.Left() == 1500 + 20 * TwipsPerPixel() && p.Top() == 1200 + 10 * TwipsPerPixel();
       }},
      {"a move to a monitor of twice the DPI: the fonts follow at that DPI",
       [](Probe& p) {
         const RECT suggested = ScreenRect(WindowOf(p));
         const UINT dpi = 2 * GetDpiForSystem();
         SendMessageW(WindowOf(p), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
       },
       false, "",
       [](Probe& p) {
         const auto font = reinterpret_cast<HFONT>(SendMessageW(WindowOf(p.box), WM_GETFONT, 0, 0));
         return font == FontOf(p.box.font(), 2 * int(GetDpiForSystem()));
       }},
      {"the close command unloads", [](Probe& p) { SendMessageW(WindowOf(p), WM_CLOSE, 0, 0); }, false, "",
       [](Probe& p) { return !p.Loaded(); }},
  };
  WinRuntime runtime([] { return false; });
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    Probe probe(runtime);
    probe.Show();
    // The model's twips are the window's pixels at the run's DPI: client area, place and controls.
    RECT client;
    GetClientRect(WindowOf(probe), &client);
    EXPECT_EQ(client.right, 4500 / TwipsPerPixel());
    EXPECT_EQ(client.bottom, 3000 / TwipsPerPixel());
    EXPECT_EQ(ScreenRect(WindowOf(probe)).left, 1500 / TwipsPerPixel());
    POINT corner{0, 0};
    ClientToScreen(WindowOf(probe), &corner);
    ExpectTheSystemsFrame(probe);
    EXPECT_EQ(ScreenRect(WindowOf(probe.box)).left - corner.x, 120 / TwipsPerPixel());
    EXPECT_EQ(ScreenRect(WindowOf(probe.box)).top - corner.y, 450 / TwipsPerPixel());
    row.act(probe);
    if (row.modal) probe.Show(forms::Modality::Modal);
    EXPECT_EQ(probe.events, row.events);
    EXPECT_TRUE(row.holds(probe));
    probe.Unload();
  }
}

// Runs the messages of this thread until `done` holds, five seconds at most.
bool PumpUntil(const std::function<bool()>& done) {
  const DWORD start = GetTickCount();
  while (!done() && GetTickCount() - start < 5000) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    Sleep(10);
  }
  return done();
}

class TrayOwner : public forms::Form {
 public:
  explicit TrayOwner(forms::Runtime& runtime) : Form(runtime, "TrayOwner") {}
  std::string heard;

 protected:
  void Form_MouseMove(int, int, forms::Twips x, forms::Twips) override {
    heard += std::to_string(int(x) / 15) + " ";
  }
};

TEST(WinRuntime, TheIconReachesAShellThatWasNotReadyAndClicksWaitForAModalBox) {
  WinRuntime runtime([] { return false; });
  TrayOwner owner(runtime);
  owner.Load();
  int refusals = 2, adds = 0;
  bool modal = false;
  Tray tray([] { return 15.0; }, [&modal] { return modal; },
            [&](DWORD message, NOTIFYICONDATAW&) {
              if (message == NIM_DELETE) return true;
              adds += message == NIM_ADD;
              return refusals-- <= 0;  // the shell at sign-in: not there yet for the first tries
            });
  forms::NOTIFYICONDATA data;
  data.hWnd = &owner;
  data.uID = 1;
  EXPECT_FALSE(tray.Notify(NIM_ADD, data));
  EXPECT_FALSE(tray.Added());
  EXPECT_TRUE(PumpUntil([&] { return tray.Added(); }));

  SendMessageW(RuntimeWindow(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);  // the shell restarted
  EXPECT_TRUE(tray.Added());
  EXPECT_EQ(adds, 3);

  modal = true;  // the Exit question is up: a right click and a move
  SendMessageW(RuntimeWindow(), kTrayMessage, 1, WM_RBUTTONUP);
  SendMessageW(RuntimeWindow(), kTrayMessage, 1, WM_MOUSEMOVE);
  EXPECT_EQ(owner.heard, "512 ");
  modal = false;
  tray.ModalEnded();
  EXPECT_TRUE(PumpUntil([&] { return owner.heard == "512 517 "; }));
  owner.Unload();
}

}  // namespace
}  // namespace sysvane::win
