#include "stats/cpu_usage.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_platform.h"
#include "stats/system_info.h"

namespace sysvane {
namespace {

// Each row: a sampler initialized at idle 5e6 and clock 9e7 (100 ns units), then one Query.
TEST(NTSampler, UsageIsTheShareOfTimeNotIdleOnAverageProcessor) {
  struct Row {
    uint32_t processors;
    uint64_t tick;
    int64_t idle, time;
    int32_t figure;
  };
  const Row rows[] = {{2, 0, 1'600'000, 1'000'000, 20},
                      {2, 0, 2'000'000, 1'000'000, 0},
                      {2, 0, 0, 1'000'000, 100},
                      {2, 0, 1'120'000, 1'000'000, 44},  // 43.99999999999999 in binary
                      {2, 0, 2'100'000, 1'000'000, 0},
                      {2, 0, -500'000, 1'000'000, 100},  // kept within 0 to 100
                      {2, 0, 0, 0, 0},
                      {2, 100'000, 0, 99'999, 0},  // shorter than a tick: no figure yet, not 100
                      {2, 100'000, 0, 100'000, 100},
                      {128, 100'000, 128 * 450'000, 900'000, 50},  // one tick is enough
                      {2, 0, 0, -1, 0},
                      {0, 0, 0, 1'000'000, -1}};
  for (const Row& r : rows) {
    fake::FakeKernel kernel;
    kernel.processorCount = r.processors;
    kernel.idleResolution = r.tick;
    kernel.idleTime = 5'000'000;
    kernel.systemTime = 90'000'000;
    clsCPUUsageNT sampler{kernel};
    sampler.Initialize();
    *kernel.idleTime += r.idle;
    *kernel.systemTime += r.time;
    EXPECT_EQ(sampler.Query(), r.figure) << "row " << &r - rows;
  }
}

TEST(NTSampler, AFigureCoversTheWholeIntervalSinceTheLastOne) {
  fake::FakeKernel kernel;
  kernel.idleResolution = 100'000;
  clsCPUUsageNT sampler{kernel};
  sampler.Initialize();
  struct Step {
    int64_t idle, time;
    int fails;  // 1 processor count, 2 clock, 3 idle time
    int32_t figure;
  };
  const Step steps[] = {{1'600'000, 1'000'000, 0, 20}, {100'000, 50'000, 0, 20},  // too short: kept
                        {1'500'000, 950'000, 0, 20},  // 1.6 of the last 1.0 million
                        {0, 250'000, 1, -1},           {0, 250'000, 2, -1},      {0, 250'000, 3, -1},
                        {1'600'000, 250'000, 0, 20},  // over the failed samples too
                        {0, -5'000'000, 0, 20},       // the clock set back: measure from there
                        {2'000'000, 1'000'000, 0, 0}};
  uint64_t idle = 0, time = 0;
  for (const Step& s : steps) {
    idle += s.idle;
    time += s.time;
    kernel.processorCount = s.fails == 1 ? std::nullopt : std::optional<uint32_t>(2);
    kernel.systemTime = s.fails == 2 ? std::nullopt : std::optional<uint64_t>(time);
    kernel.idleTime = s.fails == 3 ? std::nullopt : std::optional<uint64_t>(idle);
    EXPECT_EQ(sampler.Query(), s.figure) << "step " << &s - steps;
  }
}

TEST(NineXSampler, ReadsTheKernelFigureAndKeepsItWhenAReadFails) {
  fake::FakeRegistry registry;
  registry.Add(HKEY_DYN_DATA, "PerfStats\\StartStat").values["KERNEL\\CPUUsage"] = {REG_DWORD,
                                                                                    std::string(4, 0)};
  registry.Add(HKEY_DYN_DATA, "PerfStats\\StopStat").values["KERNEL\\CPUUsage"] = {REG_DWORD,
                                                                                   std::string(4, 0)};
  auto& data = registry.Add(HKEY_DYN_DATA, "PerfStats\\StatData").values;
  data["KERNEL\\CPUUsage"] = RegValue{REG_DWORD, std::string{42, 0, 0, 0}};
  clsCPUUsage sampler{registry};
  sampler.Initialize();
  EXPECT_EQ(sampler.Query(), 42);
  data.clear();
  EXPECT_EQ(sampler.Query(), 42);
  sampler.Terminate();
  EXPECT_EQ(registry.log, (std::vector<std::string>{
                              "open PerfStats\\StartStat", "read KERNEL\\CPUUsage", "close",
                              "open PerfStats\\StatData", "read KERNEL\\CPUUsage", "read KERNEL\\CPUUsage",
                              "close", "open PerfStats\\StopStat", "read KERNEL\\CPUUsage", "close"}));
  EXPECT_EQ(registry.openHandles, 0);
  registry.keys.clear();  // no statistics at all: 0 for ever
  clsCPUUsage without{registry};
  without.Initialize();
  EXPECT_EQ(without.Query(), 0);
}

TEST(CreateCPUSampler, ChoosesByFamilyAndInitializes) {
  fake::FakeKernel kernel;
  fake::FakeProcessorLibrary processor;
  fake::FakeResourceMeter resources;
  fake::FakeRegistry registry;
  SystemInfoModule info{kernel, processor, resources};
  kernel.version = OSVERSIONINFO{0, 5, 1, 2600, VER_PLATFORM_WIN32_NT, ""};
  EXPECT_NE(dynamic_cast<clsCPUUsageNT*>(CreateCPUSampler(info, registry).get()), nullptr);
  kernel.version->dwPlatformId = VER_PLATFORM_WIN32_WINDOWS;
  EXPECT_NE(dynamic_cast<clsCPUUsage*>(CreateCPUSampler(info, registry).get()), nullptr);
  EXPECT_EQ(registry.log.front(), "open PerfStats\\StartStat");
}

}  // namespace
}  // namespace sysvane
