// The Options dialog: its switches, its buttons, its drive rows, its previews and its System page.
#include <gtest/gtest.h>

#include <algorithm>
#include <ranges>

#include "monitor/display.h"
#include "monitor/tests/looks.h"
#include "options/system_page.h"
#include "options/tests/options_fixture.h"

namespace sysvane {
namespace {

using testing::Colour;
using testing::kGiB;
using testing::Place;
using OptionsTest = testing::OptionsFixture;

using Switch = std::tuple<std::string, int, int>;  // key, page, index
// In the order the dialog saves them, after Defined.
const Switch kSwitches[] = {
    {"ShowStatsAtStartup", 0, 1}, {"ShowOnTop", 0, 2},   {"ShowSplash", 0, 3},  {"ShowCPU", 1, 0},
    {"ShowPhysMem", 1, 1},        {"ShowVirtMem", 1, 2}, {"ShowSysRsrc", 1, 3}, {"ShowGDIRsrc", 1, 4},
    {"ShowUserRsrc", 1, 5},       {"ShowBattery", 1, 6}, {"ShowCdrive", 1, 7},  {"ShowDdrive", 1, 8},
    {"ShowEdrive", 1, 9}};

// Power status; then the battery box enabled, its caption and its bar, an unknown charge (255)
// leaving the bar as it was.
const std::tuple<SYSTEM_POWER_STATUS, bool, std::string, int> kPowers[] = {
    {{1, 128, 255, 0, 0, 0}, false, "Battery status:", 0},
    {{1, 0, 50, 0, 0, 0}, true, "Battery status (charging):", 50},
    {{1, 1, 100, 0, 0, 0}, true, "Battery status:", 100},
    {{0, 2, 255, 0, 0, 0}, true, "Battery status (unplugged):", 0}};

// In turn no key, then each key holds a grey 2 (neither a default nor a click gives it). This
// family has no free-resources figures: their boxes are off and out of reach, their bars empty.
// Each time the dialog loads on a power state of its own.
TEST(OptionsSwitches, EachKeyLoadsIntoAndSavesFromItsOwnBox) {
  for (int chosen = -1; chosen < 13; ++chosen) {
    testing::OptionsWorld w;
    const auto& [power, batteryBox, batteryCaption, batteryBar] = kPowers[(chosen + 1) % 4];
    w.fp.kernel.power = power;
    w.fp.resources.free[0] = w.fp.resources.free[1] = w.fp.resources.free[2] = 50;
    w.SetDrives("de");
    if (chosen >= 0) w.fp.Set(std::get<0>(kSwitches[chosen]), "2");
    // The tray icon choice too, stored or damaged.
    const std::string trayIcon = chosen % 2 ? "2" : "0";
    w.fp.Set("TrayIcon", chosen % 2 ? "2" : "two");
    Options& o = w.Open();
    EXPECT_TRUE(o.Option1[std::stoi(trayIcon)].Value() && !o.Option1[1].Value());
    for (int i = 3; i <= 5; ++i)
      EXPECT_FALSE(o.Check1[i].Enabled() || o.Check1[i].TabStop() || o.ProgressBar1[i].Value());
    std::vector<std::pair<std::string, std::string>> saved{{"Defined", "Yes"}};
    for (int i = 0; i < 13; ++i) {
      const auto& [key, page, index] = kSwitches[i];
      const int state = i == chosen ? 2 : key == "ShowStatsAtStartup" || key == "ShowSplash";
      EXPECT_EQ((page == 0 ? o.Check0 : o.Check1)[index].Value(), state) << chosen << " " << key;
      saved.push_back({key, std::to_string(state)});
    }
    saved.push_back({"TrayIcon", trayIcon});
    EXPECT_EQ(std::tuple(o.Check1[6].Enabled(), o.Check1[6].Caption(), o.ProgressBar1[6].Value()),
              std::tuple(batteryBox, batteryCaption, batteryBar));
    EXPECT_FALSE(o.Check0[0].Value() || o.applyButton.Enabled());
    o.applyButton_Click();
    EXPECT_EQ(std::pair(w.fp.settings.writes, w.menu().mnuSplash.Checked()), std::pair(saved, chosen != 2));
  }
  // Whole numbers as a 16-bit conversion rounds them (halves to even); parsing is the settings'.
  const std::pair<const char*, int> rows[] = {{"1", 1},   {"2", 2},   {"3", 0},   {"-1", 0},
                                              {"1.5", 2}, {"2.5", 2}, {"0.5", 0}, {"abc", 0}};
  for (const auto& [text, state] : rows) EXPECT_EQ(Options::BoxStateFromText(text), state) << text;
}

// Boxes clicked as "page:index", buttons pressed; then the warnings, whether the dialog is still
// open, saved, the tray's Monitor command enabled (it starts enabled) and the Monitor window open.
// A stored resource switch counts as selected although its box is disabled on this family.
TEST(OptionsButtons, OkCancelAndCloseSaveAndEnableAsTheBoxesSay) {
  const std::tuple<const char*, std::vector<std::string>, std::vector<std::string>, size_t, bool, bool, bool,
                   bool>
      rows[] = {{"", {}, {"OK"}, 1, true, false, true, false},
                {"", {}, {"OK", "OK"}, 1, false, false, false, false},
                {"", {"1:1"}, {"OK"}, 0, false, true, true, true},
                {"", {"1:1", "0:1"}, {"OK"}, 0, false, true, true, false},
                {"ShowGDIRsrc", {}, {"OK"}, 0, false, false, true, false},
                {"", {"1:7"}, {"Cancel"}, 0, false, false, true, false},
                {"", {}, {"Cancel"}, 0, false, false, false, false},
                {"", {"1:0"}, {"Close"}, 0, false, false, true, false}};
  for (const auto& [stored, clicks, presses, warnings, open, saved, monitorCommand, monitor] : rows) {
    testing::OptionsWorld w;
    if (*stored) w.fp.Set(stored, "1");
    w.menu().mnuDisplay.SetEnabled(true);
    Options& o = w.Open();
    for (const auto& click : clicks) (click[0] == '0' ? o.Check0 : o.Check1)[click[2] - '0'].NotifyClick();
    for (const auto& press : presses)
      press == "Close" ? o.NotifyCloseRequest() : (press == "OK" ? o.OKButton : o.cancelButton).NotifyClick();
    const auto warned =
        std::vector<std::string>(warnings, "Warning:  No statistics were selected for display");
    EXPECT_EQ(std::tuple(w.warnings, o.SSTab1.Tab(), o.Loaded(), w.menu().mnuOptions.Checked(),
                         w.fp.runtime.TimerRunning(o.Timer2), w.fp.settings.values.count("Defined") == 1,
                         w.menu().mnuDisplay.Enabled(), w.fp.program.display().Loaded()),
              std::tuple(warned, warnings ? 1 : 0, open, open, open, saved, monitorCommand, monitor))
        << stored << " " << clicks.size() << " " << presses.back();
  }
}

// The box shows whether the desktop would start the program (not this entry, switched off); a save
// writes the program's own path or removes the entry, and a path no launcher can start is reported
// while the rest of the save goes on. Each save: the entry's Exec line, the messages so far, the
// splash switch saved and the menu's mark of it, Apply.
TEST_F(OptionsTest, TheStartUpBoxKeepsTheAutostartEntry) {
  const std::string entry = "/home/user/.config/autostart/Sysvane.desktop";
  fp.desktop.files[entry] = "[Desktop Entry]\nExec=/old/sysvane\nHidden=true\n";
  Options& o = Open();
  std::string shown = std::to_string(o.Check0[0].Value());
  for (const char* program : {"/home/user/apps/sysvane", "/usr/bin/sysvane", "/home/user/100%/sysvane"}) {
    fp.desktop.executablePath = program;
    o.Check0[0].NotifyClick();
    o.Check0[3].NotifyClick();
    o.applyButton.NotifyClick();
    const std::string text = fp.desktop.files.contains(entry) ? fp.desktop.files[entry] : "\nExec=none\n";
    const size_t exec = text.find("\nExec=") + 1;
    shown += " " + text.substr(exec, text.find('\n', exec) - exec) + " " +
             std::to_string(fp.runtime.msgBoxes.size()) + fp.settings.values["ShowSplash"] +
             std::to_string(menu().mnuSplash.Checked()) + std::to_string(o.applyButton.Enabled());
  }
  EXPECT_EQ(shown, "0 Exec=/home/user/apps/sysvane 0000 Exec=none 0110 Exec=none 1000");
}

// Where every control of the dialog lies, page by page, and the battery's bar running from red to green;
// the machine's facts on the System page in the user's locale, a name too wide for its row without its
// parenthesised part.
TEST_F(OptionsTest, TheDialogsDesignAndTheSystemPagesFacts) {
  fp.kernel.systemName = SystemName{"Linux", "Debian GNU/Linux 12 (bookworm)", 6, 1, 76};
  fp.kernel.numberOfProcessors = 4;
  fp.processor.name = "Q7";
  fp.processor.speed = "2400M";
  fp.runtime.screen.Width = 28807.5;
  fp.runtime.locale = LocaleInfo{".", ","};
  Options& o = Open();
  std::string shown =
      o.Caption() + " " + std::to_string(int(o.ScaleWidth())) + "x" + std::to_string(int(o.ScaleHeight()));
  auto add = [&](const forms::Control& c) { shown += " " + Place(c); };
  add(o.SSTab1);
  add(o.Frame1);
  for (int i = 0; i < 4; ++i) add(o.Check0[i]);
  for (int i = 0; i < 3; ++i) add(o.Option1[i]);
  for (int i = 0; i < 8; ++i) {
    add(o.Check1[i]);
    add(o.ProgressBar1[i]);
  }
  for (int i = 0; i < 7; ++i) {
    add(o.SystemText[i]);
    add(o.SystemInfo[i]);
    shown += " " + o.SystemInfo[i].Caption();
  }
  add(o.WinVersion);
  add(o.OKButton);
  add(o.cancelButton);
  add(o.applyButton);
  // The Tab key: a control taking the focus shows its page; the strip hands it on to its page's first.
  for (forms::Control* c :
       std::initializer_list<forms::Control*>{&o.Check1[4], &o.Check0[2], &o.Check1[5], &o.Option1[1]}) {
    c->NotifyGotFocus();
    shown += " " + std::to_string(o.SSTab1.Tab());
  }
  for (int tab : {2, 1, 0}) {
    o.SSTab1.SetTab(tab);
    o.SSTab1.NotifyGotFocus();
    shown += std::to_string(o.OKButton.HasFocus()) + std::to_string(o.Check1[0].HasFocus()) +
             std::to_string(o.Check0[0].HasFocus());
  }
  shown += " " + o.SystemText[5].Caption() + " " + o.WinVersion.Caption();
  for (int i : {5, 6})
    shown += " " + Colour(o.ProgressBar1[i].StartColor()) + ">" + Colour(o.ProgressBar1[i].EndColor());
  EXPECT_EQ(shown,
            " Sysvane Options 4680x3750 90,120 4515x3060 240,1740 4035x1185"
            " 240,480 2775x255 240,780 3375x255 240,1080 3255x255 240,1380 2775x255"
            " 420,2010 3615x255 420,2310 3615x255 420,2610 3615x255"
            " 240,480 2055x195 2460,480 1815x255 240,780 2055x255 2460,780 1815x255"
            " 240,1080 2055x255 2460,1080 1815x255 240,1380 2190x255 2460,1380 1815x255"
            " 240,1680 2055x255 2460,1680 1815x255 240,1980 2055x255 2460,1980 1815x255"
            " 240,2280 2190x255 2460,2280 1815x255 240,2580 2055x255 2460,2580 1815x255"
            " 240,480 1590x255 1980,480 2055x240 Q7 (2,40 GHz) 240,780 1590x255 1980,780 2055x240 4"
            " 240,1080 1590x255 1980,1080 2055x240 8.589.934.592 bytes"
            " 240,1380 1590x255 1980,1380 2055x240 140.737.488.355.328 bytes"
            " 240,1680 1590x255 1980,1680 2055x240 1920,5 x 1080"
            " 240,1980 1590x255 1980,1980 2055x240 Debian GNU/Linux 12"
            " 240,2580 1590x255 1980,2580 2055x240 107.374.182.400 bytes 1980,2160 2055x240"
            " 1110,3285 1095x375 2310,3285 1095x375 3510,3285 1095x375 1 0 1 0100010001"
            " Linux version: Version 6.1 Build 76"
            " 0.192.0>255.0.0 255.0.0>0.192.0");
}

// Steps: a box clicked ("click 9": D's is 8), the drives changed and re-checked, Apply, or OK and the
// dialog opened again. After each: every drive row shown as its letter, its choice and its top ("D1@2880";
// "!" when its bar or System page line is not level with it, or a hidden row shows any of them), the
// window's height, the buttons' top and the tab strip's height, Apply when it is on, and the drive
// switches written ("C0 E1"). Each drive keeps its own choice, unsaved too, whatever row it takes.
TEST_F(OptionsTest, DriveRowsFollowTheDrivesAndKeepEachDrivesChoice) {
  // clang-format off
  const std::pair<std::string, std::string> steps[] = {
      {"", "D1@2880 E0@3180 4725 3885 3660 wrote"}, {"click 9", "D1@2880 E1@3180 4725 3885 3660 apply wrote"},
      {"drives e", "E1@2880 4425 3585 3360 apply wrote"}, {"apply", "E1@2880 4425 3585 3360 wrote C0 E1"},
      {"drives def", "D1@2880 E1@3180 F1@3480 5025 4185 3960 wrote"},  // back, and new with a stored 1
      {"click 8", "D0@2880 E1@3180 F1@3480 5025 4185 3960 apply wrote"},
      {"drives ef", "E1@2880 F1@3180 4725 3885 3660 apply wrote"}, {"apply", "E1@2880 F1@3180 4725 3885 3660 wrote C0 E1 F1"},
      {"drives def", "D0@2880 E1@3180 F1@3480 5025 4185 3960 apply wrote"},
      {"drives defghijkl", "D0@2880 E1@3180 F1@3480 G0@3780 H0@4080 I0@4380 J0@4680 6225 5385 5160 apply wrote"},
      {"OK", "D0@2880 E1@3180 F1@3480 G0@3780 H0@4080 I0@4380 J0@4680 6225 5385 5160 wrote C0 D0 E1 F1 G0 H0 I0 J0"},
      {"option 1", "D0@2880 E1@3180 F1@3480 G0@3780 H0@4080 I0@4380 J0@4680 6225 5385 5160 apply wrote"}};
  // clang-format on
  fp.Set("ShowDdrive", "1");
  fp.Set("ShowFdrive", "1");
  SetDrives("de");
  Options* o = &Open();
  for (const auto& [step, expected] : steps) {
    const std::string what = step.substr(0, step.find(' ')), argument = step.substr(step.find(' ') + 1);
    if (what == "click") o->Check1[std::stoi(argument)].NotifyClick();
    if (what == "drives") {
      SetDrives(argument);
      fp.runtime.Fire(o->Timer2);
    }
    if (what == "apply") o->applyButton.NotifyClick();
    if (what == "OK") {
      o->OKButton.NotifyClick();
      o = &Open();
    }
    if (what == "option") o->Option1[std::stoi(argument)].NotifyClick();
    std::string shown;
    for (int row = 8; row < 15; ++row) {
      const forms::CheckBox& box = o->Check1[row];
      const forms::Control* beside[] = {&o->ProgressBar1[row], &o->SystemText[row - 1],
                                        &o->SystemInfo[row - 1]};
      bool wrong = box.Enabled() != box.Visible() || box.TabStop() != box.Visible();
      for (const forms::Control* c : beside)
        wrong = wrong || c->Visible() != box.Visible() || (box.Visible() && c->Top() != box.Top());
      if (box.Visible())
        shown += box.Caption().substr(0, 1) + std::to_string(box.Value()) + "@" +
                 std::to_string(int(box.Top())) + " ";
      if (wrong) shown += "! ";
    }
    for (forms::Twips t : {o->Height(), o->OKButton.Top(), o->SSTab1.Height()})
      shown += std::to_string(int(t)) + " ";
    shown +=
        o->cancelButton.Top() != o->OKButton.Top() || o->applyButton.Top() != o->OKButton.Top() ? "! " : "";
    shown += o->applyButton.Enabled() ? "apply wrote" : "wrote";
    for (const auto& [key, value] : fp.settings.writes)
      if (key.ends_with("drive")) shown += " " + key.substr(4, 1) + value;
    fp.settings.writes.clear();
    EXPECT_EQ(shown, expected) << step;
  }
}

// The previews show each statistic once their page shows; a failed query or a total of 0 leaves a
// bar as it was, never with another drive's figure; a failed CPU sample shows 0. (That they sample
// only while their page shows is a cost, not a sight.)
TEST_F(OptionsTest, PreviewsShowEachStatisticOnTheirPage) {
  fp.kernel.memory = MEMORYSTATUS{32, 0, 1000, 250, 0, 0, 4000, 3000};
  SetDrives("d");
  fp.kernel.disks.erase("c:\\");
  Options& o = Open();
  auto bars = [&] {
    return std::tuple(o.ProgressBar1[0].Value(), o.ProgressBar1[1].Value(), o.ProgressBar1[2].Value(),
                      o.ProgressBar1[7].Value(), o.ProgressBar1[8].Value(), o.SystemInfo[6].Caption());
  };
  EXPECT_EQ(bars(), std::tuple(0, 75, 25, 0, 90, ""));
  fp.kernel.memory = MEMORYSTATUS{32, 0, 0, 0, 0, 0, 4000, 1000};
  fp.kernel.disks.erase("d:\\");
  fp.kernel.disks["c:\\"] = DiskSpace{90 * kGiB, 100 * kGiB, 90 * kGiB};
  fp.kernel.systemTime = 1'000'000;
  fp.kernel.idleTime = 400'000;
  fp.runtime.Advance(2700);
  o.SSTab1.SetTab(1);
  EXPECT_EQ(bars(), std::tuple(60, 75, 75, 10, 90, "107,374,182,400 bytes"));
  fp.kernel.disks["c:\\"] = DiskSpace{0, 0, 0};
  fp.kernel.processorCount = std::nullopt;
  fp.runtime.Advance(1800);
  EXPECT_EQ(std::pair(o.ProgressBar1[0].Value(), o.ProgressBar1[7].Value()), std::pair(0, 10));
}

// The resolution is in the display's own pixels at any scale. A name that would wrap into the
// version line below loses its trailing parenthesised part, and only that; one letter is 100 twips
// wide here, the row 1000 with a pixel to spare.
TEST(SystemPageTexts, ResolutionInTheDisplaysPixelsAndOnlyATooWideNameLosesItsLastParenthesis) {
  const std::pair<forms::ScreenInfo, const char*> screens[] = {{{19200, 12000, 15, 15}, "1280 x 800"},
                                                               {{12800, 8000, 10, 10}, "1280 x 800"},
                                                               {{9600, 6000, 0, 0}, "640 x 400"}};
  for (const auto& [screen, shown] : screens)
    EXPECT_EQ(ScreenResolutionText(screen, LocaleInfo{".", ","}), shown);
  const std::pair<const char*, const char*> rows[] = {{"Arch (x)", "Arch (x)"},
                                                      {"Debian 12 (bookworm)", "Debian 12"},
                                                      {"Debian (12) bookworm", "Debian (12) bookworm"},
                                                      {"", ""}};
  for (const auto& [name, fitted] : rows) {
    EXPECT_EQ(FitSystemName(name, 1000 + forms::kTwipsPerPixel,
                            [](const std::string& text) { return 100.0 * text.size(); }),
              fitted);
  }
}

}  // namespace
}  // namespace sysvane
