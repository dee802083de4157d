// The windows' own cost: one refresh of a Monitor window of eight rows, one tray tip and one tick
// of the live tray icon, on the fake platform (the logic alone) and on the Linux backend (the
// logic and its sampling).
#include <benchmark/benchmark.h>

#include "monitor/display.h"
#include "platform/fake/fake_program.h"
#include "platform/linux/linux_kernel.h"
#include "shell/menu.h"

namespace sysvane {
namespace {

const char* const kEightRows[] = {"ShowCPU",    "ShowPhysMem", "ShowVirtMem", "ShowBattery",
                                  "ShowCdrive", "ShowDdrive",  "ShowEdrive",  "ShowFdrive"};

void SelectEightRows(fake::FakeSettingsBackend& settings) {
  settings.values.insert_or_assign("Defined", std::string("Yes"));
  for (const char* key : kEightRows) settings.values.insert_or_assign(key, std::string("1"));
}

// A laptop with drives C to F and a battery: every one of the eight rows is shown.
void FakeLaptop(fake::FakeProgram& fp) {
  fp.kernel.SetFixedDrives({{"c:\\", {100ull << 30, 40ull << 30}},
                            {"d:\\", {200ull << 30, 150ull << 30}},
                            {"e:\\", {500ull << 30, 100ull << 30}},
                            {"f:\\", {1000ull << 30, 900ull << 30}}});
  fp.kernel.power = SYSTEM_POWER_STATUS{0, 1, 80, 0, 7200, 14400};
  fp.kernel.processorCount = 4;
  fp.kernel.idleResolution = 100000;
  SelectEightRows(fp.settings);
}

void BM_UpdateStatistics_EightRowsOnFakes(benchmark::State& state) {
  fake::FakeProgram fp;
  FakeLaptop(fp);
  Display& display = fp.program.display();
  display.Show();
  uint64_t tick = 0;
  for (auto _ : state) {
    tick += 9'000'000;  // 900 ms in 100 ns units, a quarter of it idle on each of the four processors
    fp.kernel.systemTime = tick;
    fp.kernel.idleTime = tick;
    display.UpdateStatistics();
  }
  state.counters["rows"] = display.LastRow + 1;
}
BENCHMARK(BM_UpdateStatistics_EightRowsOnFakes);

void BM_UpdateStatistics_OnLinux(benchmark::State& state) {
  fake::ProgramOn<LinuxKernel> machine;  // the live machine under the fake screen
  SelectEightRows(machine.settings);
  Display& display = machine.program.display();
  display.Show();
  for (auto _ : state) display.UpdateStatistics();
  // As many of the eight rows as this machine has (no battery, fewer drives: fewer rows).
  state.counters["rows"] = display.LastRow + 1;
}
BENCHMARK(BM_UpdateStatistics_OnLinux);

void BM_BuildStatusTip(benchmark::State& state) {
  fake::FakeProgram fp;
  FakeLaptop(fp);
  fp.Set("ShowSplash", "0");
  Menu& menu = fp.program.menu();
  menu.Load();
  for (auto _ : state) {
    menu.BuildStatusTip();
    benchmark::DoNotOptimize(menu.TipText);
  }
}
BENCHMARK(BM_BuildStatusTip);

// One tick of the live tray icon showing the CPU figure, on the fakes: with 0 the figure stays
// (compared, nothing sent); with 1 it moves every tick and is drawn for a 22-pixel tray, as the
// Qt runtime then does.
void BM_TrayFigureTick(benchmark::State& state) {
  fake::FakeProgram fp;
  FakeLaptop(fp);
  fp.Set("ShowSplash", "0");
  fp.Set("TrayIcon", "1");
  Menu& menu = fp.program.menu();
  menu.Load();
  auto owned = std::make_unique<fake::FixedSampler>(0);
  fake::FixedSampler& cpu = *owned;
  menu.CPUMeter = std::move(owned);
  const bool moves = state.range(0) != 0;
  int value = 0;
  for (auto _ : state) {
    if (moves) cpu.Set(value = (value + 1) % 100);
    menu.RefreshTrayFigure(false);
    if (moves) benchmark::DoNotOptimize(fp.runtime.trayCalls.back().data.liveIcon->Draw(22));
    fp.runtime.trayCalls.clear();
  }
}
BENCHMARK(BM_TrayFigureTick)->Arg(0)->Arg(1);

}  // namespace
}  // namespace sysvane
