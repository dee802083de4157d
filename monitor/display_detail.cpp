// The Monitor window's detail window: a second after the pointer came to rest on a bar, a small
// yellow window beside the Monitor window spells out that statistic's figures.
#include "monitor/detail_display.h"
#include "monitor/display.h"
#include "monitor/window_placement.h"
#include "shell/program.h"
#include "stats/format.h"

namespace sysvane {

namespace {
constexpr forms::Twips kFullHeight = 975;   // title and three lines
constexpr forms::Twips kShortHeight = 555;  // title and one line
constexpr forms::Twips kGap = 15;
const char* const kUsedLine = "are currently being used";
}  // namespace

void Display::Timer2_Timer() {
  Timer2.SetEnabled(false);  // once per rest of the pointer
  if (HoverRow == kNoRow) return;
  for (int slot = 0; slot < StatSlotCount && slot < int(StatRow.size()); ++slot) {
    if (StatRow[slot] != HoverRow) continue;
    const auto lines = DetailFor(slot);
    if (!lines) {
      // Nothing to tell (resources, an unknown battery time, an unreadable drive): no window,
      // rather than one still showing another statistic's figures.
      program_.UnloadDetailDisplay();
      return;
    }
    DetailDisplay& detail = program_.detailDisplay();
    detail.Load();
    PlaceDetailBeside();
    detail.SetLines(lines->title, lines->second, lines->third, lines->fourth);
    detail.SetHeight(lines->height);
    PositionDetailWindow();
    detail.Show();
    return;
  }
}

// On the Monitor window's right, or on its left when the right would run past the work area.
void Display::PlaceDetailBeside() {
  DetailDisplay& detail = program_.detailDisplay();
  const forms::TwipsRect area =
      WorkAreaHolding(runtime().WorkAreas(), {Left(), Top(), Width(), Height()}, runtime().WorkArea());
  const forms::Twips x = RoundHalfEven(Left() + Width() + kGap);
  if (area.Left + area.Width < x + detail.Width()) {
    detail.SetLeft(Left() - detail.Width() - kGap);
  } else {
    detail.SetLeft(x);
  }
}

// Level with the hovered bar, but never reaching below the Monitor window's bottom edge.
void Display::PositionDetailWindow() {
  DetailDisplay& detail = program_.detailDisplay();
  if (!StatBar.Exists(HoverRow)) return;
  forms::Twips y = RoundHalfEven(StatBar[HoverRow].Top() + Top() + 300);
  if (float(Top() + Height()) < float(y + detail.Height())) y = Top() + Height() - detail.Height();
  detail.SetTop(y);
}

std::optional<Display::DetailLines> Display::DetailFor(int slot) {
  const MEMORYSTATUS& memory = program_.info.MemStatus;
  switch (slot) {
    case kSlotCPU:
      return CPUDetail();
    case kSlotPhysMem:
      return MemoryDetail("Physical Memory", memory.dwTotalPhys, memory.dwAvailPhys);
    case kSlotVirtMem:
      return MemoryDetail("Virtual Memory", memory.dwTotalVirtual, memory.dwAvailVirtual);
    case kSlotBattery:
      return BatteryDetail();
    default:
      if (slot >= kSlotCdrive) return DriveDetail(slot);
      return std::nullopt;  // the free resources have no details
  }
}

std::optional<Display::DetailLines> Display::CPUDetail() {
  SystemInfoModule& info = program_.info;
  const LocaleInfo locale = runtime().Locale();
  DetailLines lines{"CPU Activity", info.GetProcessorDescription(locale), "", "", kShortHeight};
  // The process and thread lines belong to the Windows 95 family (version codes 3 and 4).
  if (info.GetWindowsVersionCode() >= 3) {
    info.CountProcessesAndThreads();
    lines.third = FormatGrouped(info.ProcessCount, locale) + " active processes";
    lines.fourth = FormatGrouped(info.ThreadCount, locale) + " active threads";
    lines.height = kFullHeight;
  }
  return lines;
}

std::optional<Display::DetailLines> Display::MemoryDetail(const std::string& title, uint64_t total,
                                                          uint64_t available) {
  if (total == 0 || available > total) return std::nullopt;  // no sample worth showing
  const LocaleInfo locale = runtime().Locale();
  return DetailLines{title, FormatGrouped(total - available, locale) + " of",
                     FormatGrouped(total, locale) + " bytes", kUsedLine, kFullHeight};
}

std::optional<Display::DetailLines> Display::BatteryDetail() {
  SystemInfoModule& info = program_.info;
  info.kernel().GetSystemPowerStatus(info.PowerStatus);
  const uint32_t left = info.PowerStatus.BatteryLifeTime;
  if (left < 1 || left == BATTERY_LIFE_UNKNOWN) return std::nullopt;
  const uint32_t full = info.PowerStatus.BatteryFullLifeTime;
  if (full < 1 || full == BATTERY_LIFE_UNKNOWN) {
    return DetailLines{"Battery Status", FormatDuration(left) + " remaining", "", "", kShortHeight};
  }
  return DetailLines{"Battery Status", FormatDuration(left) + " remaining of",
                     FormatDuration(full) + " full-charge", "(approximately) available", kFullHeight};
}

// Asked afresh, so that the figures are this drive's and of this moment.
std::optional<Display::DetailLines> Display::DriveDetail(int slot) {
  const auto root = RootOfSlot(slot);
  if (!root || !StatText.Exists(HoverRow)) return std::nullopt;
  DrivePath = *root;
  const auto space = program_.info.DiskFreeSpace(DrivePath);
  if (!space || space->FreeBytesAvailableToCaller > space->TotalNumberOfBytes) return std::nullopt;
  DiskFreeToCaller = space->FreeBytesAvailableToCaller;
  DiskTotal = space->TotalNumberOfBytes;
  DiskTotalFree = space->TotalNumberOfFreeBytes;
  const LocaleInfo locale = runtime().Locale();
  return DetailLines{StatText[HoverRow].Caption().substr(0, 2) + " Drive",
                     FormatGrouped(DiskTotal - DiskFreeToCaller, locale) + " of",
                     FormatGrouped(DiskTotal, locale) + " bytes", kUsedLine, kFullHeight};
}

}  // namespace sysvane
