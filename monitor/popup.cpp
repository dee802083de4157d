#include "monitor/popup.h"

#include "monitor/window_placement.h"
#include "shell/program.h"
#include "stats/format.h"

namespace sysvane {

namespace {
constexpr forms::Color kYellow = forms::Color::Rgb(255, 255, 192);
constexpr forms::Color kBlue = forms::Color::Rgb(0, 0, 255);
}  // namespace

Popup::Popup(Program& program) : forms::Form(program.runtime(), "Popup"), program_(program) {}

Popup::~Popup() = default;

void Popup::Design() {
  SetCaption("");
  SetControlBox(false);
  SetBorderStyle(forms::BorderStyle::FixedSingle);
  SetClientSize(1950, 300);
  SetBackColor(kYellow);
  SetShowInTaskbar(false);
  SetOnTop(true);

  Stat.Reset();
  forms::Label& first = Stat[0];
  first.Move(45, 45, 1860, 195);
  first.SetBackColor(kYellow);
  first.SetForeColor(kBlue);
  first.SetCaption("");
  first.SetVisible(true);

  StatTimer.SetInterval(900);
  RollupTimer.SetInterval(15);
  RolldownTimer.SetInterval(15);
  UnloadTimer.SetInterval(5000);
  for (forms::Timer* timer : {&StatTimer, &RollupTimer, &RolldownTimer, &UnloadTimer})
    timer->SetEnabled(false);
  StatTimer.Tick = [this] { StatTimer_Timer(); };
  RollupTimer.Tick = [this] { RollupTimer_Timer(); };
  RolldownTimer.Tick = [this] { RolldownTimer_Timer(); };
  UnloadTimer.Tick = [this] { UnloadTimer_Timer(); };

  StatKeys.clear();
  StatCount = 0;
  FullHeight = 0;
  NothingToShow = false;
  rollupStarted_ = false;
}

void Popup::Form_Load() {
  SystemInfoModule& info = program_.info;
  // The Monitor window opened by a double-click is showing these figures already.
  if (info.MonitorOpenedFromTray) {
    Unload();
    return;
  }
  PrepareStatLines();
  if (NothingToShow) {
    Unload();
    return;
  }
  PlaceAboveTray();
  info.PopupShowing = true;
  CPUMeter = CreateCPUSampler(info, program_.platform.registry);
  StatTimer_Timer();  // every line has its text before the window first shows
}

// The strip shows beside the tray's panel, wherever that panel is, and unrolls away from it.
void Popup::PlaceAboveTray() {
  const forms::ScreenInfo screen = runtime().Screen();
  const forms::TwipsRect screenRect{screen.Left, screen.Top, screen.Width, screen.Height};
  const forms::TwipsRect area = runtime().WorkArea();
  const std::optional<forms::TwipsRect> icon = runtime().TrayIconPlace();
  const RollupStart start = PlaceRollup(TrayEdgeOf(icon, screenRect, area), icon, screenRect, area, Width(),
                                        FullHeight, kStripHeight);
  growsDown_ = start.growsDown;
  Move(start.Left, start.Top, Width(), kStripHeight);
}

// Only the first activation rolls the panel up; another one while it is open or rolling down
// would set the two animations against each other.
void Popup::Form_Activate() {
  if (rollupStarted_) return;
  rollupStarted_ = true;
  RollupTimer.SetEnabled(true);
}

void Popup::RollupTimer_Timer() {
  if (Height() < FullHeight) {
    // The edge at the panel stays put.
    Move(Left(), growsDown_ ? Top() : Top() - kStep, Width(), Height() + kStep);
  } else {
    RollupTimer.SetEnabled(false);
    UnloadTimer.SetEnabled(true);
  }
}

void Popup::UnloadTimer_Timer() {
  UnloadTimer.SetEnabled(false);
  RolldownTimer.SetEnabled(true);
}

void Popup::RolldownTimer_Timer() {
  if (Height() > kStripHeight) {
    Move(Left(), growsDown_ ? Top() : Top() + kStep, Width(), Height() - kStep);
  } else {
    RolldownTimer.SetEnabled(false);
    Unload();
  }
}

void Popup::StatTimer_Timer() {
  StatTimer.SetEnabled(true);
  RefreshStatLines();
}

void Popup::Form_Unload() {
  if (CPUMeter) {
    CPUMeter->Terminate();
    CPUMeter.reset();
  }
  program_.info.PopupShowing = false;
}

}  // namespace sysvane
