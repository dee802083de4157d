// Fixed drives that appear, vanish between the drive list and the disk query, come back under
// another letter, swap letters or stop answering, while the Monitor window, the roll-up and the
// Options dialog are all open: at every moment each drive row shows a figure, a size and a place
// its own drive has had, and within one ten-second re-check every window shows the drives there are.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <sstream>

#include "monitor/display.h"
#include "monitor/popup.h"
#include "options/options_dialog.h"
#include "options/system_page.h"
#include "platform/fake/fake_program.h"
#include "stats/format.h"

namespace sysvane::faults {
namespace {

// "d:\" for a caption "D: drive ..."; "" for any other.
std::string RootOf(const std::string& caption) {
  if (caption.find(": drive ") != 1 || caption[0] < 'A' || caption[0] > 'Z') return "";
  return std::string(1, char(caption[0] - 'A' + 'a')) + ":\\";
}

// The program on a machine whose drives the test changes, with every window of drives open.
struct Machine {
  // The drive rows each window shows, "root figure detail|" (the Monitor's place in its tip, the
  // Options dialog's size on its System page), each checked against what its drive has had.
  std::map<std::string, std::string> Shown() {
    std::map<std::string, std::string> shown;
    auto add = [&](const char* window, const std::string& caption, int value, const std::string& detail) {
      const std::string root = RootOf(caption);
      if (root.empty() || root == "c:\\") return;
      shown[window] += root + " " + std::to_string(value) + " " + detail + "|";
      const bool rollUp = std::string_view(window) == "roll-up";  // a line without a detail
      EXPECT_TRUE(seen[root].contains(std::to_string(value)) && (rollUp || seen[root].contains(detail)))
          << shown[window];
    };
    Display& d = fp.program.display();
    for (int row = 0; d.Loaded() && row <= d.LastRow; ++row)
      add("Monitor", d.StatText[row].Caption(), d.StatBar[row].Value(), d.StatText[row].ToolTipText());
    Options& o = fp.program.options();
    for (int k = 0; o.Loaded() && k <= Options::kMaxDriveRows; ++k)  // the size label names the same drive
      if (const std::string& box = o.Check1[7 + k].Caption(); o.Check1[7 + k].Visible())
        add("Options",
            RootOf(o.SystemText[6 + k].Caption()) == RootOf(box) ? box : "Z: drive of another label",
            o.ProgressBar1[7 + k].Value(), o.SystemInfo[6 + k].Caption());
    for (int i = 0; fp.program.popup().Loaded() && i <= fp.program.popup().Stat.UBound(); ++i)
      if (const std::string& line = fp.program.popup().Stat[i].Caption(); !RootOf(line).empty())
        add("roll-up", line, std::stoi(line.substr(line.rfind(' ') + 1)), "");
    return shown;
  }

  // The machine from now on: drive C and "d:/data:10 e:/srv:30" (root, place, percent used, which
  // also sets the size), `failing` listed but not answering; nothing is told to the windows,
  // `expected` is what they must come to show.
  void SetDrives(const std::string& text, const std::string& failing = "") {
    std::vector<std::pair<std::string, std::pair<uint64_t, uint64_t>>> sizes{
        {"c:\\", {100ull << 30, 40ull << 30}}};
    fp.kernel.mountPoints = {{"c:\\", "/"}};
    expected.clear();
    std::istringstream in(text);
    for (std::string word; in >> word;) {
      const std::string root = word.substr(0, 2) + "\\", place = word.substr(2, word.rfind(':') - 2);
      const int used = std::stoi(word.substr(word.rfind(':') + 1));
      const uint64_t total = uint64_t(1000 + used) * 409600;
      sizes.push_back({root, {total, total / 100 * uint64_t(100 - used)}});
      fp.kernel.mountPoints[root] = place;
      seen[root].insert({std::to_string(used), place, ByteCountText(total, {})});
      const bool on = fp.settings.values[DriveKey(root)] == "1";
      const std::string figure = root + " " + std::to_string(used) + " ";
      if (on) expected["Monitor"] += figure + place + "|";
      expected["Options"] += figure + ByteCountText(total, {}) + "|";
      if (on && root != failing) expected["roll-up"] += figure + "|";
    }
    fp.kernel.SetFixedDrives(sizes);
    fp.kernel.disks.erase(failing);
  }

  // Steps of 300 ms, the roll-up reopened whenever it has gone, every window checked at each.
  void Run(int ms) {
    for (int done = 0; done < ms; done += 300) {
      fp.runtime.Advance(300);
      if (!fp.program.popup().Loaded()) {
        fp.program.popup().Show();
        ++popups;
      }
      Shown();
    }
  }

  fake::FakeProgram fp;
  std::map<std::string, std::set<std::string>> seen;  // root -> the figures, places and sizes it had
  std::map<std::string, std::string> expected;
  int popups = 0;
};

TEST(DrivesFaultTest, EveryWindowFollowsTheDrives) {
  // The drives before and after; whether the change lands while a window holds a list that is no
  // longer true (between the list and the query); a drive still listed that no longer answers (its
  // rows keep their figure).
  const std::tuple<const char*, const char*, const char*, bool, const char*> rows[] = {
      {"a drive appears", "d:/data:10", "d:/data:10 e:/srv:30", false, ""},
      {"D gone, the others move up", "d:/data:10 e:/srv:30 f:/backup:50", "d:/srv:70 e:/backup:90", true, ""},
      {"remounted as F", "d:/data:10 e:/backup:30", "d:/backup:30 e:/srv:50 f:/data:10", true, ""},
      {"two drives swap letters", "d:/data:10 e:/backup:30", "d:/backup:30 e:/data:10", false, ""},
      {"a drive stops answering", "d:/data:10 e:/srv:30", "d:/data:10 e:/srv:30", false, "d:\\"},
  };
  for (const auto& [name, before, after, betweenListAndQuery, failing] : rows) {
    SCOPED_TRACE(name);
    Machine m;
    m.fp.Select("CPU Cdrive Ddrive Edrive Fdrive Hdrive");
    m.fp.Set("ShowGdrive", "0");
    m.SetDrives(before);
    m.fp.program.display().Show();
    m.fp.program.options().Show();
    m.fp.program.options().SSTab1.SetTab(1);  // the page whose previews refresh
    m.Run(2000);
    std::function<void()> change = [&m, after, failing] { m.SetDrives(after, failing); };
    betweenListAndQuery ? void(m.fp.kernel.betweenListAndQuery = change) : change();
    m.Run(2 * 10000);
    EXPECT_FALSE(m.fp.kernel.betweenListAndQuery) << "the change was made";
    for (const int loads = m.popups; m.popups == loads;) m.Run(300);  // a roll-up opened since the change
    EXPECT_EQ(m.Shown(), m.expected);
  }
}

}  // namespace
}  // namespace sysvane::faults
