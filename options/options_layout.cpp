// The Options dialog's design and its drive rows: the window grows by one row's height for every
// fixed drive it shows besides C.
#include <algorithm>

#include "options/options_dialog.h"
#include "options/system_page.h"
#include "shell/program.h"
#include "stats/format.h"

namespace sysvane {

namespace {

constexpr int kStatisticBoxes = 15;
constexpr int kSystemRows = 14;
constexpr int kFirstDriveBox = 8;
constexpr int kFirstDriveRow = 7;  // on the System page
constexpr forms::Twips kRowHeight = 300;
constexpr forms::Twips kDesignHeight = 4125;  // outer, without drive rows
constexpr forms::Twips kDesignButtonTop = 3285;
constexpr forms::Twips kDesignStripHeight = 3060;

const char* const kStatisticCaptions[8] = {
    "CPU Activity:",  "Physical memory usage:", "Virtual memory usage:", "System resources:",
    "GDI resources:", "User resources:",        "Battery status:",       "C: drive disk usage:",
};
const char* const kSystemCaptions[7] = {
    "Processor type:",    "Number of processors:", "Physical memory:",    "Virtual memory:",
    "Screen resolution:", "Windows version:",      "C: drive disk size:",
};
const forms::Twips kSystemTops[7] = {480, 780, 1080, 1380, 1680, 1980, 2580};

void ShowBox(forms::CheckBox& box, bool on) {
  box.SetEnabled(on);
  box.SetTabStop(on);
  box.SetVisible(on);
}

}  // namespace

void Options::Design() {
  SetCaption(" Sysvane Options");
  SetBorderStyle(forms::BorderStyle::FixedDialog);
  SetClientSize(4680, 3750);

  SSTab1.Move(90, 120, 4515, kDesignStripHeight);
  SSTab1.SetTabs({"Options", "Statistics", "System"});
  SSTab1.SetTab(0);

  const std::string family = SystemFamilyName(program_.info.kernel());
  const char* const startCaptions[4] = {nullptr, "Show system monitor at program StartUp?",
                                        "Show statistics on top of other windows?",
                                        "Display splash screen at StartUp?"};
  const forms::Twips startWidths[4] = {2775, 3375, 3255, 2775};
  Check0.Reset();
  for (int i = 0; i < 4; ++i) {
    if (i > 0) Check0.Load(i);
    forms::CheckBox& box = Check0[i];
    box.SetContainer(&SSTab1, 0);
    box.Move(240, 480 + kRowHeight * i, startWidths[i], 255);
    box.SetCaption(i == 0 ? "Run program at " + family + " StartUp?" : startCaptions[i]);
    box.SetValue(0);
    ShowBox(box, true);
  }

  DesignTrayIconGroup();
  DesignStatisticsPage();
  DesignSystemPage();

  OKButton.Move(1110, kDesignButtonTop, 1095, 375);
  OKButton.SetCaption("&OK");
  cancelButton.Move(2310, kDesignButtonTop, 1095, 375);
  cancelButton.SetCaption("Cancel");
  applyButton.Move(3510, kDesignButtonTop, 1095, 375);
  applyButton.SetCaption("&Apply");
  applyButton.SetEnabled(false);  // after the boxes: their design values click it on

  Timer1.SetInterval(900);
  Timer1.SetEnabled(false);
  Timer2.SetInterval(10000);
  Timer2.SetEnabled(true);

  CPUMeter.reset();
  DiskFreeToCaller = DiskTotal = DiskTotalFree = 0;
  BatteryState = BatteryPercent = 0;
  DriveIndex = RowIndex = 0;
  DriveCountShown = 0;
  DrivesShown.clear();
  DriveLetter.clear();
  OKChecked = false;
  driveCKnown_ = false;
  driveChoices_.clear();
}

// Below the start-up choices, in the same column and row spacing.
void Options::DesignTrayIconGroup() {
  Frame1.SetContainer(&SSTab1, 0);
  Frame1.Move(240, 1740, 4035, 1185);
  Frame1.SetCaption("Tray icon shows:");
  const char* const captions[3] = {"&Program icon", "&CPU usage", "CPU and &memory"};
  Option1.Reset();
  for (int i = 0; i < 3; ++i) {
    if (i > 0) Option1.Load(i);
    forms::OptionButton& option = Option1[i];
    option.SetContainer(&SSTab1, 0);
    option.SetGroup(&Frame1);
    option.Move(420, 2010 + kRowHeight * i, 3615, 255);
    option.SetCaption(captions[i]);
    option.SetVisible(true);
  }
  Option1[0].SetValue(true);
}

void Options::DesignStatisticsPage() {
  Check1.Reset();
  ProgressBar1.Reset();
  for (int i = 0; i < kStatisticBoxes; ++i) {
    if (i > 0) {
      Check1.Load(i);
      ProgressBar1.Load(i);
    }
    const bool designRow = i < kFirstDriveBox;
    const forms::Twips top = 480 + kRowHeight * i;
    forms::CheckBox& box = Check1[i];
    box.SetContainer(&SSTab1, 1);
    box.Move(240, top, (i == 3 || i == 6) ? 2190 : 2055, (i == 0 || i == 10) ? 195 : 255);
    box.SetCaption(designRow ? kStatisticCaptions[i] : "Check2");
    box.SetValue(0);
    ShowBox(box, designRow);

    forms::ProgressBar& bar = ProgressBar1[i];
    bar.SetContainer(&SSTab1, 1);
    bar.Move(2460, top, 1815, 255);
    // A full battery ends green; every other bar turns red as it fills.
    if (i == 6) {
      bar.SetBarColors(forms::Color::Rgb(255, 0, 0), forms::Color::Rgb(0, 192, 0));
    } else {
      bar.SetBarColors(forms::Color::Rgb(0, 192, 0), forms::Color::Rgb(255, 0, 0));
    }
    bar.SetTextAfterCaption("%");
    bar.SetForeColor(
        forms::Color::System(i >= 11 ? forms::SystemColor::MenuText : forms::SystemColor::WindowText));
    bar.SetValue(0);
    bar.SetVisible(designRow);
  }
}

void Options::DesignSystemPage() {
  SystemText.Reset();
  SystemInfo.Reset();
  for (int i = 0; i < kSystemRows; ++i) {
    if (i > 0) {
      SystemText.Load(i);
      SystemInfo.Load(i);
    }
    const bool designRow = i < kFirstDriveRow;
    const forms::Twips top = designRow ? kSystemTops[i] : 2850;
    SystemText[i].SetContainer(&SSTab1, 2);
    SystemText[i].Move(240, top, 1590, 255);
    SystemText[i].SetCaption(designRow ? kSystemCaptions[i] : "Label1");
    SystemText[i].SetVisible(designRow);
    SystemInfo[i].SetContainer(&SSTab1, 2);
    SystemInfo[i].Move(1980, top, 2055, 240);
    SystemInfo[i].SetCaption("");
    SystemInfo[i].SetVisible(designRow);
    // Row 5 reaches into the version line below it: neither may hide the other.
    SystemText[i].SetTransparent(true);
    SystemInfo[i].SetTransparent(true);
  }
  WinVersion.SetContainer(&SSTab1, 2);
  WinVersion.Move(1980, 2160, 2055, 240);
  WinVersion.SetCaption("");
  WinVersion.SetTransparent(true);
}

bool Options::LayOutDriveRow(int row, const std::string& root, const std::string& previousRoot) {
  DriveLetter = sysvane::DriveLetter(root);
  RowIndex = static_cast<int16_t>(kFirstDriveBox + row);
  forms::CheckBox& box = Check1[kFirstDriveBox + row];
  forms::ProgressBar& bar = ProgressBar1[kFirstDriveBox + row];
  forms::Label& text = SystemText[kFirstDriveRow + row];
  forms::Label& size = SystemInfo[kFirstDriveRow + row];

  // A row taken over by another drive must not go on showing the old drive's figures, nor its
  // choice: the box takes the new drive's own, unsaved or stored.
  bool unsaved = false;
  if (root != previousRoot) {
    bar.SetValue(0);
    size.SetCaption("");
    const int stored = BoxStateFromText(program_.settings.Read(DriveKey(root), "0"));
    const auto choice = driveChoices_.find(root);
    box.SetValue(choice == driveChoices_.end() ? stored : choice->second);
    unsaved = box.Value() != stored;
  }
  box.SetTop(Check1[7].Top() + (row + 1) * kRowHeight);
  box.SetCaption(DriveLetter + ": drive disk usage:");
  ShowBox(box, true);
  bar.SetTop(box.Top());
  bar.SetVisible(true);
  text.SetTop(SystemText[6].Top() + (row + 1) * kRowHeight);
  text.SetCaption(DriveSizeCaption(root));
  text.SetVisible(true);
  size.SetTop(text.Top());
  if (const auto space = program_.info.DiskFreeSpace(root)) {
    DiskFreeToCaller = space->FreeBytesAvailableToCaller;
    DiskTotal = space->TotalNumberOfBytes;
    DiskTotalFree = space->TotalNumberOfFreeBytes;
    size.SetCaption(ByteCountText(DiskTotal, program_.locale()));
  }
  size.SetVisible(true);
  return unsaved;
}

void Options::GrowForDriveRow() {
  SetHeight(Height() + kRowHeight);
  OKButton.SetTop(OKButton.Top() + kRowHeight);
  SSTab1.SetHeight(SSTab1.Height() + kRowHeight);
  cancelButton.SetTop(OKButton.Top());
  applyButton.SetTop(OKButton.Top());
}

void Options::SizeForDriveRows(int rows) {
  SetHeight(kDesignHeight + kRowHeight * rows);
  OKButton.SetTop(kDesignButtonTop + kRowHeight * rows);
  cancelButton.SetTop(OKButton.Top());
  applyButton.SetTop(OKButton.Top());
  SSTab1.SetHeight(kDesignStripHeight + kRowHeight * rows);
}

void Options::RetireDriveRow(int row) {
  // The box keeps its state; it is simply no longer shown nor saved.
  ShowBox(Check1[kFirstDriveBox + row], false);
  ProgressBar1[kFirstDriveBox + row].SetVisible(false);
  SystemText[kFirstDriveRow + row].SetVisible(false);
  SystemInfo[kFirstDriveRow + row].SetVisible(false);
}

void Options::Timer2_Timer() {
  SystemInfoModule& info = program_.info;
  info.ListFixedDrives();
  if (info.FixedDriveCount > kMaxDriveRows) info.FixedDriveCount = kMaxDriveRows;
  const int count = std::max<int>(0, std::min<int>(info.FixedDriveCount, int(info.FixedDrives.size())));
  const std::vector<std::string> drives(info.FixedDrives.begin(), info.FixedDrives.begin() + count);
  if (count == DriveCountShown && (count == 0 || drives == DrivesShown)) return;

  for (int row = 0; row < DriveCountShown; ++row)
    driveChoices_[DrivesShown[row]] = Check1[kFirstDriveBox + row].Value();
  for (int row = count; row < DriveCountShown; ++row) RetireDriveRow(row);
  const std::vector<std::string> previous = DrivesShown;
  // Setting a box clicks it: Apply follows only the choices that differ from the stored ones.
  bool unsaved = applyButton.Enabled();
  for (int row = 0; row < count; ++row) {
    DriveIndex = static_cast<int16_t>(row);
    unsaved = LayOutDriveRow(row, drives[row], row < int(previous.size()) ? previous[row] : "") || unsaved;
  }
  applyButton.SetEnabled(unsaved);
  DrivesShown = drives;
  DriveCountShown = static_cast<int16_t>(count);
  SizeForDriveRows(count);
  RefreshStatisticBars();
}

}  // namespace sysvane
