// The Monitor window's refresh: every shown bar gets a fresh figure every 900 ms.
#include "monitor/display.h"
#include "shell/menu.h"
#include "shell/program.h"
#include "stats/format.h"

namespace sysvane {

void Display::Timer1_Timer() {
  UpdateStatistics();
  // A live tray icon follows this refresh while the window is open, on the memory just read.
  program_.menu().RefreshTrayFigure(true);
}

void Display::UpdateStatistics() {
  SystemInfoModule& info = program_.info;
  info.RefreshMemoryAndPower();
  RefreshCPU();
  RefreshMemory(kSlotPhysMem, info.MemStatus.dwTotalPhys, info.MemStatus.dwAvailPhys);
  RefreshMemory(kSlotVirtMem, info.MemStatus.dwTotalVirtual, info.MemStatus.dwAvailVirtual);
  RefreshResources();
  RefreshBattery();
  for (int slot = kSlotCdrive; slot < StatSlotCount; ++slot) {
    // Each drive row asks about its own drive, never about whatever another window has since
    // put at its index of the shared list.
    if (const auto root = RootOfSlot(slot)) RefreshDrive(slot, *root);
  }
}

forms::ProgressBar* Display::BarOfSlot(int slot) {
  if (slot < 0 || slot >= int(StatRow.size())) return nullptr;
  const int row = StatRow[slot];
  if (row == kNoRow || !StatBar.Exists(row)) return nullptr;
  return &StatBar[row];
}

std::optional<std::string> Display::RootOfSlot(int slot) const {
  if (slot == kSlotCdrive) return "c:\\";
  const int index = slot - kFirstDriveSlot;
  if (index < 0 || index >= DrivesShownCount || index >= int(DrivesShown.size())) return std::nullopt;
  return DrivesShown[index];
}

void Display::RefreshCPU() {
  forms::ProgressBar* bar = BarOfSlot(kSlotCPU);
  if (!bar || !CPUMeter) return;
  CPUPercent = CPUMeter->Query();
  bar->SetValue(CPUPercent == -1 ? 0 : CPUPercent);  // -1: the sampler could not tell
}

void Display::RefreshMemory(int slot, uint64_t total, uint64_t available) {
  forms::ProgressBar* bar = BarOfSlot(slot);
  if (!bar) return;
  if (const auto percent = UsedPercent(total, available)) bar->SetValue(*percent);
}

void Display::RefreshResources() {
  for (int kind = 0; kind < 3; ++kind) {
    // The free share, as the resource meter reports it.
    if (forms::ProgressBar* bar = BarOfSlot(kSlotSysRsrc + kind))
      bar->SetValue(program_.info.FreeResources(kind));
  }
}

void Display::RefreshBattery() {
  forms::ProgressBar* bar = BarOfSlot(kSlotBattery);
  if (!bar) return;
  const BatteryState battery = ClassifyBattery(program_.info.PowerStatus);
  BatteryPercent = battery.percent;
  // A battery that has gone since the load leaves its row as it was.
  if (!battery.present) return;
  const char* caption = "Battery status:";
  if (battery.kind == BatteryState::Kind::Unplugged) caption = "Battery status (unplugged):";
  if (battery.kind == BatteryState::Kind::Charging) caption = "Battery status (charging):";
  if (StatText.Exists(StatRow[kSlotBattery])) StatText[StatRow[kSlotBattery]].SetCaption(caption);
  bar->SetValue(BatteryPercent);
}

void Display::RefreshDrive(int slot, const std::string& root) {
  forms::ProgressBar* bar = BarOfSlot(slot);
  if (!bar) return;
  DrivePath = root;
  const auto space = program_.info.DiskFreeSpace(DrivePath);
  if (!space) return;  // the bar keeps its last figure of this very drive
  DiskFreeToCaller = space->FreeBytesAvailableToCaller;
  DiskTotal = space->TotalNumberOfBytes;
  DiskTotalFree = space->TotalNumberOfFreeBytes;
  // Used is everything the user cannot have, reserved blocks included.
  if (const auto percent = UsedPercent(DiskTotal, DiskFreeToCaller)) bar->SetValue(*percent);
}

}  // namespace sysvane
