#include "stats/cpu_usage.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_platform.h"
#include "stats/system_info.h"

namespace sysvane {
namespace {

using fake::FakeKernel;
using fake::FakeRegistry;

struct NTSamplerTest : testing::Test {
  FakeKernel kernel;
  clsCPUUsageNT sampler{kernel};

  void SetUp() override {
    kernel.processorCount = 2;
    kernel.idleTime = 5'000'000;
    kernel.systemTime = 90'000'000;
    sampler.Initialize();
  }
  // Advances the fake counters and samples.
  int32_t QueryAfter(uint64_t idleDelta, uint64_t timeDelta) {
    *kernel.idleTime += idleDelta;
    *kernel.systemTime += timeDelta;
    return sampler.Query();
  }
};

TEST_F(NTSamplerTest, AveragesIdleOverAllProcessors) {
  EXPECT_EQ(QueryAfter(1'600'000, 1'000'000), 20);  // ratio 1.6 over 2 processors
  EXPECT_EQ(QueryAfter(2'000'000, 1'000'000), 0);   // every processor idle
  EXPECT_EQ(QueryAfter(0, 1'000'000), 100);
  EXPECT_EQ(QueryAfter(1'120'000, 1'000'000), 44);  // 43.99999999999999 in binary
}

TEST_F(NTSamplerTest, FigureIsClampedToZero) {
  EXPECT_EQ(QueryAfter(2'100'000, 1'000'000), 0);  // would be -5
}

TEST_F(NTSamplerTest, FailedQueryKeepsTheStoredSample) {
  kernel.processorCount = 0;
  EXPECT_EQ(QueryAfter(1'600'000, 1'000'000), -1);
  kernel.processorCount = 2;
  kernel.idleTime.reset();
  EXPECT_EQ(sampler.Query(), -1);
  kernel.idleTime = 5'000'000 + 1'600'000;
  // The next figure covers both intervals: idle 1.6 of 2.0 million, not 0 of the last 1.0.
  EXPECT_EQ(QueryAfter(0, 1'000'000), 60);
}

TEST(NTSampler, ShortIntervalsKeepThePreviousFigure) {
  FakeKernel kernel;
  kernel.processorCount = 2;
  kernel.idleResolution = 100'000;  // one 10 ms tick per processor
  clsCPUUsageNT sampler{kernel};
  sampler.Initialize();
  EXPECT_EQ(sampler.Query(), 0);  // right after Initialize: no figure yet, and not 100
  kernel.systemTime = 150'000;
  EXPECT_EQ(sampler.Query(), 0);
  kernel.systemTime = 1'000'000;
  kernel.idleTime = 1'600'000;
  EXPECT_EQ(sampler.Query(), 20);  // measured from Initialize
  kernel.systemTime = 1'000'100;
  EXPECT_EQ(sampler.Query(), 20);
  kernel.systemTime = 2'000'000;
  EXPECT_EQ(sampler.Query(), 100);  // measured from the last figure, not the short query
}

struct NineXSamplerTest : testing::Test {
  FakeRegistry registry;
  FakeRegistry::Key& start = registry.Add(HKEY_DYN_DATA, "PerfStats\\StartStat");
  FakeRegistry::Key& data = registry.Add(HKEY_DYN_DATA, "PerfStats\\StatData");
  FakeRegistry::Key& stop = registry.Add(HKEY_DYN_DATA, "PerfStats\\StopStat");

  static RegValue Percent(uint8_t value) { return RegValue{REG_DWORD, std::string{char(value), 0, 0, 0}}; }
  void SetFigure(uint8_t value) { data.values["KERNEL\\CPUUsage"] = Percent(value); }
};

TEST_F(NineXSamplerTest, ReadsTheKernelFigureAndKeepsItWhenAReadFails) {
  start.values["KERNEL\\CPUUsage"] = Percent(0);
  stop.values["KERNEL\\CPUUsage"] = Percent(0);
  SetFigure(42);
  clsCPUUsage sampler{registry};
  sampler.Initialize();
  EXPECT_EQ(sampler.Query(), 42);
  SetFigure(7);
  EXPECT_EQ(sampler.Query(), 7);
  data.values.clear();
  EXPECT_EQ(sampler.Query(), 7);
  sampler.Terminate();
  EXPECT_EQ(registry.log,
            (std::vector<std::string>{"open PerfStats\\StartStat", "read KERNEL\\CPUUsage", "close",
                                      "open PerfStats\\StatData", "read KERNEL\\CPUUsage",
                                      "read KERNEL\\CPUUsage", "read KERNEL\\CPUUsage", "close",
                                      "open PerfStats\\StopStat", "read KERNEL\\CPUUsage", "close"}));
  EXPECT_EQ(registry.openHandles, 0);
}

TEST_F(NineXSamplerTest, WithoutStatisticsTheFigureStaysZero) {
  start.openable = false;
  SetFigure(42);
  clsCPUUsage sampler{registry};
  sampler.Initialize();
  EXPECT_EQ(sampler.Query(), 0);
  EXPECT_EQ(sampler.Query(), 0);
}

TEST(CreateCPUSampler, ChoosesByFamily) {
  FakeKernel kernel;
  fake::FakeProcessorLibrary processor;
  fake::FakeResourceMeter resources;
  FakeRegistry registry;
  SystemInfoModule info{kernel, processor, resources};
  kernel.version = OSVERSIONINFO{0, 5, 1, 2600, VER_PLATFORM_WIN32_NT, ""};
  EXPECT_NE(dynamic_cast<clsCPUUsageNT*>(CreateCPUSampler(info, registry).get()), nullptr);
  kernel.version->dwPlatformId = VER_PLATFORM_WIN32_WINDOWS;
  EXPECT_NE(dynamic_cast<clsCPUUsage*>(CreateCPUSampler(info, registry).get()), nullptr);
  EXPECT_EQ(registry.log.front(), "open PerfStats\\StartStat");  // initialized at once
}

}  // namespace
}  // namespace sysvane
