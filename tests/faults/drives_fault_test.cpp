// Fixed drives that appear, vanish between the drive list and the disk query, come back under
// another letter, swap letters or stop answering, while the Monitor window, the roll-up and the
// Options dialog are all open: at every moment each drive row shows a figure, a size and a place
// its own drive has had, and within one ten-second re-check every window shows the drives there are.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>

#include "monitor/display.h"
#include "monitor/popup.h"
#include "options/options_dialog.h"
#include "options/system_page.h"
#include "stats/format.h"
#include "tests/faults/fault_program.h"

namespace sysvane::faults {
namespace {

struct Drive {
  std::string root, mount;
  int used;  // percent, which also sets the size: (1000 + used) * 409,600 bytes
  std::string Size() const { return ByteCountText(uint64_t(1000 + used) * 409600, {}); }
};
using Seen = std::map<std::string, std::set<std::string>>;  // root -> figures, sizes and places it had

// "d:/data:10 e:/srv:30"
std::vector<Drive> Drives(const std::string& text) {
  std::vector<Drive> drives;
  std::istringstream in(text);
  for (std::string word; in >> word;) {
    const size_t colon = word.rfind(':');
    drives.push_back(
        {word.substr(0, 2) + "\\", word.substr(2, colon - 2), std::stoi(word.substr(colon + 1))});
  }
  return drives;
}

// "d:\" for "D" followed by `rest`; "?" otherwise.
std::string RootOf(const std::string& text, const std::string& rest) {
  if (text.size() != rest.size() + 1 || text[0] < 'A' || text[0] > 'Z' || text.substr(1) != rest) return "?";
  return std::string(1, char(text[0] - 'A' + 'a')) + ":\\";
}

// The drive rows each window shows, as "root figure detail|" (Monitor: the place in its tip,
// Options: the size on its System page), drive C left out.
std::map<std::string, std::string> Shown(
    Program& program,
    const std::function<void(const std::string&, int, const std::string&)>& each = nullptr) {
  std::map<std::string, std::string> shown;
  auto add = [&](const char* window, const std::string& root, int value, const std::string& detail) {
    if (root == "c:\\") return;
    shown[window] += root + " " + std::to_string(value) + " " + detail + "|";
    if (each) each(root, value, detail);
  };
  Display& display = program.display();
  for (int row = 0; display.Loaded() && row <= display.LastRow; ++row) {
    const std::string root = RootOf(display.StatText[row].Caption(), ": drive disk usage:");
    if (root != "?") add("Monitor", root, display.StatBar[row].Value(), display.StatText[row].ToolTipText());
  }
  Options& options = program.options();
  for (int k = 0; options.Loaded() && k <= Options::kMaxDriveRows; ++k) {
    if (!options.Check1[7 + k].Visible()) continue;
    const std::string root = RootOf(options.Check1[7 + k].Caption(), ": drive disk usage:");
    const bool same = RootOf(options.SystemText[6 + k].Caption(), ": drive disk size:") == root;
    add("Options", same ? root : "?", options.ProgressBar1[7 + k].Value(),
        options.SystemInfo[6 + k].Caption());
  }
  Popup& popup = program.popup();
  for (int i = 0; popup.Loaded() && i <= popup.Stat.UBound(); ++i) {
    const std::string& line = popup.Stat[i].Caption();
    if (line.size() > 17 && line.ends_with("%") && RootOf(line.substr(0, 15), ": drive usage:") != "?")
      add("roll-up", RootOf(line.substr(0, 15), ": drive usage:"), std::stoi(line.substr(16)), "");
  }
  return shown;
}

class DrivesFaultTest : public ::testing::Test {
 protected:
  DrivesFaultTest() {
    for (const char* key : {"ShowCPU", "ShowCdrive", "ShowDdrive", "ShowEdrive", "ShowFdrive", "ShowHdrive"})
      fp.Set(key, "1");
    fp.Set("Defined", "Yes");
  }

  // The machine from now on: drive C and these; nothing is told to the windows.
  void SetDrives(const std::vector<Drive>& drives) {
    std::vector<std::pair<std::string, std::pair<uint64_t, uint64_t>>> sizes{
        {"c:\\", {100ull << 30, 40ull << 30}}};
    fp.kernel.mountPoints = {{"c:\\", "/"}};
    for (const Drive& d : drives) {
      const uint64_t total = uint64_t(1000 + d.used) * 409600;
      sizes.push_back({d.root, {total, total / 100 * uint64_t(100 - d.used)}});
      fp.kernel.mountPoints[d.root] = d.mount;
      seen[d.root].insert({std::to_string(d.used), d.mount, d.Size(), ""});
    }
    fp.kernel.SetFixedDrives(sizes);
    current = drives;
  }

  // Advances the clock in steps of 300 ms, reopening the roll-up whenever it has gone, and checks
  // that no window shows a figure, size or place of another drive.
  void Run(int ms) {
    for (int done = 0; done < ms; done += 300) {
      fp.runtime.Advance(300);
      if (!fp.program.popup().Loaded()) fp.program.popup().Show(), ++popups;
      Shown(fp.program, [&](const std::string& root, int value, const std::string& detail) {
        EXPECT_TRUE((value == 0 || seen[root].contains(std::to_string(value))) && seen[root].contains(detail))
            << "at +" << done << " ms " << root << " shows " << value << " " << detail;
      });
    }
  }

  // After a re-check every window shows exactly the drives there are, each with its own figures.
  void CheckFollows(const std::string& failing) {
    std::string monitor, options, rollup;
    for (const Drive& d : current) {
      const bool on = fp.settings.values[DriveKey(d.root)] == "1";
      const std::string figure = d.root + " " + std::to_string(d.used) + " ";
      if (on) monitor += figure + d.mount + "|";
      options += figure + d.Size() + "|";
      if (on && d.root != failing) rollup += figure + "|";
    }
    const int loads = popups;
    while (popups == loads) Run(300);  // the roll-up lists the drives there were when it opened
    auto shown = Shown(fp.program);
    EXPECT_EQ(shown["Monitor"], monitor);
    EXPECT_EQ(shown["Options"], options);
    EXPECT_EQ(shown["roll-up"], rollup);
    seen.clear();  // from here on only the present figures count
    SetDrives(current);
  }

  FaultProgram fp;
  std::vector<Drive> current;
  Seen seen{{"c:\\", {}}};
  int popups = 0;
};

TEST_F(DrivesFaultTest, EveryWindowFollowsTheDrives) {
  const struct {
    const char* name;
    const char* before;
    const char* after;
    bool betweenListAndQuery;  // the change lands while a window holds a list that is no longer true
    const char* failing;       // a drive still listed that no longer answers: its rows keep their figure
  } rows[] = {
      {"a drive appears", "d:/data:10", "d:/data:10 e:/srv:30", false, ""},
      {"D vanishes, the others move up", "d:/data:10 e:/srv:30 f:/backup:50", "d:/srv:70 e:/backup:90", true,
       ""},
      {"a drive remounted under another letter", "d:/data:10 e:/backup:30",
       "d:/backup:30 e:/srv:50 f:/data:10", true, ""},
      {"two drives swap letters", "d:/data:10 e:/backup:30", "d:/backup:30 e:/data:10", false, ""},
      {"a drive stops answering", "d:/data:10 e:/srv:30", "d:/data:10 e:/srv:30", false, "d:\\"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    SetDrives(Drives(row.before));
    fp.program.display().Show();
    fp.program.options().Show();
    fp.program.options().SSTab1.SetTab(1);  // the page whose previews refresh
    Run(2000);
    if (row.betweenListAndQuery) {
      fp.kernel.betweenListAndQuery = [this, after = Drives(row.after)] { SetDrives(after); };
    } else {
      SetDrives(Drives(row.after));
    }
    fp.kernel.disks.erase(row.failing);
    Run(2 * 10000);
    EXPECT_FALSE(fp.kernel.betweenListAndQuery) << "the change was made";
    CheckFollows(row.failing);
  }
}

}  // namespace
}  // namespace sysvane::faults
