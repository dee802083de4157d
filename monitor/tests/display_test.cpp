// The Monitor window: the rows its load builds, where it goes, and the bars its refresh sets.
#include "monitor/display.h"

#include "monitor/popup.h"
#include "monitor/window_placement.h"
#include "tests/support/window_test.h"

namespace sysvane::testing {
namespace {

using ::testing::ElementsAre;
constexpr int kNoRow = Display::kNoRow;

class DisplayTest : public WindowTest {
 protected:
  Display& display() { return program.display(); }
  std::vector<std::string> Captions() {
    std::vector<std::string> captions;
    for (int row = 0; display().Loaded() && row <= display().LastRow; ++row)
      captions.push_back(display().StatText[row].Caption());
    return captions;
  }
  int Bar(int slot) { return display().StatBar[display().StatRow[slot]].Value(); }
};

TEST_F(DisplayTest, OneRowPerSelectedStatisticInSlotOrderEachLoadFromScratch) {
  struct Case {
    std::vector<std::string> on;  // empty: the options were never saved
    bool windows98;
    uint8_t batteryFlag;
    std::vector<std::string> captions;
  };
  const std::string d = "D: drive disk usage:", e = "E: drive disk usage:", c = "C: drive disk usage:";
  const Case cases[] = {
      {{"ShowCPU", "ShowPhysMem", "ShowVirtMem", "ShowSysRsrc", "ShowGDIRsrc", "ShowUserRsrc", "ShowBattery",
        "ShowCdrive", "ShowEdrive"},
       true,
       8,
       {"CPU usage:", "Physical memory usage:", "Virtual memory usage:", "System resources:",
        "GDI resources:", "User resources:", "Battery status (charging):", c, e}},
      {{"ShowVirtMem"}, false, 8, {"Virtual memory usage:"}},
      {{"ShowBattery", "ShowCdrive"}, false, 1, {"Battery status:", c}},
      {{"ShowSysRsrc", "ShowGDIRsrc", "ShowUserRsrc", "ShowCPU", "ShowBattery"}, false, 128, {"CPU usage:"}},
      {{"ShowBattery"}, false, 255, {"Battery status (charging):"}},
      {{"ShowBattery", "ShowEdrive"}, false, 0, {e}},
      {{}, false, 8, {"CPU usage:", "Physical memory usage:", "Virtual memory usage:", c, d, e}},
      {{"ShowDdrive"}, false, 8, {d}},
      {{"ShowCPU"}, false, 8, {"CPU usage:"}},
      {{"ShowCPU", "ShowDdrive"}, false, 8, {"CPU usage:", d}},
      {{"ShowOnTop"}, false, 8, {}},
  };
  fp.kernel.SetFixedDrives({{"c:\\", {100, 50}}, {"d:\\", {100, 50}}, {"e:\\", {100, 50}}});
  fp.kernel.mountPoints["e:\\"] = "/home";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.captions.empty() ? "nothing" : c.captions.back());
    fp.settings.values.clear();
    if (!c.on.empty()) Select(c.on);
    program.info.WindowsFamily = c.windows98 ? 95 : 2000;
    Power(1, c.batteryFlag, c.batteryFlag == 0 ? 0 : 60);
    display().Show();
    EXPECT_EQ(Captions(), c.captions);
    EXPECT_EQ(display().Loaded(), !c.captions.empty());
    EXPECT_EQ(menu().mnuDisplay.Enabled(), !c.captions.empty());
    EXPECT_EQ(menu().mnuDisplay.Checked(), display().Loaded());
    if (!display().Loaded()) continue;
    const int rows = int(c.captions.size());
    EXPECT_FALSE(display().StatText.Exists(rows) || display().StatBar.Exists(rows));
    EXPECT_EQ(display().Height(), 870 + 270 * (rows - 1));
    std::vector<int> slotOfRow(rows, -1);
    for (int slot = 0; slot < int(display().StatRow.size()); ++slot) {
      const int row = display().StatRow[slot];
      if (row == kNoRow) continue;
      ASSERT_TRUE(row >= 0 && row < rows && slotOfRow[row] == -1) << "slot " << slot;
      slotOfRow[row] = slot;
      EXPECT_TRUE(row == 0 || slotOfRow[row - 1] < slot) << "rows in slot order";
    }
    for (int row = 0; row < rows; ++row) {
      const auto& bar = display().StatBar[row];
      EXPECT_EQ(bar.Top() - display().StatText[row].Top(),
                display().StatBar[0].Top() - display().StatText[0].Top());
      EXPECT_EQ(display().StatText[row].Top() - display().StatText[0].Top(), 270 * row);
      EXPECT_TRUE(bar.Visible() && display().StatText[row].Visible());
      const bool battery = slotOfRow[row] == Display::kSlotBattery;
      EXPECT_EQ(bar.StartColor(), battery ? forms::Color::Rgb(255, 0, 0) : forms::Color::Rgb(0, 192, 0))
          << row;
      EXPECT_EQ(display().StatText[row].ToolTipText(), slotOfRow[row] == 7   ? "/"
                                                       : slotOfRow[row] == 9 ? "/home"
                                                                             : "");
    }
    EXPECT_EQ(display().StatSlotCount, 10);
    display().Unload();
  }
}

TEST_F(DisplayTest, PlacedAsStoredOrOnTheWorkAreasBottomAndNeverOffEveryScreen) {
  struct Case {
    const char *left, *top;  // nullptr: not stored
    forms::Twips workAreaHeight, expectedLeft, expectedTop;
  };
  const Case cases[] = {
      {nullptr, nullptr, 15600, 0, 15600 - 870},    {"9360", "1234.5", 15600, 9360, 1234.5},
      {nullptr, nullptr, 15606.5, 0, 14736},        {nullptr, nullptr, 15607.5, 0, 14738},  // halves to even
      {"52000", "6000", 15600, 48000 - 4110, 6000},  // a third monitor that has gone
      {"30000", "6000", 15600, 30000, 6000},        {"30000", "-20000", 15600, 30000, 0},
  };
  rt.workAreas = {{0, 0, 28800, 15600}, {28800, 0, 19200, 15600}};
  for (const Case& c : cases) {
    fp.settings.values.clear();
    Select({"ShowCPU"});
    if (c.left) fp.Set("MainLeft", c.left), fp.Set("MainTop", c.top);
    rt.workArea.Height = c.workAreaHeight;
    display().Show();
    EXPECT_EQ(display().Left(), c.expectedLeft) << c.left;
    EXPECT_EQ(display().Top(), c.expectedTop) << c.top;
    // Written at once, and again as it is when the window closes.
    EXPECT_EQ(fp.settings.values["MainTop"], PositionText(c.expectedTop));
    EXPECT_EQ(fp.settings.values["FirstTimePosition"], "Yes");
    display().NotifyMoved(3000, 4500);
    display().Unload();
    EXPECT_EQ(fp.settings.values["MainLeft"] + "," + fp.settings.values["MainTop"], "3000,4500");
  }
}

TEST_F(DisplayTest, OnTopFollowsTheSettingAsItIsAtEachLoad) {
  Select({"ShowCPU"});
  for (const char* onTop : {"0", "1", "0", "yes"}) {
    fp.Set("ShowOnTop", onTop);
    display().Show();
    EXPECT_EQ(display().OnTop(), std::string(onTop) == "1") << onTop;
    display().Unload();
  }
}

TEST_F(DisplayTest, LoadClosesTheRollUpAndUnloadReleasesTheTrayFlag) {
  Select({"ShowCPU"});
  program.popup().Show();
  program.info.MonitorOpenedFromTray = true;
  display().Show();
  EXPECT_FALSE(program.popup().Loaded() || program.info.PopupShowing);
  display().Unload();
  EXPECT_FALSE(program.info.MonitorOpenedFromTray);
  EXPECT_EQ(display().CPUMeter, nullptr);
}

TEST_F(DisplayTest, EachBarShowsItsOwnFigureRoundedHalvesToEvenAndKeepsItWhenItCannotBeHad) {
  fp.kernel.SetFixedDrives({{"c:\\", {1000, 100}}, {"d:\\", {1000, 700}}, {"e:\\", {1000, 500}}});
  program.info.WindowsFamily = 95;
  fp.resources.free[0] = 81;
  fp.resources.free[2] = 72;
  Select({"ShowCPU", "ShowPhysMem", "ShowVirtMem", "ShowSysRsrc", "ShowUserRsrc", "ShowCdrive", "ShowDdrive",
          "ShowEdrive"});
  SetMemory(64ull << 30, (64ull << 30) - (81ull << 29), 1000ull << 32, 795ull << 32);  // 63.28 %, 20.5 %
  display().Show();
  fp.kernel.systemTime = 9'000'000;  // 0.9 s, a quarter of it idle
  fp.kernel.idleTime = 2'250'000;
  fp.runtime.Advance(900);
  EXPECT_THAT(std::vector<int>({Bar(0), Bar(1), Bar(2), Bar(3), Bar(5), Bar(7), Bar(8), Bar(9)}),
              ElementsAre(75, 63, 20, 81, 72, 90, 30, 50));
  SetMemory(1000, 215, 1000, 785);          // 78.5 and 21.5
  fp.kernel.processorCount = std::nullopt;  // the sampler answers -1
  fp.runtime.Advance(900);
  EXPECT_THAT(std::vector<int>({Bar(0), Bar(1), Bar(2)}), ElementsAre(0, 78, 22));
  SetMemory(0, 0, 1000, 100);                    // no total: no figure
  fp.kernel.disks.erase("d:\\");                 // D cannot be read
  fp.kernel.disks["e:\\"] = DiskSpace{0, 0, 0};  // E reports no size
  program.info.FixedDrives = {"e:\\"};           // another window has rebuilt the shared list
  fp.kernel.diskQueryLog.clear();
  fp.runtime.Advance(900);
  EXPECT_THAT(std::vector<int>({Bar(1), Bar(2), Bar(7), Bar(8), Bar(9)}), ElementsAre(78, 90, 90, 30, 50));
  EXPECT_THAT(fp.kernel.diskQueryLog, ElementsAre("c:\\", "d:\\", "e:\\"));
}

TEST_F(DisplayTest, TheBatteryRowFollowsThePowerStateAndKeepsItsLastStateWhenTheBatteryGoes) {
  struct Case {
    uint8_t ac, flag, percent;
    const char* caption;
  };
  const Case cases[] = {{0, 1, 80, "Battery status (unplugged):"},
                        {0, 8, 100, "Battery status (unplugged):"},
                        {1, 1, 70, "Battery status:"},
                        {1, 8, 100, "Battery status:"},
                        {1, 2, 40, "Battery status (charging):"},
                        {1, 0, 1, "Battery status:"},
                        {1, 128, 255, "Battery status:"}};
  Power(1, 1, 50);
  Select({"ShowBattery"});
  display().Show();
  for (const Case& c : cases) {
    Power(c.ac, c.flag, c.percent);
    fp.runtime.Advance(900);
    EXPECT_EQ(display().StatText[0].Caption(), c.caption) << int(c.ac) << " " << int(c.flag);
    EXPECT_EQ(Bar(Display::kSlotBattery), c.flag == 128 ? 1 : c.percent);
  }
}

}  // namespace
}  // namespace sysvane::testing
