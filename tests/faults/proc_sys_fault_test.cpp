// /proc and /sys missing, unreadable, truncated or holding garbage, file by file, with the Linux
// backend pointed at a prepared machine: the statistics of a broken file answer their failure
// values, the others go on, nothing crashes, and the same kernel reads every figure again once the
// file is back (kept-open files and cached supplies included).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <random>

#include "tests/faults/machine_tree.h"

namespace sysvane::faults {
namespace {

using testing::Answers;
using testing::TempTree;

// The backend on a tree, with a clock the test moves on (supplies are looked for every 10 s).
struct Machine {
  explicit Machine(const TempTree& tree) : root(tree.Path()), kernel(root) {
    kernel.SetClock([this] { return now; });
  }
  std::string ReadTwice() {  // as the program reads: again and again
    testing::ReadAnswers(kernel, root);
    return testing::ReadAnswers(kernel, root).Text();
  }
  uint64_t now = 1;
  std::string root;
  LinuxKernel kernel;
};

// A file (or a whole folder) and what its statistics answer when it cannot be had.
const std::pair<std::string, std::function<void(Answers&)>> kSources[] = {
    {"proc/meminfo", [](Answers& a) { a.memory = "-"; }},
    {"proc/stat", [](Answers& a) { a.idle = "-"; }},
    {"proc/self/mountinfo", [](Answers& a) { a.drives = "c:\\ / 3|"; }},  // C is always there
    {"proc/sys/kernel/osrelease", [](Answers& a) { a.version = "Version 0.0 Build 0"; }},
    {"proc/cpuinfo", [](Answers& a) { a.processor = " (4.20 GHz)"; }},
    {"proc/43/stat", [](Answers& a) { a.processes = "2/5"; }},
    {"proc/44/status", [](Answers& a) { a.processes = "2/8"; }},
    {"sys/devices/system/cpu/online", [](Answers& a) { a.processors = "1"; }},
    {"sys/devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq",
     [](Answers& a) { a.processor = "Test CPU 3000 (2.10 GHz)"; }},  // the speed of this moment
    {"sys/class/power_supply/BAT0/uevent", [](Answers& a) { a.power = "255 128 255 ? ?"; }},
    {"sys/class/power_supply/AC/uevent", [](Answers& a) { a.power = "0 0 60 10800 18000"; }},
    {"etc/os-release", [](Answers& a) { a.name = "Linux"; }},
    {"proc",
     [](Answers& a) {
       a = {"c:\\ / 3|", "-", a.power, " (4.20 GHz)", a.processors, "-", "Version 0.0 Build 0", a.name, "-"};
     }},
    {"sys",
     [](Answers& a) {
       a.power = "255 128 255 ? ?", a.processors = "1", a.processor = "Test CPU 3000 (2.10 GHz)";
     }},
};

std::string Garbage(size_t size) {
  std::mt19937 random(static_cast<unsigned>(size));
  std::string text(size, '\0');
  for (char& c : text) c = static_cast<char>(random() % 256);  // NULs and newlines included
  return text;
}

TEST(ProcSysFaultTest, EachFileBrokenEachWayFailsAloneAndComesBack) {
  TempTree goodTree;
  WriteGoodMachine(goodTree);
  Machine goodMachine(goodTree);
  const std::string good = goodMachine.ReadTwice();
  const Answers goodAnswers = testing::ReadAnswers(goodMachine.kernel, goodTree.Path());
  ASSERT_EQ(good,
            "c:\\ / 3|d:\\ /home 3|e:\\ /mnt/win 3|\n16384000000/8192000000\n0 0 60 10800 18000\n"
            "Test CPU 3000 (4.20 GHz)\n4 40500 Version 6.1 Build 0 Test Linux 1 3/10");

  // Each way to break a file, and whether its statistics must then read their failure values (a
  // cut file may still hold a figure; it must only not crash and come back).
  const std::pair<const char*, std::function<bool(const TempTree&, const std::string&)>> faults[] = {
      {"missing", [](const TempTree& t, const std::string& f) { return t.Remove(f), true; }},
      {"a folder",
       [](const TempTree& t, const std::string& f) { return t.Remove(f), t.Write(f + "/x", ""), true; }},
      {"unreadable",  // not for root, who reads it all the same
       [](const TempTree& t, const std::string& f) {
         return chmod(t.Path(f).c_str(), 0) == 0 && access(t.Path(f).c_str(), R_OK) != 0;
       }},
      {"empty", [](const TempTree& t, const std::string& f) { return t.Write(f, ""), true; }},
      {"garbage", [](const TempTree& t, const std::string& f) { return t.Write(f, Garbage(3000)), true; }},
      {"huge garbage",
       [](const TempTree& t, const std::string& f) { return t.Write(f, Garbage(100000)), true; }},
      {"cut short",
       [](const TempTree& t, const std::string& f) {
         const std::string& text = GoodMachineFiles().at(f);
         return t.Write(f, text.substr(0, text.size() / 2)), false;
       }},
  };
  for (const auto& [file, failed] : kSources) {
    Answers expected = goodAnswers;
    failed(expected);
    const bool folder = !GoodMachineFiles().contains(file);
    for (const auto& [fault, breakIt] : faults) {
      if (folder && fault != std::string("missing")) continue;
      SCOPED_TRACE(file + " " + fault);
      TempTree tree;
      WriteGoodMachine(tree);
      const bool exact = breakIt(tree, file);
      Machine machine(tree);
      const std::string broken = machine.ReadTwice();
      if (exact) {
        EXPECT_EQ(broken, expected.Text());
      }
      chmod(tree.Path(file).c_str(), 0644);
      if (std::filesystem::is_directory(tree.Path(file))) tree.Remove(file);
      WriteGoodMachine(tree);  // in place, as /proc's files never change their inode
      machine.now += 11 * 10'000'000;
      EXPECT_EQ(machine.kernel.DriveMountPoint("e:"), "/mnt/win");  // an unknown drive reads the table again
      EXPECT_EQ(machine.ReadTwice(), good);
    }
  }
}

}  // namespace
}  // namespace sysvane::faults
