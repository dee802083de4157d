// The Monitor window's drive re-check: every ten seconds the fixed-drive list is read again, and
// when it changed the drive rows at the end of the window are removed, added and bound anew.
#include <algorithm>

#include "monitor/display.h"
#include "shell/menu.h"
#include "shell/program.h"
#include "stats/format.h"

namespace sysvane {

void Display::Timer3_Timer() {
  SystemInfoModule& info = program_.info;
  info.ListFixedDrives();
  const int count = std::min<int>(info.FixedDriveCount, int(info.FixedDrives.size()));
  const std::vector<std::string> drives(info.FixedDrives.begin(), info.FixedDrives.begin() + count);
  if (drives == DrivesShown) {
    // The same letters may stand for other file systems now (a remount): the tips follow.
    for (int i = 0; i < count; ++i) {
      const int slot = kFirstDriveSlot + i;
      const int row = slot < int(StatRow.size()) ? StatRow[slot] : kNoRow;
      if (row != kNoRow && StatText.Exists(row)) LabelDriveRow(row, drives[i]);
    }
    return;
  }

  // The keys are read once, so that the count and the binding below agree.
  std::vector<bool> selected;
  int wanted = 0;
  for (const auto& root : drives) {
    selected.push_back(program_.settings.IsOn(DriveKey(root)));
    if (selected.back()) ++wanted;
  }

  for (int n = DriveCountShown; n > wanted; --n) RemoveLastRow();
  for (int n = DriveCountShown; n < wanted; ++n) {
    LastRow = LastRow + 1;
    AddStatisticRow();
  }

  StatSlotCount = kFirstDriveSlot + count;
  StatRow.resize(StatSlotCount + 1, kNoRow);
  const int fixedRows = LastFixedRow == kNoRow ? 0 : LastFixedRow + 1;
  int k = 0;
  for (int i = 0; i < count; ++i) {
    StatRow[kFirstDriveSlot + i] = kNoRow;
    if (!selected[i]) continue;
    const int row = fixedRows + k++;
    if (StatText.Exists(row)) LabelDriveRow(row, drives[i]);
    StatRow[kFirstDriveSlot + i] = row;
  }
  StatRow[StatSlotCount] = kNoRow;

  DrivesShown = drives;
  DrivesShownCount = count;
  DriveCountShown = wanted;

  if (fixedRows + wanted >= 1) {
    program_.menu().mnuDisplay.SetEnabled(true);
    FitHeightToRows();
    UpdateStatistics();
  } else {
    program_.menu().mnuDisplay.SetEnabled(false);
    Unload();
  }
}

// Row 0 is the window's own and stays; only the count goes down.
void Display::RemoveLastRow() {
  if (LastRow > 0) {
    StatText.Unload(LastRow);
    StatBar.Unload(LastRow);
  }
  LastRow = LastRow - 1;
}

}  // namespace sysvane
