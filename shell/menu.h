// Menu: the hidden start-up and tray controller. Its Form_Load is the program's start-up
// sequence; afterwards it receives the tray icon's notifications and owns the tray menu.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/forms.h"
#include "shell/tray_figure.h"
#include "shell/tray_icon.h"
#include "stats/cpu_usage.h"

namespace sysvane {

class Program;

class Menu : public forms::Form {
 public:
  explicit Menu(Program& program);
  ~Menu() override;

  // The tray menu MenuTray, in its order. The Options dialog and the Monitor window keep the
  // checks of mnuOptions and mnuDisplay; the enabled state of mnuDisplay says whether any
  // statistic is selected.
  forms::MenuItem mnuSplash{"mnuSplash", "Show Splash Screen?", true};
  forms::MenuItem Separator2{"Separator2", "-"};
  forms::MenuItem mnuOptions{"mnuOptions", "Options", true};
  forms::MenuItem mnuDisplay{"mnuDisplay", "Monitor", true};
  forms::MenuItem Separator{"Separator", "-"};
  forms::MenuItem mnuAbout{"mnuAbout", "About Sysvane"};
  forms::MenuItem mnuExit{"mnuExit", "Exit"};
  forms::MenuList MenuTray{
      "MenuTray", {&mnuSplash, &Separator2, &mnuOptions, &mnuDisplay, &Separator, &mnuAbout, &mnuExit}};

  // Runs only while the desktop has no notification area: the program then lives in its windows.
  forms::Timer TrayWatch{*this, "TrayWatch"};
  // Redraws a live tray icon every 900 ms while the Monitor window, which refreshes it otherwise,
  // is closed; it does not run while the tray shows the program's icon.
  forms::Timer IconTimer{*this, "IconTimer"};

  std::string TipText;
  std::unique_ptr<CPUSampler> CPUMeter;
  int32_t CPUPercent = 0;
  bool HasBattery = false;  // decided once at start-up; the roll-up window reads it
  int16_t BatteryPercent = 0;

  // The tip shown while no statistic is selected or a window of the program is open.
  static constexpr const char* kFixedTip = "Sysvane Monitor";
  static constexpr const char* kNoTrayMessage =
      "Sysvane found no notification area (system tray) on this desktop:\r\n"
      "its window stays open instead, and closing that window ends Sysvane.\r\n"
      "To get one, add a notification area to a panel of your desktop; on GNOME,\r\n"
      "turn on the AppIndicator extension (gnome-shell-extension-appindicator).";

  // Rebuilds TipText from fresh figures of the selected statistics.
  void BuildStatusTip();

  // The tray menu's commands.
  void mnuSplash_Click();
  void mnuOptions_Click();
  void mnuDisplay_Click();
  void mnuAbout_Click();
  void mnuExit_Click();

  // The program is asked to end from outside (a termination signal, the end of the desktop
  // session): the Menu window closes as it does for Exit, icon first, then every window, and the
  // program ends. Also in the middle of the start-up, which then goes no further.
  void CloseProgram();

  // Takes up the tray icon choice as saved (at start-up, after the Options dialog saved it, and
  // whenever the Monitor window opens or closes), and draws the icon at once.
  void ApplyTrayIconChoice();
  // Draws a live icon from fresh figures and sends it when its pixels or label changed. The
  // Monitor window calls it on each refresh, after it has read the memory figures itself.
  void RefreshTrayFigure(bool memoryIsFresh);
  // The Monitor window opened or closed: the icon's own timer runs only while it is closed.
  void FollowMonitorWindow();

 protected:
  void Design() override;
  void Form_Load() override;
  // Every notification of the tray icon arrives here, its message number in x (in pixels).
  void Form_MouseMove(int button, int shift, forms::Twips x, forms::Twips y) override;
  void Form_QueryUnload() override;

 private:
  bool AnyStatisticSelected();
  void WaitForTray();
  void StartWithoutTray();
  void TrayWatch_Timer();
  bool AnyWindowOpen();
  void RefreshTip();
  void AppendTipPart(const std::string& part);
  void AppendBatteryPart();
  void IconTimer_Timer();

  static constexpr int kTrayGraceTicks = 5;  // seconds a starting panel is given
  int ticksWithoutTray_ = 0;
  Program& program_;
  TrayIcon trayIcon_;
  Settings::TrayIconShows trayIconShows_ = Settings::TrayIconShows::ProgramIcon;
  std::shared_ptr<const TrayFigureIcon> figureShown_;  // null while the program's icon shows
  std::string labelShown_;
};

}  // namespace sysvane
