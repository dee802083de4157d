#include "shell/menu.h"

#include "dialogs/about.h"
#include "dialogs/message_box.h"
#include "monitor/display.h"
#include "monitor/popup.h"
#include "options/options_dialog.h"
#include "shell/logo.h"
#include "shell/program.h"
#include "stats/format.h"

namespace sysvane {

namespace {
// Windows 95 and 98 report version codes 3 and 4; every other system counts as the NT family.
int16_t FamilyOfVersionCode(int16_t code) {
  return (code == 3 || code == 4) ? 95 : 2000;
}
}  // namespace

Menu::Menu(Program& program)
    : forms::Form(program.runtime(), "Menu"), program_(program), trayIcon_(program.runtime()) {
  mnuSplash.Click = [this] { mnuSplash_Click(); };
  mnuOptions.Click = [this] { mnuOptions_Click(); };
  mnuDisplay.Click = [this] { mnuDisplay_Click(); };
  mnuAbout.Click = [this] { mnuAbout_Click(); };
  mnuExit.Click = [this] { mnuExit_Click(); };
}

Menu::~Menu() = default;

void Menu::Design() {
  // Never shown: its icon becomes the tray icon, and its empty caption is the fallback of an
  // empty tip, so that such an icon shows no tip at all.
  SetCaption("");
  SetIcon("app-icon");
  SetShowInTaskbar(false);
  TrayWatch.SetInterval(1000);
  TrayWatch.SetEnabled(false);
  TrayWatch.Tick = [this] { TrayWatch_Timer(); };
  IconTimer.SetInterval(900);
  IconTimer.SetEnabled(false);
  IconTimer.Tick = [this] { IconTimer_Timer(); };
}

void Menu::Form_Load() {
  forms::Runtime& rt = runtime();
  Settings& settings = program_.settings;
  SystemInfoModule& info = program_.info;

  // 1. One instance only: the second one says so and ends before any icon or window exists.
  if (rt.PrevInstance()) {
    rt.MsgBox("Program is already running!", forms::vbOKOnly, kAppTitle);
    rt.End();
    return;
  }

  // 2. The splash holds the start-up until it closes itself.
  if (settings.IsOn("ShowSplash", true)) {
    mnuSplash.SetChecked(true);
    program_.logo().Show(forms::Modality::Modal);
    // Closed while the splash showed (the program was told to end): the start-up ends here.
    if (!Loaded()) return;
  }

  // 3. The icon; this hides the window for good.
  TipText = kFixedTip;
  trayIcon_.AddTrayIcon(*this, TipText, &MenuTray);
  const bool noTray = !rt.SystemTrayAvailable();

  // 4.
  info.WindowsFamily = FamilyOfVersionCode(info.GetWindowsVersionCode());

  // 5. The sampler the tip reads, already initialized.
  CPUMeter = CreateCPUSampler(info, program_.platform.registry);

  // 6. Whether the tip may show the battery is decided once, here.
  HasBattery = false;
  if (settings.IsOn("ShowBattery")) {
    SYSTEM_POWER_STATUS status;  // a failed query leaves zeros: no battery
    program_.platform.kernel.GetSystemPowerStatus(status);
    BatteryPercent = status.BatteryLifePercent;
    HasBattery = ClassifyBattery(status).present;
  }

  // 7, 8. Monitor is offered only once a statistic is selected; a first run opens Options.
  mnuDisplay.SetEnabled(false);
  if (!settings.IsDefined()) {
    program_.options().Show();
  } else if (AnyStatisticSelected()) {
    mnuDisplay.SetEnabled(true);
  }

  // 9.
  if (settings.IsOn("ShowStatsAtStartup")) program_.display().Show();

  ApplyTrayIconChoice();

  // A panel started with the same session may still be on its way: the program waits for it a
  // few seconds before it lives without one. A tray that goes away later is waited for alike.
  rt.TrayLost = [this] { WaitForTray(); };
  if (noTray) WaitForTray();
}

void Menu::WaitForTray() {
  ticksWithoutTray_ = 0;
  TrayWatch.SetEnabled(true);
}

// Without a notification area nothing could reach the program but its windows: one is shown,
// and once the last is closed the program ends, unless a tray has come meanwhile and taken the
// icon (which it does by itself).
void Menu::StartWithoutTray() {
  if (!mnuOptions.Checked() && !mnuDisplay.Checked()) {
    if (mnuDisplay.Enabled()) program_.display().Show();
    // Nothing selected to monitor (the window unloaded itself): the choice comes first.
    if (!mnuDisplay.Checked()) program_.options().Show();
  }
  ShowMessageBox(program_, kNoTrayMessage, forms::vbOKOnly + forms::vbExclamation, kAppTitle);
}

void Menu::TrayWatch_Timer() {
  if (runtime().SystemTrayAvailable()) {
    TrayWatch.SetEnabled(false);
    return;
  }
  if (ticksWithoutTray_ < kTrayGraceTicks) {
    if (++ticksWithoutTray_ == kTrayGraceTicks) StartWithoutTray();
    return;
  }
  if (AnyWindowOpen()) return;
  Unload();
  runtime().End();
}

bool Menu::AnyWindowOpen() {
  return mnuDisplay.Checked() || mnuOptions.Checked() || program_.about().Loaded() ||
         program_.messageBox().Loaded();
}

bool Menu::AnyStatisticSelected() {
  Settings& settings = program_.settings;
  SystemInfoModule& info = program_.info;
  for (const char* key : {"ShowCPU", "ShowPhysMem", "ShowVirtMem"}) {
    if (settings.IsOn(key)) return true;
  }
  // The free resources exist only on the Windows 95 family; elsewhere their keys do not count.
  if (info.WindowsFamily == 95) {
    for (const char* key : {"ShowSysRsrc", "ShowGDIRsrc", "ShowUserRsrc"}) {
      if (settings.IsOn(key)) return true;
    }
  }
  if (settings.IsOn("ShowBattery") || settings.IsOn("ShowCdrive")) return true;
  info.ListFixedDrives();
  for (int i = 0; i < info.FixedDriveCount && i < int(info.FixedDrives.size()); ++i) {
    if (settings.IsOn(DriveKey(info.FixedDrives[i]))) return true;
  }
  return false;
}

void Menu::Form_MouseMove(int /*button*/, int /*shift*/, forms::Twips x, forms::Twips /*y*/) {
  const forms::Twips perPixel = runtime().Screen().TwipsPerPixelX;
  if (perPixel <= 0) return;
  const double message = x / perPixel;
  SystemInfoModule& info = program_.info;

  if (message == forms::WM_LBUTTONUP) {
    if (!info.PopupShowing) program_.popup().Show();
  } else if (message == forms::WM_LBUTTONDBLCLK) {
    info.MonitorOpenedFromTray = true;
    program_.UnloadOptions();
    program_.display().Show();
  } else if (message == forms::WM_RBUTTONUP) {
    program_.UnloadPopup();
    runtime().SetForegroundWindow(*this);
    PopupMenu(MenuTray);
  } else {
    RefreshTip();
  }
}

void Menu::RefreshTip() {
  // Live figures only while a statistic is selected and no window of ours shows them already.
  if (mnuDisplay.Enabled() && !mnuOptions.Checked() && !mnuDisplay.Checked()) {
    if (program_.info.PopupShowing) return;  // the roll-up window shows them: leave the tip
    BuildStatusTip();
    trayIcon_.ModifyTrayIcon(*this, TipText);
  } else if (TipText != kFixedTip) {
    TipText = kFixedTip;
    trayIcon_.ModifyTrayIcon(*this, TipText);
  }
}

void Menu::ApplyTrayIconChoice() {
  trayIconShows_ = program_.settings.TrayIcon();
  FollowMonitorWindow();
  RefreshTrayFigure(false);
}

void Menu::FollowMonitorWindow() {
  const bool live = trayIconShows_ != Settings::TrayIconShows::ProgramIcon;
  IconTimer.SetEnabled(live && !mnuDisplay.Checked());
}

void Menu::IconTimer_Timer() {
  RefreshTrayFigure(false);
}

void Menu::RefreshTrayFigure(bool memoryIsFresh) {
  if (trayIconShows_ == Settings::TrayIconShows::ProgramIcon) {
    if (figureShown_) trayIcon_.ModifyTrayIconPicture(nullptr, "");
    figureShown_.reset();
    labelShown_.clear();
    return;
  }
  SystemInfoModule& info = program_.info;
  TrayFigure figure{trayIconShows_, 0, 0};
  if (CPUMeter) {
    const int32_t cpu = CPUMeter->Query();
    figure.cpu = cpu == -1 ? 0 : cpu;  // -1: the sampler could not tell
  }
  // The memory figures are read only for the bars that show them: the digits tick without them.
  if (figure.shows == Settings::TrayIconShows::CpuAndMemoryBars) {
    if (!memoryIsFresh) info.RefreshMemoryAndPower();
    figure.memory = UsedPercent(info.MemStatus.dwTotalPhys, info.MemStatus.dwAvailPhys).value_or(0);
  }
  // Hosts that show tiny pixmaps (GNOME's AppIndicator) show this text beside the icon.
  std::string label = FormatPercent(ShownDigits(figure.cpu));
  if (figure.shows == Settings::TrayIconShows::CpuAndMemoryBars) {
    label += ' ';
    label += FormatPercent(figure.memory);
  }
  const bool samePicture = figureShown_ && LooksTheSame(figureShown_->figure(), figure);
  if (samePicture && label == labelShown_) return;
  // The same picture object tells the runtime that only the label changed.
  if (!samePicture) figureShown_ = std::make_shared<TrayFigureIcon>(figure);
  labelShown_ = label;
  trayIcon_.ModifyTrayIconPicture(figureShown_, label);
}

void Menu::AppendTipPart(const std::string& part) {
  if (!TipText.empty()) TipText += ", ";
  TipText += part;
}

void Menu::BuildStatusTip() {
  Settings& settings = program_.settings;
  SystemInfoModule& info = program_.info;
  TipText.clear();
  info.RefreshMemoryAndPower();

  if (settings.IsOn("ShowCPU") && CPUMeter) {
    CPUPercent = CPUMeter->Query();
    // -1 is a failed reading of the sampler.
    TipText = "CPU: " + FormatPercent(CPUPercent == -1 ? 0 : CPUPercent);
  }
  if (settings.IsOn("ShowPhysMem")) {
    // A total of 0 is a failed reading: the part is left out rather than made up.
    if (auto used = UsedPercent(info.MemStatus.dwTotalPhys, info.MemStatus.dwAvailPhys)) {
      AppendTipPart("Memory: " + FormatPercent(*used));
    }
  }
  if (info.WindowsFamily == 95 && settings.IsOn("ShowSysRsrc")) {
    AppendTipPart("Resources: " + FormatPercent(info.FreeResources(0)));
  }
  if (settings.IsOn("ShowBattery") && HasBattery) AppendBatteryPart();
}

void Menu::AppendBatteryPart() {
  // The separator comes first, whether or not the battery is still there to label.
  if (!TipText.empty()) TipText += ", ";
  const BatteryState battery = ClassifyBattery(program_.info.PowerStatus);
  BatteryPercent = program_.info.PowerStatus.BatteryLifePercent;
  if (battery.present) {
    switch (battery.kind) {
      case BatteryState::Kind::Unplugged:
        TipText += "Battery(unplugged): ";
        break;
      case BatteryState::Kind::Plain:
        TipText += "Battery: ";
        break;
      case BatteryState::Kind::Charging:
        TipText += "Battery(charging): ";
        break;
    }
  }
  TipText += FormatBatteryPercent(BatteryPercent);
}

void Menu::mnuSplash_Click() {
  const bool on = !mnuSplash.Checked();
  mnuSplash.SetChecked(on);
  program_.settings.Write("ShowSplash", on ? "1" : "0");
  // The Options dialog, when open, shows the same choice.
  if (mnuOptions.Checked()) {
    Options& options = program_.options();
    if (options.Check0.Exists(3)) options.Check0[3].SetValue(on ? 1 : 0);
  }
}

void Menu::mnuOptions_Click() {
  program_.UnloadDisplay();
  program_.options().Show();
}

void Menu::mnuDisplay_Click() {
  program_.UnloadOptions();
  program_.display().Show();
}

void Menu::mnuAbout_Click() {
  program_.about().Show();
}

void Menu::mnuExit_Click() {
  const int answer = runtime().MsgBox("   Are you sure you wish to exit the\r\nSysvane Monitor program?",
                                      forms::vbYesNo + forms::vbQuestion, "Exit");
  if (answer != forms::vbYes) return;
  program_.UnloadOptions();
  program_.UnloadDisplay();
  program_.UnloadDetailDisplay();
  CloseProgram();
}

void Menu::CloseProgram() {
  Unload();  // runs Form_QueryUnload: the icon goes first, then every other window
  runtime().End();
}

void Menu::Form_QueryUnload() {
  runtime().TrayLost = nullptr;
  trayIcon_.DeleteTrayIcon();
  program_.UnloadLogo();  // only while the start-up waits behind it; its unload ends that wait
  program_.UnloadDetailDisplay();
  program_.UnloadDisplay();
  program_.UnloadAbout();
  program_.UnloadMessageBox();
  program_.UnloadOptions();
  program_.UnloadPopup();
}

}  // namespace sysvane
