// Options: the dialog that chooses the statistics and the start-up behaviour, with live preview
// bars and the System page.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "options/shortcut_maintenance.h"
#include "platform/forms.h"
#include "stats/cpu_usage.h"

namespace sysvane {

class Program;

class Options : public forms::Form {
 public:
  explicit Options(Program& program);
  ~Options() override;

  // The most drive rows the dialog lays out, besides drive C.
  static constexpr int kMaxDriveRows = 7;

  forms::TabStrip SSTab1{*this, "SSTab1"};
  forms::ControlArray<forms::CheckBox> Check0{*this, "Check0"};        // start-up choices, page 0
  forms::Frame Frame1{*this, "Frame1"};                                // "Tray icon shows:", page 0
  forms::ControlArray<forms::OptionButton> Option1{*this, "Option1"};  // its choices, by TrayIcon value
  forms::ControlArray<forms::CheckBox> Check1{*this, "Check1"};        // statistic choices, page 1
  forms::ControlArray<forms::ProgressBar> ProgressBar1{*this, "ProgressBar1"};  // previews, page 1
  forms::ControlArray<forms::Label> SystemText{*this, "SystemText"};            // System page captions
  forms::ControlArray<forms::Label> SystemInfo{*this, "SystemInfo"};            // System page values
  forms::Label WinVersion{*this, "WinVersion"};
  forms::CommandButton OKButton{*this, "OKButton"};
  forms::CommandButton cancelButton{*this, "cancelButton"};
  forms::CommandButton applyButton{*this, "applyButton"};  // enabled: unsaved changes
  forms::Timer Timer1{*this, "Timer1"};                    // preview refresh
  forms::Timer Timer2{*this, "Timer2"};                    // drive re-check

  std::unique_ptr<CPUSampler> CPUMeter;
  // The counts of the dialog's last successful disk query.
  uint64_t DiskFreeToCaller = 0;
  uint64_t DiskTotal = 0;
  uint64_t DiskTotalFree = 0;
  int16_t BatteryState = 0;
  int16_t BatteryPercent = 0;
  int16_t DriveIndex = 0;
  int16_t RowIndex = 0;
  // The drive rows laid out, each from its own root; other windows may re-list the shared
  // drive list meanwhile, so every row keeps to these.
  int16_t DriveCountShown = 0;
  std::vector<std::string> DrivesShown;
  std::string DriveLetter;
  bool OKChecked = false;

  void Timer1_Timer();
  void Timer2_Timer();
  void Check0_GotFocus(int Index);
  void Check0_Click(int Index);
  void Option1_GotFocus(int Index);
  void Option1_Click(int Index);
  void Check1_GotFocus(int Index);
  void Check1_Click(int Index);
  void SSTab1_GotFocus();
  void SSTab1_Click(int PreviousTab);
  void OKButton_Click();
  void cancelButton_Click();
  void applyButton_Click();

  void LoadSettingsIntoDialog();
  void SaveDialogSettings();
  void RefreshStatisticBars();
  // True when a statistic is checked; otherwise shows the Statistics page and warns.
  bool CheckStatisticSelected();

  // A stored switch as a box state: 0, 1, or 2 (grey); anything else is unchecked.
  static int BoxStateFromText(const std::string& text);

 protected:
  void Design() override;
  void Form_Load() override;
  void Form_Unload() override;

 private:
  void DesignTrayIconGroup();
  void DesignStatisticsPage();
  void DesignSystemPage();
  void FillSystemFacts();
  // Shows row `row` for `root`; `previousRoot` is the drive the row showed before, if any.
  // true when the row's box took a choice that differs from the drive's stored switch.
  bool LayOutDriveRow(int row, const std::string& root, const std::string& previousRoot);
  void GrowForDriveRow();
  void SizeForDriveRows(int rows);
  void RetireDriveRow(int row);
  void RefreshDriveBar(int bar, const std::string& root);
  void RefreshBattery();
  void WriteBox(const std::string& key, const forms::CheckBox& box);

  Program& program_;
  ShortcutMaintenance shortcuts_;
  bool driveCKnown_ = false;  // the last refresh measured drive C itself
  // Each drive's box as it stood when its row was last laid out again: a drive that leaves and
  // comes back while the dialog is open keeps the choice made for it.
  std::map<std::string, int> driveChoices_;
};

}  // namespace sysvane
