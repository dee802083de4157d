// Fixed drives that appear, vanish between the drive list and the disk query, or come back under
// another letter while the Monitor window, the roll-up and the Options dialog are open together.
// At every moment each drive row shows a figure its own drive had (or nothing yet), and within
// one ten-second re-check every window follows the machine.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <random>
#include <set>
#include <string_view>

#include "monitor/display.h"
#include "monitor/popup.h"
#include "options/options_dialog.h"
#include "options/system_page.h"
#include "stats/format.h"
#include "tests/faults/fault_program.h"

namespace sysvane::faults {
namespace {

struct Drive {
  std::string root;   // "d:\"
  std::string mount;  // "/data"
  int usedPercent;    // 1..99, told apart from every other drive's
};

// Every drive's size tells it apart too: (1000 + used percent) * 409,600 bytes.
uint64_t TotalOf(int usedPercent) {
  return uint64_t(1000 + usedPercent) * 100 * 4096;
}
constexpr int kRecheckMs = 10000;

// "d:\" for a text made of a drive letter and `rest` ("D: drive disk usage:"); "" otherwise.
std::string LetterRoot(const std::string& text, std::string_view rest) {
  if (text.size() != rest.size() + 1 || text[0] < 'A' || text[0] > 'Z' || text.substr(1) != rest) return "";
  return std::string(1, char(text[0] - 'A' + 'a')) + ":\\";
}

// The drive and the figure of a roll-up line "D: drive usage: 40%"; nullopt for another line.
std::optional<std::pair<std::string, int>> RollupDriveLine(const std::string& text) {
  constexpr std::string_view kMiddle = ": drive usage: ";
  if (text.size() < kMiddle.size() + 3 || text.substr(1, kMiddle.size()) != kMiddle || text.back() != '%') {
    return std::nullopt;
  }
  const std::string root = LetterRoot(text.substr(0, 2), ":");
  if (root.empty()) return std::nullopt;
  return std::make_pair(root, std::stoi(text.substr(1 + kMiddle.size())));
}

class DrivesFaultTest : public ::testing::Test {
 protected:
  DrivesFaultTest() {
    fp.Set("Defined", "Yes");
    for (const char* key : {"ShowCPU", "ShowCdrive", "ShowDdrive", "ShowEdrive", "ShowFdrive", "ShowHdrive"})
      fp.Set(key, "1");
    fp.Set("ShowGdrive", "0");
    seen_["c:\\"] = {60};
    sizes_["c:\\"] = {ByteCountText(100ull << 30, {})};
    mounts_["c:\\"] = {"/"};
  }

  Display& display() { return fp.program.display(); }
  Popup& popup() { return fp.program.popup(); }
  Options& options() { return fp.program.options(); }

  // The machine from now on: drive C and these. Nothing is told to the windows.
  void SetDrives(const std::vector<Drive>& drives) {
    std::vector<std::pair<std::string, std::pair<uint64_t, uint64_t>>> sizes{
        {"c:\\", {100ull << 30, 40ull << 30}}};
    fp.kernel.mountPoints = {{"c:\\", "/"}};
    for (const Drive& drive : drives) {
      const uint64_t total = TotalOf(drive.usedPercent);
      sizes.push_back({drive.root, {total, total / 100 * uint64_t(100 - drive.usedPercent)}});
      fp.kernel.mountPoints[drive.root] = drive.mount;
      seen_[drive.root].insert(drive.usedPercent);
      sizes_[drive.root].insert(ByteCountText(TotalOf(drive.usedPercent), {}));
      mounts_[drive.root].insert(drive.mount);
    }
    fp.kernel.SetFixedDrives(sizes);
    current_ = drives;
  }

  // The same change, made while a window is between its drive list and its first disk query.
  void SetDrivesBetweenListAndQuery(const std::vector<Drive>& drives) {
    fp.kernel.betweenListAndQuery = [this, drives] { SetDrives(drives); };
  }

  void OpenAll() {
    display().Show();
    options().Show();
    options().SSTab1.SetTab(1);  // the page whose previews refresh
    popup().Show();
    CheckNoForeignFigure("after opening");
  }

  // Advances the clock in small steps, reopening the roll-up whenever it has gone, and checks
  // every window after every step.
  void Run(int ms, const std::string& when) {
    for (int done = 0; done < ms; done += 300) {
      fp.runtime.Advance(300);
      if (!popup().Loaded()) {
        popup().Show();
        ++popupLoads_;
      }
      CheckNoForeignFigure(when + " at +" + std::to_string(done + 300) + " ms");
    }
  }

  // Every row names a drive and shows a figure, a size and a place that drive has had.
  void CheckNoForeignFigure(const std::string& when) {
    if (display().Loaded()) {
      for (int row = 0; row <= display().LastRow; ++row) {
        const std::string root = LetterRoot(display().StatText[row].Caption(), ": drive disk usage:");
        if (root.empty()) continue;
        const int value = display().StatBar[row].Value();
        EXPECT_TRUE(value == 0 || seen_[root].contains(value))
            << when << ": Monitor row " << row << " of " << root << " shows " << value;
        EXPECT_TRUE(mounts_[root].contains(display().StatText[row].ToolTipText()))
            << when << ": Monitor row " << row << " of " << root << " says it lives in "
            << display().StatText[row].ToolTipText();
      }
    }
    if (popup().Loaded()) {
      for (int i = 0; i <= popup().Stat.UBound(); ++i) {
        const std::string text = popup().Stat[i].Caption();
        const auto line = RollupDriveLine(text);
        if (!line) continue;
        EXPECT_TRUE(seen_[line->first].contains(line->second))
            << when << ": roll-up line " << i << " reads " << text;
      }
    }
    if (options().Loaded()) {
      for (int k = 0; k <= Options::kMaxDriveRows; ++k) {
        const int box = 7 + k;  // box 7 is drive C, 8 and up the other drives
        if (!options().Check1[box].Visible()) continue;
        const std::string root = LetterRoot(options().Check1[box].Caption(), ": drive disk usage:");
        ASSERT_FALSE(root.empty()) << when << ": box " << box << " reads " << options().Check1[box].Caption();
        const int value = options().ProgressBar1[box].Value();
        EXPECT_TRUE(value == 0 || seen_[root].contains(value))
            << when << ": Options bar " << box << " of " << root << " shows " << value;
        const forms::Label& size = options().SystemInfo[6 + k];
        EXPECT_EQ(LetterRoot(options().SystemText[6 + k].Caption(), ": drive disk size:"), root) << when;
        EXPECT_TRUE(size.Caption().empty() || sizes_[root].contains(size.Caption()))
            << when << ": size of " << root << " reads " << size.Caption();
      }
    }
  }

  // After a re-check: every window shows exactly the drives there are, with their own figures.
  void CheckFollows(const std::string& when) {
    std::vector<std::string> selected;
    for (const Drive& drive : current_) {
      if (fp.settings.values[DriveKey(drive.root)] == "1") selected.push_back(drive.root);
    }
    auto percentOf = [&](const std::string& root) {
      for (const Drive& drive : current_)
        if (drive.root == root) return drive.usedPercent;
      return 60;  // drive C
    };
    auto mountOf = [&](const std::string& root) { return fp.kernel.mountPoints[root]; };

    ASSERT_TRUE(display().Loaded()) << when;
    std::vector<std::string> shown;
    for (int row = 0; row <= display().LastRow; ++row) {
      const std::string root = LetterRoot(display().StatText[row].Caption(), ": drive disk usage:");
      if (root.empty() || root == "c:\\") continue;
      shown.push_back(root);
      EXPECT_EQ(display().StatBar[row].Value(), percentOf(root)) << when << ": Monitor row of " << root;
      EXPECT_EQ(display().StatText[row].ToolTipText(), mountOf(root)) << when << ": Monitor row of " << root;
    }
    EXPECT_EQ(shown, selected) << when << ": the Monitor window's drive rows";

    ASSERT_TRUE(options().Loaded()) << when;
    std::vector<std::string> rows;
    for (int k = 1; k <= Options::kMaxDriveRows; ++k) {
      if (!options().Check1[7 + k].Visible()) continue;
      const std::string root = LetterRoot(options().Check1[7 + k].Caption(), ": drive disk usage:");
      rows.push_back(root);
      EXPECT_EQ(options().ProgressBar1[7 + k].Value(), percentOf(root))
          << when << ": Options bar of " << root;
      EXPECT_EQ(options().SystemInfo[6 + k].Caption(), ByteCountText(TotalOf(percentOf(root)), {}))
          << when << ": size of " << root;
    }
    std::vector<std::string> listed;
    for (const Drive& drive : current_) listed.push_back(drive.root);
    EXPECT_EQ(rows, listed) << when << ": the Options dialog's drive rows";

    // The roll-up lists the drives there were when it opened: wait for a fresh one.
    const int loads = popupLoads_;
    while (popupLoads_ == loads) Run(300, when + ", waiting for a new roll-up");
    std::vector<std::string> lines;
    for (int i = 0; i <= popup().Stat.UBound(); ++i) {
      const auto line = RollupDriveLine(popup().Stat[i].Caption());
      if (!line || line->first == "c:\\") continue;
      lines.push_back(line->first);
      EXPECT_EQ(line->second, percentOf(line->first)) << when << ": roll-up line of " << line->first;
    }
    EXPECT_EQ(lines, selected) << when << ": the roll-up's drive lines";
  }

  // Once every window has followed, only the present figures count from here on.
  void Forget() {
    seen_.clear();
    sizes_.clear();
    mounts_.clear();
    seen_["c:\\"] = {60};
    sizes_["c:\\"] = {ByteCountText(100ull << 30, {})};
    mounts_["c:\\"] = {"/"};
    for (const Drive& drive : current_) {
      seen_[drive.root] = {drive.usedPercent};
      sizes_[drive.root] = {ByteCountText(TotalOf(drive.usedPercent), {})};
      mounts_[drive.root] = {drive.mount};
    }
  }

  FaultProgram fp;
  std::vector<Drive> current_;
  std::map<std::string, std::set<int>> seen_;
  std::map<std::string, std::set<std::string>> sizes_;
  std::map<std::string, std::set<std::string>> mounts_;
  int popupLoads_ = 0;
};

TEST_F(DrivesFaultTest, ADriveThatAppearsGetsItsRowsWithinOneRecheck) {
  SetDrives({{"d:\\", "/data", 10}});
  OpenAll();
  Run(2000, "before");
  SetDrives({{"d:\\", "/data", 10}, {"e:\\", "/srv", 30}});
  Run(kRecheckMs, "after E appeared");
  CheckFollows("E appeared");
}

TEST_F(DrivesFaultTest, ADriveThatVanishesBetweenTheListAndTheQueryShowsNoOtherDrivesFigure) {
  SetDrives({{"d:\\", "/data", 10}, {"e:\\", "/srv", 30}, {"f:\\", "/backup", 50}});
  OpenAll();
  Run(2000, "before");
  CheckFollows("at the start");
  // D goes while a window holds a list that still names it: the drives after it move up a letter.
  SetDrivesBetweenListAndQuery({{"d:\\", "/srv", 70}, {"e:\\", "/backup", 90}});
  Run(kRecheckMs, "after D vanished");
  ASSERT_FALSE(fp.kernel.betweenListAndQuery) << "the change was made";
  Run(kRecheckMs, "after D vanished, one more re-check");
  CheckFollows("D vanished");
}

TEST_F(DrivesFaultTest, AListedDriveWhoseQueryFailsKeepsItsOwnFigure) {
  SetDrives({{"d:\\", "/data", 10}, {"e:\\", "/srv", 30}});
  OpenAll();
  Run(2000, "before");
  fp.kernel.disks.erase("d:\\");  // still listed, no longer answering
  Run(2 * kRecheckMs, "while D does not answer");
  EXPECT_EQ(display().StatBar[2].Value(), 10) << "the Monitor row keeps D's last figure";
  EXPECT_EQ(options().ProgressBar1[8].Value(), 10) << "so does the Options bar";
}

TEST_F(DrivesFaultTest, ADriveRemountedUnderAnotherLetterIsFollowed) {
  SetDrives({{"d:\\", "/data", 10}, {"e:\\", "/backup", 30}});
  OpenAll();
  Run(2000, "before");
  // /data comes back after /srv: D is /backup now, E /srv and F /data.
  SetDrivesBetweenListAndQuery({{"d:\\", "/backup", 30}, {"e:\\", "/srv", 50}, {"f:\\", "/data", 10}});
  Run(2 * kRecheckMs, "after the remount");
  CheckFollows("remounted");
}

TEST_F(DrivesFaultTest, TwoDrivesThatSwapLettersAreFollowed) {
  SetDrives({{"d:\\", "/data", 10}, {"e:\\", "/backup", 30}});
  OpenAll();
  Run(2000, "before");
  // The same letters, each on the other's file system: the list of roots does not change.
  SetDrives({{"d:\\", "/backup", 30}, {"e:\\", "/data", 10}});
  Run(kRecheckMs, "after the swap");
  CheckFollows("swapped");
}

TEST_F(DrivesFaultTest, DrivesComingAndGoingAtRandomNeverMixTheirFigures) {
  std::mt19937 random(20240607);
  const std::vector<std::string> mounts{"/data", "/srv", "/backup", "/home", "/var", "/opt", "/mnt/a"};
  int nextPercent = 1;
  auto randomDrives = [&] {
    std::vector<Drive> drives;
    const int count = int(random() % 6);
    for (int i = 0; i < count; ++i) {
      drives.push_back(
          {std::string(1, char('d' + i)) + ":\\", mounts[random() % mounts.size()], nextPercent});
      nextPercent = nextPercent % 99 + 1;
    }
    return drives;
  };
  SetDrives(randomDrives());
  OpenAll();
  for (int round = 0; round < 24; ++round) {
    const auto drives = randomDrives();
    if (random() % 2) {
      SetDrivesBetweenListAndQuery(drives);
    } else {
      SetDrives(drives);
    }
    if (random() % 3) fp.kernel.disks.erase(std::string(1, char('d' + random() % 5)) + ":\\");
    Run(int(1000 + random() % 4000), "round " + std::to_string(round));
    if (round % 3 == 2) {
      fp.kernel.betweenListAndQuery = nullptr;
      SetDrives(current_);  // every drive answers again
      Run(kRecheckMs + 1000, "settling after round " + std::to_string(round));
      CheckFollows("after round " + std::to_string(round));
      if (HasFailure()) return;
      Forget();
    }
  }
}

}  // namespace
}  // namespace sysvane::faults
