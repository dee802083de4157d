#include "monitor/display.h"

#include <algorithm>

#include "monitor/window_placement.h"
#include "shell/menu.h"
#include "shell/program.h"
#include "stats/format.h"

namespace sysvane {

namespace {

using forms::Color;
namespace SystemColor = forms::SystemColor;

constexpr Color kBarGreen = Color::Rgb(0, 192, 0);
constexpr Color kBarRed = Color::Rgb(255, 0, 0);

struct FixedSlot {
  const char* key;
  const char* caption;
  bool resources;  // a free-resources statistic: the Windows 95 family only
};
constexpr FixedSlot kFixedSlots[8] = {
    {"ShowCPU", "CPU usage:", false},
    {"ShowPhysMem", "Physical memory usage:", false},
    {"ShowVirtMem", "Virtual memory usage:", false},
    {"ShowSysRsrc", "System resources:", true},
    {"ShowGDIRsrc", "GDI resources:", true},
    {"ShowUserRsrc", "User resources:", true},
    {"ShowBattery", "Battery status:", false},
    {"ShowCdrive", "C: drive disk usage:", false},
};

std::string DriveCaption(const std::string& root) {
  return DriveLetter(root) + ": drive disk usage:";
}

}  // namespace

Display::Display(Program& program) : forms::Form(program.runtime(), "Display"), program_(program) {}

Display::~Display() = default;

void Display::Design() {
  SetCaption(" Sysvane");
  SetBorderStyle(forms::BorderStyle::FixedSingle);
  SetControlBox(true);
  SetClientSize(4020, 1200);
  SetBackColor(Color::System(SystemColor::WindowFrame));

  // A second load starts again from the single design-time row.
  StatText.Reset();
  forms::Label& text = StatText[0];
  text.Move(120, 135, 1935, 240);
  text.SetAlignment(forms::Alignment::Left);
  text.SetBackColor(Color::System(SystemColor::WindowFrame));
  text.SetForeColor(Color::System(SystemColor::HighlightText));
  text.SetCaption("");
  text.SetToolTipText("");
  text.SetVisible(true);

  StatBar.Reset();
  forms::ProgressBar& bar = StatBar[0];
  bar.Move(2070, 120, 1815, 255);
  bar.SetBarColors(kBarGreen, kBarRed);
  bar.SetForeColor(Color::System(SystemColor::MenuText));
  bar.SetFont(forms::Font{"MS Sans Serif", 8.25});
  bar.SetTextAfterCaption("%");
  bar.SetValue(0);
  bar.SetVisible(true);

  Timer1.SetInterval(900);
  Timer1.SetEnabled(true);
  Timer2.SetInterval(1000);
  Timer2.SetEnabled(false);
  Timer3.SetInterval(10000);
  Timer3.SetEnabled(true);
  Timer1.Tick = [this] { Timer1_Timer(); };
  Timer2.Tick = [this] { Timer2_Timer(); };
  Timer3.Tick = [this] { Timer3_Timer(); };

  StatText.MouseMove = [this](int i, int b, int s, forms::Twips x, forms::Twips y) {
    StatText_MouseMove(i, b, s, x, y);
  };
  StatBar.MouseMove = [this](int i, int b, int s, forms::Twips x, forms::Twips y) {
    StatBar_MouseMove(i, b, s, x, y);
  };
}

void Display::Form_Load() {
  Menu& menu = program_.menu();
  SystemInfoModule& info = program_.info;
  menu.mnuDisplay.SetChecked(true);
  menu.FollowMonitorWindow();

  CPUMeter = CreateCPUSampler(info, program_.platform.registry);

  info.ListFixedDrives();
  const size_t listed = std::min<size_t>(info.FixedDrives.size(), std::max<int>(0, info.FixedDriveCount));
  DrivesShown.assign(info.FixedDrives.begin(), info.FixedDrives.begin() + listed);
  DrivesShownCount = int(DrivesShown.size());

  LastRow = 0;
  LastFixedRow = kNoRow;
  StatSlotCount = 8;
  StatRow.assign(9, kNoRow);
  DriveCountShown = 0;

  if (program_.settings.IsDefined()) {
    BuildRows();
  } else {
    BuildFirstRunRows();
  }
  LastRow = LastRow - 1;  // from the number of rows made to the index of the last one

  // The position first, with the design height, so that an unload right away saves a sane one.
  SetLeft(program_.settings.ReadNumber("MainLeft").value_or(0));
  SetTop(program_.settings.ReadNumber("MainTop").value_or(DefaultTop()));

  if (LastRow < 0) {
    menu.mnuDisplay.SetEnabled(false);
    Unload();
    return;
  }
  menu.mnuDisplay.SetEnabled(true);
  FitHeightToRows();
  UpdateStatistics();

  // The window object outlives its unloads: each load applies the choice as it is now, off too.
  SetWindowOnTop(*this, program_.settings.IsOn("ShowOnTop"));
  HoverRow = kNoRow;

  // Again with the final height: without a stored top the bottom edge meets the work area's.
  ApplyStoredPosition();
  SavePosition();
  program_.settings.Write("FirstTimePosition", "Yes");

  program_.UnloadPopup();
}

void Display::BuildRows() {
  const bool resourcesExist = program_.info.WindowsFamily == 95;
  for (int slot = 0; slot < 8; ++slot) {
    const FixedSlot& fixed = kFixedSlots[slot];
    if (fixed.resources && !resourcesExist) continue;
    if (!program_.settings.IsOn(fixed.key)) continue;
    if (slot == kSlotBattery && !BatteryPresent()) continue;
    ShowFixedSlot(slot);
  }
  for (int i = 0; i < DrivesShownCount; ++i) {
    const std::string& root = DrivesShown[i];
    StatRow.resize(kFirstDriveSlot + i + 2, kNoRow);
    StatSlotCount = kFirstDriveSlot + i + 1;
    if (program_.settings.IsOn(DriveKey(root))) ShowDriveSlot(i, root);
  }
}

// Before the options were ever saved: the statistics every machine has, each drive included.
void Display::BuildFirstRunRows() {
  for (int slot : {kSlotCPU, kSlotPhysMem, kSlotVirtMem, kSlotCdrive}) ShowFixedSlot(slot);
  for (int i = 0; i < DrivesShownCount; ++i) {
    StatRow.resize(kFirstDriveSlot + i + 2, kNoRow);
    StatSlotCount = kFirstDriveSlot + i + 1;
    ShowDriveSlot(i, DrivesShown[i]);
  }
}

void Display::ShowFixedSlot(int slot) {
  if (LastRow > 0) AddStatisticRow();
  if (!StatText.Exists(LastRow)) return;
  StatText[LastRow].SetCaption(kFixedSlots[slot].caption);
  // A full battery should end green.
  if (slot == kSlotBattery) StatBar[LastRow].SetBarColors(kBarRed, kBarGreen);
  if (slot == kSlotCdrive) LabelDriveRow(LastRow, "c:\\");  // drive C: the same caption, with its tip
  StatRow[slot] = LastRow;
  LastFixedRow = LastRow;
  LastRow = LastRow + 1;
}

void Display::ShowDriveSlot(int listIndex, const std::string& root) {
  if (LastRow > 0) AddStatisticRow();
  if (!StatText.Exists(LastRow)) return;
  LabelDriveRow(LastRow, root);
  StatRow[kFirstDriveSlot + listIndex] = LastRow;
  LastRow = LastRow + 1;
  DriveCountShown = DriveCountShown + 1;
}

// The caption names the drive by letter; the tip says where the drive really lives.
void Display::LabelDriveRow(int row, const std::string& root) {
  StatText[row].SetCaption(DriveCaption(root));
  StatText[row].SetToolTipText(program_.info.kernel().DriveMountPoint(root));
}

bool Display::BatteryPresent() {
  SYSTEM_POWER_STATUS status;
  if (!program_.info.kernel().GetSystemPowerStatus(status)) return false;
  const BatteryState battery = ClassifyBattery(status);
  BatteryPercent = battery.percent;
  return battery.present;
}

void Display::AddStatisticRow() {
  const int row = LastRow;
  if (!StatText.Load(row)) return;
  forms::Label& text = StatText[row];
  text.SetTop(StatText[0].Top() + kRowSpacing * row);
  text.SetToolTipText("");  // a copy would carry row 0's drive tip
  text.SetVisible(true);
  if (!StatBar.Load(row)) return;
  forms::ProgressBar& bar = StatBar[row];
  bar.SetTop(StatBar[0].Top() + kRowSpacing * row);
  bar.SetBarColors(kBarGreen, kBarRed);  // a copy would carry the battery's reversed colours
  bar.SetVisible(true);
}

void Display::FitHeightToRows() {
  if (LastRow >= 0 && StatText.Exists(LastRow)) SetHeight(StatText[LastRow].Top() + kHeightBelowLastCaption);
}

void Display::SetWindowOnTop(forms::Form& window, bool on) {
  window.SetOnTop(on);
}

forms::Twips Display::DefaultTop() {
  return RoundHalfEven(runtime().WorkArea().Height - Height());
}

void Display::ApplyStoredPosition() {
  SetTop(program_.settings.ReadNumber("MainTop").value_or(DefaultTop()));
  const Position onScreen = BringOntoWorkArea(runtime().WorkAreas(), {Left(), Top(), Width(), Height()});
  Move(onScreen.Left, onScreen.Top, Width(), Height());
}

void Display::SavePosition() {
  program_.settings.Write("MainLeft", PositionText(Left()));
  program_.settings.Write("MainTop", PositionText(Top()));
}

void Display::Form_Activate() {
  program_.UnloadDetailDisplay();
}

void Display::Form_Unload() {
  SavePosition();
  program_.UnloadDetailDisplay();
  if (CPUMeter) {
    CPUMeter->Terminate();
    CPUMeter.reset();
  }
  program_.menu().mnuDisplay.SetChecked(false);
  program_.menu().FollowMonitorWindow();
  program_.info.MonitorOpenedFromTray = false;
}

// The detail window opens after the pointer has rested a second on a bar; every movement over a
// bar starts that second afresh.
void Display::StatBar_MouseMove(int index, int, int, forms::Twips, forms::Twips) {
  HoverRow = index;
  Timer2.SetEnabled(false);
  Timer2.SetEnabled(true);
}

void Display::Form_MouseMove(int, int, forms::Twips, forms::Twips) {
  HoverRow = kNoRow;
  Timer2.SetEnabled(false);
  program_.UnloadDetailDisplay();
}

void Display::StatText_MouseMove(int, int button, int shift, forms::Twips x, forms::Twips y) {
  Form_MouseMove(button, shift, x, y);
}

}  // namespace sysvane
