// /proc and /sys missing, unreadable, truncated or holding garbage, with the Linux backend
// pointed at a prepared folder: every statistic that depends on a broken file answers its
// failure value, the others go on as before, nothing crashes, and the figures come back when
// the file does.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <optional>
#include <random>
#include <sstream>

#include "platform/linux/linux_kernel.h"
#include "platform/linux/linux_outside.h"
#include "tests/faults/machine_tree.h"

namespace sysvane::faults {
namespace {

using testing::TempTree;

// Everything the backend answers, in one comparable record.
struct Figures {
  std::optional<std::pair<uint64_t, uint64_t>> memory;  // total, available physical bytes
  std::optional<uint64_t> virtualTotal;
  std::tuple<int, int, int, uint32_t, uint32_t> power;  // line, flag, percent, time left, full time
  std::tuple<uint32_t, uint32_t, uint32_t> version;
  std::string drives;
  std::optional<uint32_t> processors;
  std::optional<uint64_t> idle;
  std::optional<std::pair<uint32_t, uint32_t>> processes;
  std::string systemName;
  std::tuple<uint32_t, uint32_t> systemKernel;
  std::string cpuName;
  std::string cpuSpeed;

  bool operator==(const Figures&) const = default;
};

std::string Visible(std::string text) {
  for (char& c : text)
    if (c == '\0') c = '|';
  return text;
}

std::string Describe(const Figures& f) {
  std::ostringstream out;
  out << "memory "
      << (f.memory ? std::to_string(f.memory->first) + "/" + std::to_string(f.memory->second) : "-")
      << ", power " << std::get<0>(f.power) << "/" << std::get<1>(f.power) << "/" << std::get<2>(f.power)
      << "/" << std::get<3>(f.power) << "/" << std::get<4>(f.power) << ", virtual "
      << f.virtualTotal.value_or(0) << ", version " << std::get<0>(f.version) << "." << std::get<1>(f.version)
      << ", drives " << Visible(f.drives) << ", processors " << (f.processors ? int(*f.processors) : -1)
      << ", idle " << (f.idle ? std::to_string(*f.idle) : "-") << ", processes "
      << (f.processes ? std::to_string(f.processes->first) + "/" + std::to_string(f.processes->second) : "-")
      << ", system '" << f.systemName << "' " << std::get<0>(f.systemKernel) << ", cpu '" << f.cpuName
      << "' '" << f.cpuSpeed << "'";
  return out.str();
}

std::string UpToNul(const std::string& buffer) {
  return buffer.substr(0, buffer.find('\0'));
}

Figures ReadFigures(LinuxKernel& kernel, LinuxProcessorLibrary& processor) {
  Figures f;
  MEMORYSTATUS memory;
  if (kernel.GlobalMemoryStatus(memory)) {
    f.memory = std::make_pair(memory.dwTotalPhys, memory.dwAvailPhys);
    f.virtualTotal = memory.dwTotalVirtual;
  }
  SYSTEM_POWER_STATUS power;
  EXPECT_TRUE(kernel.GetSystemPowerStatus(power));
  f.power = {power.ACLineStatus, power.BatteryFlag, power.BatteryLifePercent, power.BatteryLifeTime,
             power.BatteryFullLifeTime};
  OSVERSIONINFO version;
  EXPECT_TRUE(kernel.GetVersionEx(version));
  f.version = {version.dwMajorVersion, version.dwMinorVersion, version.dwBuildNumber};
  f.drives = kernel.GetLogicalDriveStrings();
  f.processors = kernel.QueryProcessorCount();
  f.idle = kernel.QueryIdleTime();
  if (const auto counts = kernel.CountProcesses())
    f.processes = std::make_pair(counts->processes, counts->threads);
  const auto name = kernel.GetSystemName();
  EXPECT_TRUE(name.has_value());
  if (name) {
    f.systemName = name->prettyName;
    f.systemKernel = {name->kernelMajor, name->kernelMinor};
  }
  std::string first(255, '\0'), second(255, '\0'), third(255, '\0'), fourth(255, '\0');
  processor.GetProcessor(first, second, third);
  processor.GetProcessorRawSpeed(fourth);
  f.cpuName = UpToNul(first);
  f.cpuSpeed = UpToNul(fourth);
  return f;
}

// The backend on a tree, with a clock the test moves on: the power supplies are looked for
// again every ten seconds.
struct Machine {
  explicit Machine(const TempTree& tree) : kernel(tree.Path()), processor(tree.Path()) {
    kernel.SetClock([this] { return now; });
  }
  // Read as the program reads: twice, so that kept-open files are read again too.
  Figures ReadTwice() {
    ReadFigures(kernel, processor);
    return ReadFigures(kernel, processor);
  }
  void Wait(uint64_t seconds) { now += seconds * 10'000'000; }
  uint64_t now = 1;
  LinuxKernel kernel;
  LinuxProcessorLibrary processor;
};

Figures GoodFigures() {
  TempTree tree;
  WriteGoodMachine(tree);
  return Machine(tree).ReadTwice();
}

// A file of the tree and what its statistics answer when it cannot be had.
struct Source {
  std::string file;
  std::function<void(Figures&)> failed;
};

void PrintTo(const Source& source, std::ostream* out) {
  *out << source.file;
}

const std::vector<Source>& Sources() {
  static const std::vector<Source> sources = {
      {"proc/meminfo", [](Figures& f) { f.memory.reset(), f.virtualTotal.reset(); }},
      {"proc/stat", [](Figures& f) { f.idle.reset(); }},
      // The system folder is always drive C; the other drives are not known.
      {"proc/self/mounts", [](Figures& f) { f.drives = std::string("c:\\\0\0", 5); }},
      {"proc/sys/kernel/osrelease",
       [](Figures& f) {
         f.version = {0, 0, 0};
         f.systemKernel = {0, 0};
       }},
      {"proc/cpuinfo", [](Figures& f) { f.cpuName = ""; }},
      {"proc/43/stat", [](Figures& f) { f.processes = std::make_pair(1u, 3u); }},
      {"sys/devices/system/cpu/online", [](Figures& f) { f.processors.reset(); }},
      // Without the highest speed, the speed of this moment.
      {"sys/devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq", [](Figures& f) { f.cpuSpeed = "2100.000M"; }},
      // A battery that cannot be read is no battery: the line status is then unknown.
      {"sys/class/power_supply/BAT0/uevent",
       [](Figures& f) {
         f.power = {AC_LINE_UNKNOWN, BATTERY_FLAG_NO_BATTERY, 255, BATTERY_LIFE_UNKNOWN,
                    BATTERY_LIFE_UNKNOWN};
       }},
      {"sys/class/power_supply/AC/uevent", [](Figures&) {}},  // on battery either way
      {"etc/os-release", [](Figures& f) { f.systemName = "Linux"; }},
  };
  return sources;
}

std::string Garbage(size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string text(size, '\0');
  for (char& c : text) c = static_cast<char>(random() % 256);  // NULs and newlines included
  return text;
}

void ReplaceInPlace(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;  // the same file, as /proc's are
}

// Writes the good file back and checks that the same kernel reads every figure again.
void ExpectComesBack(const TempTree& tree, const Source& source, Machine& machine, const Figures& good,
                     const std::string& fault) {
  const std::string path = tree.Path(source.file);
  struct stat info {};
  if (stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) tree.Remove(source.file);
  chmod(path.c_str(), 0644);
  ReplaceInPlace(path, GoodMachineFiles().at(source.file));
  machine.Wait(11);
  EXPECT_EQ(Describe(machine.ReadTwice()), Describe(good)) << source.file << " " << fault << ", then back";
}

class ProcSysFaultTest : public ::testing::TestWithParam<Source> {};

TEST_P(ProcSysFaultTest, MissingFileGivesTheFailureValueAndComesBack) {
  const Source& source = GetParam();
  const Figures good = GoodFigures();
  Figures expected = good;
  source.failed(expected);
  TempTree tree;
  WriteGoodMachine(tree);
  tree.Remove(source.file);
  Machine machine(tree);
  EXPECT_EQ(Describe(machine.ReadTwice()), Describe(expected)) << source.file << " missing";
  ExpectComesBack(tree, source, machine, good, "missing");
}

// Unreadable even for root: a folder where the file should be.
TEST_P(ProcSysFaultTest, AFolderInPlaceOfTheFileGivesTheFailureValueAndComesBack) {
  const Source& source = GetParam();
  const Figures good = GoodFigures();
  Figures expected = good;
  source.failed(expected);
  TempTree tree;
  WriteGoodMachine(tree);
  tree.Remove(source.file);
  tree.Write(source.file + "/inside", "x");
  Machine machine(tree);
  EXPECT_EQ(Describe(machine.ReadTwice()), Describe(expected)) << source.file << " a folder";
  ExpectComesBack(tree, source, machine, good, "a folder");
}

TEST_P(ProcSysFaultTest, AnUnreadableFileGivesTheFailureValueAndComesBack) {
  const Source& source = GetParam();
  TempTree tree;
  WriteGoodMachine(tree);
  const std::string path = tree.Path(source.file);
  ASSERT_EQ(chmod(path.c_str(), 0), 0);
  if (access(path.c_str(), R_OK) == 0) GTEST_SKIP() << "this user reads a file of mode 000 (root)";
  const Figures good = GoodFigures();
  Figures expected = good;
  source.failed(expected);
  Machine machine(tree);
  EXPECT_EQ(Describe(machine.ReadTwice()), Describe(expected)) << source.file << " unreadable";
  ExpectComesBack(tree, source, machine, good, "unreadable");
}

TEST_P(ProcSysFaultTest, GarbageGivesTheFailureValueAndComesBack) {
  const Source& source = GetParam();
  const Figures good = GoodFigures();
  Figures expected = good;
  source.failed(expected);
  for (unsigned seed : {1u, 2u, 3u}) {
    TempTree tree;
    WriteGoodMachine(tree);
    ReplaceInPlace(tree.Path(source.file), Garbage(seed == 3 ? 100000 : 3000, seed));
    Machine machine(tree);
    EXPECT_EQ(Describe(machine.ReadTwice()), Describe(expected)) << source.file << " garbage " << seed;
    ExpectComesBack(tree, source, machine, good, "garbage");
  }
}

TEST_P(ProcSysFaultTest, AnEmptyOrTruncatedFileCrashesNothingAndComesBack) {
  const Source& source = GetParam();
  const Figures good = GoodFigures();
  Figures expected = good;
  source.failed(expected);
  const std::string& text = GoodMachineFiles().at(source.file);
  for (size_t length : {size_t(0), text.size() / 3, text.size() / 2, text.size() - 1}) {
    TempTree tree;
    WriteGoodMachine(tree);
    ReplaceInPlace(tree.Path(source.file), text.substr(0, length));
    Machine machine(tree);
    const Figures read = machine.ReadTwice();
    if (length == 0) {
      EXPECT_EQ(Describe(read), Describe(expected)) << source.file << " empty";
    }
    // A cut file may still hold a figure; whatever is read is a possible one.
    if (read.memory) {
      EXPECT_LE(read.memory->second, read.memory->first) << source.file << " cut at " << length;
    }
    EXPECT_TRUE(std::get<2>(read.power) <= 100 || std::get<2>(read.power) == 255) << source.file;
    ExpectComesBack(tree, source, machine, good, "cut at " + std::to_string(length));
  }
}

INSTANTIATE_TEST_SUITE_P(EveryFile, ProcSysFaultTest, ::testing::ValuesIn(Sources()),
                         [](const ::testing::TestParamInfo<Source>& info) {
                           std::string name;
                           for (char c : info.param.file)
                             name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                           return name;
                         });

TEST(ProcSysFaultTest, TheGoodMachineReadsAsWritten) {
  const Figures good = GoodFigures();
  EXPECT_EQ(good.memory, std::make_pair(uint64_t(16'000'000) * 1024, uint64_t(8'000'000) * 1024));
  EXPECT_EQ(good.power, std::make_tuple(int(AC_LINE_OFFLINE), 0, 60, 10800u, 18000u));
  EXPECT_EQ(good.version, std::make_tuple(6u, 1u, 0u));
  EXPECT_EQ(good.drives, std::string("c:\\\0d:\\\0e:\\\0\0", 13));
  EXPECT_EQ(good.processors, 4u);
  EXPECT_EQ(good.processes, std::make_pair(2u, 8u));
  EXPECT_EQ(good.systemName, "Test Linux 1");
  EXPECT_EQ(good.cpuName, "Test CPU 3000");
  EXPECT_EQ(good.cpuSpeed, "4200M");
  ASSERT_TRUE(good.idle);
}

// The whole of /proc, then the whole of /sys, gone and back.
TEST(ProcSysFaultTest, WholeFoldersGoneAndBack) {
  const Figures good = GoodFigures();
  for (const std::string folder : {"proc", "sys"}) {
    TempTree tree;
    WriteGoodMachine(tree);
    tree.Remove(folder);
    Machine machine(tree);
    Figures expected = good;
    for (const Source& source : Sources()) {
      if (source.file.starts_with(folder + "/")) source.failed(expected);
    }
    if (folder == "proc") expected.processes.reset();  // no process folder to count in
    if (folder == "sys") expected.cpuSpeed = "2100.000M";
    const Figures read = machine.ReadTwice();
    if (folder == "sys") {
      // Without the battery the adapter's offline line tells nothing either.
      EXPECT_EQ(std::get<0>(read.power), AC_LINE_UNKNOWN);
    }
    EXPECT_EQ(Describe(read), Describe(expected)) << folder << " gone";
    for (const auto& [path, text] : GoodMachineFiles()) tree.Write(path, text);
    machine.Wait(11);
    EXPECT_EQ(Describe(machine.ReadTwice()), Describe(good)) << folder << " back";
  }
}

}  // namespace
}  // namespace sysvane::faults
