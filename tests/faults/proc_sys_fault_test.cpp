// /proc and /sys missing, unreadable, truncated or holding garbage, file by file, with the Linux
// backend on a copy of a captured laptop: the statistics of a broken file answer their failure
// values, the others go on, nothing crashes, and the same kernel reads every figure again once the
// file is back (kept-open files and cached supplies included).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

#include "platform/linux/tests/linux_test_support.h"

namespace sysvane {
namespace {

const std::string kLaptop = SYSVANE_FIXTURES "/fault-laptop";  // its EXPECTED.md tells what it holds

// A file (or a whole folder) and what its statistics answer when it cannot be had.
using A = testing::Answers;
const std::pair<std::string, std::vector<std::pair<std::string A::*, const char*>>> kSources[] = {
    {"proc/self/statm", {{&A::memory, "16384000000/8192000000/0"}}},
    {"proc/meminfo", {{&A::memory, "-"}}},
    {"proc/stat", {{&A::idle, "-"}}},
    {"proc/self/mountinfo", {{&A::drives, "c:\\ / 3|"}}},  // C is always there
    {"proc/sys/kernel/osrelease",
     {{&A::version, "Version 0.0 Build 0"}, {&A::name, "Test Linux 1, kernel 0.0.0"}}},
    {"proc/cpuinfo", {{&A::processor, " (4.20 GHz)"}}},
    {"proc/43/stat", {{&A::processes, "2/5"}}},
    {"proc/49/status", {{&A::processes, "2/8"}}},
    {"sys/devices/system/cpu/online", {{&A::processors, "1"}}},
    {"sys/devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq", {{&A::processor, "Test CPU 3000 (2.10 GHz)"}}},
    {"sys/class/power_supply/BAT0/uevent", {{&A::power, "255 128 255 ? ?"}}},
    {"sys/class/power_supply/AC/online", {}},  // the discharging battery tells as much
    {"etc/os-release", {{&A::name, "Linux, kernel 6.1.0"}}},
    {"proc", {{&A::processes, "-"}}},  // and what each file in it answers
    {"sys", {}},
};

TEST(ProcSysFaultTest, EachFileBrokenEachWayFailsAloneAndComesBack) {
  namespace fs = std::filesystem;
  LinuxKernel goodKernel(kLaptop);
  const A good = testing::ReadAnswers(goodKernel, kLaptop);
  for (const auto& [file, unused] : kSources) {
    A expected = good;
    for (const auto& [other, failed] : kSources)
      for (const auto& [field, value] : failed)
        if (other == file || other.starts_with(file + "/")) expected.*field = value;
    for (const std::string fault :
         {"missing", "a folder", "unreadable", "empty", "garbage", "huge garbage", "cut short"}) {
      if (file.find('/') == std::string::npos && fault != "missing") continue;  // a whole folder
      SCOPED_TRACE(file + " " + fault);
      testing::TempTree tree(kLaptop);
      const std::string path = tree.Path(file);
      const std::string text =
          fault.ends_with("garbage") ? testing::Garbage(fault == "garbage" ? 3000 : 100000) : "";
      if (fault == "missing" || fault == "a folder") tree.Remove(file);
      if (fault == "a folder" || fault == "empty" || fault.ends_with("garbage"))
        tree.Write(fault == "a folder" ? file + "/x" : file, text);
      if (fault == "cut short") fs::resize_file(path, fs::file_size(path) / 2);  // may still hold a figure
      // Whether its statistics must answer their failure values: a file of mode 000 is read by root.
      const bool exact =
          fault != "cut short" &&
          (fault != "unreadable" || (chmod(path.c_str(), 0) == 0 && access(path.c_str(), R_OK)));
      LinuxKernel kernel(tree.Path());
      uint64_t now = 1;
      kernel.SetClock([&] { return now; });
      testing::ReadAnswers(kernel, tree.Path());  // read twice, as the program reads again and again
      const std::string broken = testing::ReadAnswers(kernel, tree.Path()).Text();
      EXPECT_TRUE(!exact || broken == expected.Text()) << broken << "\ninstead of\n" << expected.Text();
      chmod(path.c_str(), 0644);
      if (fs::is_directory(path)) tree.Remove(file);
      // Put back in place: the same files, as /proc's never change.
      fs::copy(kLaptop, tree.Path(), fs::copy_options::recursive | fs::copy_options::overwrite_existing);
      now += 11 * 10'000'000;  // supplies are looked for every ten seconds
      testing::ReadAnswers(kernel, tree.Path());
      EXPECT_EQ(testing::ReadAnswers(kernel, tree.Path()).Text(), good.Text());
    }
  }
}

}  // namespace
}  // namespace sysvane
