#include "options/options_dialog.h"

#include <algorithm>

#include "dialogs/message_box.h"
#include "monitor/display.h"
#include "options/system_page.h"
#include "shell/menu.h"
#include "shell/program.h"
#include "stats/format.h"

namespace sysvane {

namespace {

constexpr const char* kLinkName = "Sysvane";
constexpr int kStatisticBoxes = 15;
constexpr int kFirstDriveBox = 8;
constexpr int kTabOptions = 0;
constexpr int kTabStatistics = 1;
constexpr int kTabSystem = 2;

// The statistic switches of boxes 0 to 7, in the boxes' order.
const char* const kStatisticKeys[8] = {"ShowCPU",     "ShowPhysMem",  "ShowVirtMem", "ShowSysRsrc",
                                       "ShowGDIRsrc", "ShowUserRsrc", "ShowBattery", "ShowCdrive"};

}  // namespace

Options::Options(Program& program)
    : forms::Form(program.runtime(), "Options"),
      program_(program),
      shortcuts_(program.platform.desktop, program.runtime()) {
  Check0.GotFocus = [this](int i) { Check0_GotFocus(i); };
  Check0.Click = [this](int i) { Check0_Click(i); };
  Option1.GotFocus = [this](int i) { Option1_GotFocus(i); };
  Option1.Click = [this](int i) { Option1_Click(i); };
  Check1.GotFocus = [this](int i) { Check1_GotFocus(i); };
  Check1.Click = [this](int i) { Check1_Click(i); };
  SSTab1.GotFocus = [this] { SSTab1_GotFocus(); };
  SSTab1.TabClick = [this](int previous) { SSTab1_Click(previous); };
  OKButton.Click = [this] { OKButton_Click(); };
  cancelButton.Click = [this] { cancelButton_Click(); };
  applyButton.Click = [this] { applyButton_Click(); };
  Timer1.Tick = [this] { Timer1_Timer(); };
  Timer2.Tick = [this] { Timer2_Timer(); };
}

Options::~Options() = default;

int Options::BoxStateFromText(const std::string& text) {
  const auto number = ParseNumber(text);
  if (!number) return 0;
  // Whole numbers as a 16-bit conversion rounds them; a box takes only 0, 1 and 2 (grey).
  const double state = RoundHalfEven(*number);
  return state == 1 || state == 2 ? int(state) : 0;
}

void Options::Form_Load() {
  SystemInfoModule& info = program_.info;
  program_.menu().mnuOptions.SetChecked(true);
  CPUMeter = CreateCPUSampler(info, program_.platform.registry);
  FillSystemFacts();

  if (info.WindowsFamily == 2000) {
    // The NT family has no free-resources figures.
    for (int i = 3; i <= 5; ++i) {
      Check1[i].SetValue(0);
      Check1[i].SetEnabled(false);
      Check1[i].SetTabStop(false);
    }
  }

  info.ListFixedDrives();
  if (info.FixedDriveCount > kMaxDriveRows) info.FixedDriveCount = kMaxDriveRows;
  const int count = std::max<int>(0, std::min<int>(info.FixedDriveCount, int(info.FixedDrives.size())));
  DrivesShown.assign(info.FixedDrives.begin(), info.FixedDrives.begin() + count);
  DriveCountShown = static_cast<int16_t>(count);
  for (int row = 0; row < count; ++row) {
    DriveIndex = static_cast<int16_t>(row);
    LayOutDriveRow(row, DrivesShown[row], "");
    GrowForDriveRow();
  }

  RefreshStatisticBars();
  const LocaleInfo locale = program_.locale();
  SystemInfo[2].SetCaption(ByteCountText(info.MemStatus.dwTotalPhys, locale));
  SystemInfo[3].SetCaption(ByteCountText(info.MemStatus.dwTotalVirtual, locale));
  if (driveCKnown_) SystemInfo[6].SetCaption(ByteCountText(DiskTotal, locale));

  const forms::ScreenInfo screen = runtime().Screen();
  Move(screen.Left + (screen.Width - Width()) / 2, screen.Top + (screen.Height - Height()) / 2, Width(),
       Height());
  SSTab1.SetTab(kTabOptions);
  LoadSettingsIntoDialog();

  // The battery box is offered only when the system has a battery.
  info.kernel().GetSystemPowerStatus(info.PowerStatus);
  const auto battery = ClassifyBattery(info.PowerStatus);
  BatteryState = info.PowerStatus.BatteryFlag;
  BatteryPercent = info.PowerStatus.BatteryLifePercent;
  if (BatteryState == 0 && BatteryPercent >= 1) BatteryState = BatteryPercent;
  Check1[6].SetEnabled(battery.present);

  applyButton.SetEnabled(false);  // loading the boxes clicked them
  Timer1.SetEnabled(true);
  OKChecked = false;
}

void Options::FillSystemFacts() {
  const SystemFacts facts = ReadSystemFacts(program_.info, runtime().Screen(), program_.locale());
  SystemInfo[0].SetCaption(facts.processor);
  SystemInfo[1].SetCaption(facts.processorCount);
  SystemInfo[4].SetCaption(facts.resolution);
  SystemText[5].SetCaption(facts.systemCaption);
  SystemInfo[5].SetCaption(FitSystemName(
      facts.systemName, SystemInfo[5].Width(),
      [this](const std::string& text) { return runtime().TextWidth(SystemInfo[5].font(), text); }));
  WinVersion.SetCaption(facts.versionLine);
}

void Options::Form_Unload() {
  if (CPUMeter) CPUMeter->Terminate();
  CPUMeter.reset();
  program_.menu().mnuOptions.SetChecked(false);
}

void Options::LoadSettingsIntoDialog() {
  const Settings& settings = program_.settings;
  Check0[0].SetValue(0);
  if (shortcuts_.StartupShortcutExists(kLinkName)) Check0[0].SetValue(1);
  // A value that is not a state leaves its own box unchecked; the next key loads as usual.
  Check0[1].SetValue(BoxStateFromText(settings.Read("ShowStatsAtStartup", "1")));
  Check0[2].SetValue(BoxStateFromText(settings.Read("ShowOnTop", "0")));
  Check0[3].SetValue(BoxStateFromText(settings.Read("ShowSplash", "1")));
  Option1[int(settings.TrayIcon())].SetValue(true);
  for (int i = 0; i < 8; ++i) Check1[i].SetValue(BoxStateFromText(settings.Read(kStatisticKeys[i], "0")));
  for (int row = 0; row < DriveCountShown; ++row) {
    Check1[kFirstDriveBox + row].SetValue(BoxStateFromText(settings.Read(DriveKey(DrivesShown[row]), "0")));
  }
}

void Options::WriteBox(const std::string& key, const forms::CheckBox& box) {
  program_.settings.Write(key, std::to_string(box.Value()));
}

void Options::SaveDialogSettings() {
  program_.settings.Write("Defined", "Yes");
  WriteBox("ShowStatsAtStartup", Check0[1]);
  WriteBox("ShowOnTop", Check0[2]);
  WriteBox("ShowSplash", Check0[3]);
  for (int i = 0; i < 8; ++i) WriteBox(kStatisticKeys[i], Check1[i]);
  for (int row = 0; row < DriveCountShown; ++row)
    WriteBox(DriveKey(DrivesShown[row]), Check1[kFirstDriveBox + row]);
  for (int i = 0; i < 3; ++i) {
    if (Option1[i].Value()) program_.settings.Write("TrayIcon", std::to_string(i));
  }

  if (Check0[0].Value() == 1) {
    shortcuts_.CreateStartupShortcut(kLinkName, program_.platform.desktop.ExecutablePath(), "");
  } else {
    shortcuts_.RemoveStartupShortcut(kLinkName);
  }
  applyButton.SetEnabled(false);
  program_.menu().mnuSplash.SetChecked(Check0[3].Value() == 1);
  program_.menu().ApplyTrayIconChoice();
}

void Options::RefreshStatisticBars() {
  SystemInfoModule& info = program_.info;
  info.RefreshMemoryAndPower();
  if (CPUMeter) {
    const int32_t cpu = CPUMeter->Query();
    ProgressBar1[0].SetValue(cpu == -1 ? 0 : cpu);
  }
  // A total of 0 gives no percentage: the bar keeps its value.
  if (const auto used = UsedPercent(info.MemStatus.dwTotalPhys, info.MemStatus.dwAvailPhys)) {
    ProgressBar1[1].SetValue(*used);
  }
  if (const auto used = UsedPercent(info.MemStatus.dwTotalVirtual, info.MemStatus.dwAvailVirtual)) {
    ProgressBar1[2].SetValue(*used);
  }
  if (info.WindowsFamily == 95) {
    for (int kind = 0; kind < 3; ++kind) ProgressBar1[3 + kind].SetValue(info.FreeResources(kind));
  }
  RefreshBattery();
  for (int row = 0; row < DriveCountShown; ++row) {
    DriveIndex = static_cast<int16_t>(row);
    RefreshDriveBar(kFirstDriveBox + row, DrivesShown[row]);
  }
  driveCKnown_ = false;
  RefreshDriveBar(7, "c:\\");
}

void Options::RefreshBattery() {
  const SYSTEM_POWER_STATUS& power = program_.info.PowerStatus;
  BatteryState = power.BatteryFlag;
  BatteryPercent = power.BatteryLifePercent;
  if (BatteryState == 0 && BatteryPercent > 0) BatteryState = BatteryPercent;
  const auto battery = ClassifyBattery(power);
  if (!battery.present) return;
  using Kind = sysvane::BatteryState::Kind;
  switch (battery.kind) {
    case Kind::Unplugged:
      Check1[6].SetCaption("Battery status (unplugged):");
      break;
    case Kind::Plain:
      Check1[6].SetCaption("Battery status:");
      break;
    case Kind::Charging:
      Check1[6].SetCaption("Battery status (charging):");
      break;
  }
  // 255 means the charge is unknown: the bar keeps what it showed.
  if (BatteryPercent <= 100) ProgressBar1[6].SetValue(BatteryPercent);
}

void Options::RefreshDriveBar(int bar, const std::string& root) {
  // A failed query leaves the counts and the bar as they were: never another drive's figure.
  const auto space = program_.info.DiskFreeSpace(root);
  if (!space) return;
  DiskFreeToCaller = space->FreeBytesAvailableToCaller;
  DiskTotal = space->TotalNumberOfBytes;
  DiskTotalFree = space->TotalNumberOfFreeBytes;
  if (bar == 7) driveCKnown_ = true;
  // The System page's size of this drive: its letter may stand for another drive than at layout.
  SystemInfo[bar - 1].SetCaption(ByteCountText(DiskTotal, program_.locale()));
  // Space the user may not use counts as used.
  if (const auto used = UsedPercent(DiskTotal, DiskFreeToCaller)) ProgressBar1[bar].SetValue(*used);
}

void Options::Timer1_Timer() {
  // Nothing is sampled while another page shows or the dialog is minimised.
  if (SSTab1.Tab() != kTabStatistics || WindowState() == forms::vbMinimized) return;
  RefreshStatisticBars();
}

void Options::SSTab1_Click(int /*PreviousTab*/) {
  if (SSTab1.Tab() == kTabStatistics && Loaded()) RefreshStatisticBars();
}

void Options::SSTab1_GotFocus() {
  switch (SSTab1.Tab()) {
    case kTabOptions:
      Check0[0].SetFocus();
      break;
    case kTabStatistics:
      Check1[0].SetFocus();
      break;
    case kTabSystem:
      OKButton.SetFocus();
      break;
  }
}

void Options::Check0_GotFocus(int /*Index*/) {
  SSTab1.SetTab(kTabOptions);
}

void Options::Option1_GotFocus(int /*Index*/) {
  SSTab1.SetTab(kTabOptions);
}

void Options::Option1_Click(int /*Index*/) {
  applyButton.SetEnabled(true);
}

void Options::Check1_GotFocus(int /*Index*/) {
  SSTab1.SetTab(kTabStatistics);
}

void Options::Check0_Click(int /*Index*/) {
  applyButton.SetEnabled(true);
}

void Options::Check1_Click(int /*Index*/) {
  applyButton.SetEnabled(true);
}

bool Options::CheckStatisticSelected() {
  for (int i = 0; i < kStatisticBoxes; ++i) {
    if (Check1[i].Value() == 1) return true;
  }
  SSTab1.SetTab(kTabStatistics);
  Check1[0].SetFocus();
  ShowMessageBox(program_, "Warning:  No statistics were selected for display", forms::vbExclamation, "");
  return false;
}

void Options::OKButton_Click() {
  // Only the first OK warns: a second one closes the dialog as it stands.
  if (!OKChecked) {
    OKChecked = true;
    if (!CheckStatisticSelected()) return;
  }
  if (applyButton.Enabled()) SaveDialogSettings();
  cancelButton_Click();
  if (program_.settings.IsOn("ShowStatsAtStartup", false)) program_.display().Show();
}

void Options::cancelButton_Click() {
  bool any = false;
  for (int i = 0; i < kStatisticBoxes; ++i) any = any || Check1[i].Value() == 1;
  program_.menu().mnuDisplay.SetEnabled(any);
  Unload();
}

void Options::applyButton_Click() {
  SaveDialogSettings();
}

}  // namespace sysvane
