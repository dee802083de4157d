// A fixed drive whose disk query hangs (a FUSE disk whose daemon stopped answering), with the
// Monitor window, the roll-up and the Options dialog all asking about it on the Linux backend:
// every query answers within its bound, the row keeps its figure, and the stuck call is
// abandoned rather than asked again on every refresh.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "monitor/display.h"
#include "monitor/popup.h"
#include "options/options_dialog.h"
#include "platform/fake/fake_program.h"
#include "platform/linux/linux_kernel.h"
#include "tests/faults/machine_tree.h"

namespace sysvane::faults {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// The statvfs of the machine: every mount answers at once, except /mnt/win while it hangs.
class HangingStatvfs {
 public:
  explicit HangingStatvfs(std::string hangingPath) : hangingPath_(std::move(hangingPath)) {}

  int Call(const char* path, struct statvfs* info) {
    *info = {};
    info->f_frsize = 4096;
    info->f_blocks = 1000;
    if (path != hangingPath_) {
      info->f_bavail = info->f_bfree = 400;  // 60% used
      return 0;
    }
    ++calls;
    std::unique_lock lock(mutex_);
    released_.wait(lock, [this] { return !hanging_; });
    info->f_bavail = info->f_bfree = freeBlocks_;
    ++finished;
    return 0;
  }
  void Hang() {
    std::lock_guard lock(mutex_);
    hanging_ = true;
  }
  void Answer(uint64_t freeBlocks) {
    std::lock_guard lock(mutex_);
    freeBlocks_ = freeBlocks;
    hanging_ = false;
    released_.notify_all();
  }
  StatvfsFunction Function() {
    return [this](const char* path, struct statvfs* info) { return Call(path, info); };
  }

  std::atomic<int> calls{0};
  std::atomic<int> finished{0};

 private:
  std::string hangingPath_;
  std::mutex mutex_;
  std::condition_variable released_;
  bool hanging_ = false;
  uint64_t freeBlocks_ = 900;
};

TEST(HungMountFaultTest, TheRowKeepsItsFigureAndTheStuckQueryIsAskedOnce) {
  testing::TempTree tree;
  WriteGoodMachine(tree);
  fake::ProgramOn<LinuxKernel> machine(tree.Path());
  LinuxKernel& kernel = machine.kernel;
  fake::FakeSettingsBackend& settings = machine.settings;
  fake::FakeRuntime& runtime = machine.runtime;
  Program& program = machine.program;
  HangingStatvfs statvfs(tree.Path("mnt/win"));
  kernel.SetStatvfs(statvfs.Function());
  kernel.SetDiskTimeout(100ms);
  ASSERT_EQ(kernel.DriveMountPoint("e:\\"), "/mnt/win");
  ASSERT_EQ(kernel.GetDriveType("e:\\"), DRIVE_FIXED);

  for (const char* key : {"ShowCPU", "ShowCdrive", "ShowEdrive"}) settings.values[key] = "1";
  settings.values["Defined"] = "Yes";

  Display& display = program.display();
  display.Show();
  ASSERT_EQ(display.StatText[2].Caption(), "E: drive disk usage:");
  EXPECT_EQ(display.StatBar[2].Value(), 10) << "E answers before it hangs";
  Options& options = program.options();
  options.Show();
  options.SSTab1.SetTab(1);
  EXPECT_EQ(options.ProgressBar1[9].Value(), 10);

  statvfs.Hang();
  const int callsBefore = statvfs.calls;
  const auto started = Clock::now();
  auto longest = Clock::duration::zero();
  for (int refresh = 0; refresh < 60; ++refresh) {
    if (!program.popup().Loaded()) program.popup().Show();
    const auto before = Clock::now();
    runtime.Advance(900);  // the Monitor window, the Options previews and the roll-up refresh
    longest = std::max(longest, Clock::now() - before);
    EXPECT_EQ(display.StatBar[2].Value(), 10) << "refresh " << refresh;
    EXPECT_EQ(display.StatBar[1].Value(), 60) << "drive C goes on";
    EXPECT_EQ(options.ProgressBar1[9].Value(), 10) << "refresh " << refresh;
    for (int i = 0; i <= program.popup().Stat.UBound(); ++i) {
      const std::string& line = program.popup().Stat[i].Caption();
      if (line.starts_with("E: ")) {
        EXPECT_EQ(line, "E: drive usage: 10%");
      }
    }
  }
  const auto elapsed = Clock::now() - started;
  EXPECT_EQ(statvfs.calls - callsBefore, 1) << "one stuck call, never a second one on the same mount";
  // A refresh waits once for the bound, then no more: never a call per window per refresh.
  EXPECT_LT(longest, 5s) << "a refresh waited on the hung mount";
  EXPECT_LT(elapsed, 60 * 100ms) << "the queries piled their waits up";

  // The daemon answers again: the next refresh shows the new figure.
  statvfs.Answer(300);
  while (statvfs.finished < statvfs.calls) std::this_thread::sleep_for(1ms);
  for (int refresh = 0; refresh < 20 && display.StatBar[2].Value() != 70; ++refresh) runtime.Advance(900);
  EXPECT_EQ(display.StatBar[2].Value(), 70);
  EXPECT_EQ(options.ProgressBar1[9].Value(), 70);

  program.UnloadPopup();
  program.UnloadOptions();
  program.UnloadDisplay();
  while (statvfs.finished < statvfs.calls) std::this_thread::sleep_for(1ms);
}

}  // namespace
}  // namespace sysvane::faults
