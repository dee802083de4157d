// Display: the Monitor window. One row per selected statistic, a caption on the left and a
// gradient percentage bar on the right, refreshed every 900 ms; a detail window opens when the
// mouse rests on a bar, and the drive rows follow fixed drives that appear or vanish.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/forms.h"
#include "stats/cpu_usage.h"

namespace sysvane {

class Program;

class Display : public forms::Form {
 public:
  explicit Display(Program& program);
  ~Display() override;

  // Statistic slots: 0 CPU, 1 physical memory, 2 virtual memory, 3-5 System/GDI/User resources,
  // 6 battery, 7 drive C, 8 + i entry i of the fixed-drive list.
  static constexpr int kSlotCPU = 0;
  static constexpr int kSlotPhysMem = 1;
  static constexpr int kSlotVirtMem = 2;
  static constexpr int kSlotSysRsrc = 3;
  static constexpr int kSlotBattery = 6;
  static constexpr int kSlotCdrive = 7;
  static constexpr int kFirstDriveSlot = 8;
  static constexpr int kNoRow = 99;  // a slot that is not shown, or no row under the mouse
  static constexpr forms::Twips kRowSpacing = 270;
  static constexpr forms::Twips kHeightBelowLastCaption = 735;

  forms::ControlArray<forms::Label> StatText{*this, "StatText"};
  forms::ControlArray<forms::ProgressBar> StatBar{*this, "StatBar"};
  forms::Timer Timer1{*this, "Timer1"};  // refresh of the bars
  forms::Timer Timer2{*this, "Timer2"};  // one-second rest before the detail window opens
  forms::Timer Timer3{*this, "Timer3"};  // re-check of the fixed-drive list

  std::unique_ptr<CPUSampler> CPUMeter;
  int32_t CPUPercent = 0;
  std::string DrivePath;
  std::vector<std::string> DrivesShown;  // the fixed-drive list the drive rows were built from
  int DrivesShownCount = 0;
  int DriveCountShown = 0;  // drive rows (slots 8 and up) shown
  int LastRow = -1;
  int LastFixedRow = kNoRow;
  std::vector<int> StatRow;  // by slot: the row showing it, or kNoRow
  int StatSlotCount = 8;
  int HoverRow = kNoRow;
  int BatteryPercent = 0;
  uint64_t DiskFreeToCaller = 0;
  uint64_t DiskTotal = 0;
  uint64_t DiskTotalFree = 0;

  void Form_Load() override;
  void Form_Activate() override;
  void Form_Unload() override;
  void Form_MouseMove(int button, int shift, forms::Twips x, forms::Twips y) override;
  void StatText_MouseMove(int index, int button, int shift, forms::Twips x, forms::Twips y);
  void StatBar_MouseMove(int index, int button, int shift, forms::Twips x, forms::Twips y);

  // Creates row LastRow: a caption and a bar copied from row 0, 270 twips further down per row.
  void AddStatisticRow();
  static void SetWindowOnTop(forms::Form& window, bool on);

  void UpdateStatistics();
  void Timer1_Timer();
  void Timer2_Timer();
  void PositionDetailWindow();
  void Timer3_Timer();

 protected:
  void Design() override;

 private:
  // The settings-driven rows, or the first-run rows while the options were never saved.
  void BuildRows();
  void BuildFirstRunRows();
  void ShowFixedSlot(int slot);
  void ShowDriveSlot(int listIndex, const std::string& root);
  bool BatteryPresent();
  void LabelDriveRow(int row, const std::string& root);
  // Twips of the window's top when MainTop is missing: its bottom on the work area's height.
  forms::Twips DefaultTop();
  void ApplyStoredPosition();
  void SavePosition();
  void FitHeightToRows();

  // One statistic of a refresh; each keeps its bar as it was when its figure cannot be had.
  void RefreshCPU();
  void RefreshMemory(int slot, uint64_t total, uint64_t available);
  void RefreshResources();
  void RefreshBattery();
  void RefreshDrive(int slot, const std::string& root);
  forms::ProgressBar* BarOfSlot(int slot);

  // The detail window's lines for a slot; false when there is nothing to show.
  struct DetailLines {
    std::string title, second, third, fourth;
    forms::Twips height = 975;
  };
  std::optional<DetailLines> DetailFor(int slot);
  std::optional<DetailLines> CPUDetail();
  std::optional<DetailLines> MemoryDetail(const std::string& title, uint64_t total, uint64_t available);
  std::optional<DetailLines> BatteryDetail();
  std::optional<DetailLines> DriveDetail(int slot);
  void PlaceDetailBeside();

  // The roots of the drive rows' slots: "c:\" for slot 7, DrivesShown for slots 8 and up.
  std::optional<std::string> RootOfSlot(int slot) const;
  void RemoveLastRow();

  Program& program_;
};

}  // namespace sysvane
