#include "stats/cpu_usage.h"

#include <gtest/gtest.h>

#include "platform/fake/fake_platform.h"

namespace sysvane {
namespace {

// Each step samples after the counters moved by (idle, clock), in 100 ns units; `fails` makes one
// query fail: 1 the processor count, 2 the clock, 3 the idle time.
void Sample(fake::FakeKernel& k, CPUSampler& sampler,
            const std::vector<std::tuple<int64_t, int64_t, int, int>>& steps, uint32_t processors = 2) {
  uint64_t idleNow = k.idleTime.value(), clockNow = k.systemTime.value();
  for (const auto& [idle, clock, fails, figure] : steps) {
    idleNow += idle;
    clockNow += clock;
    k.processorCount = fails == 1 ? std::nullopt : std::optional(processors);
    k.systemTime = fails == 2 ? std::nullopt : std::optional(clockNow);
    k.idleTime = fails == 3 ? std::nullopt : std::optional(idleNow);
    EXPECT_EQ(sampler.Query(), figure) << processors << " processors, idle " << idle << " of " << clock;
  }
}

TEST(NTSampler, UsageIsTheTimeNotIdleOnAnAverageProcessor) {
  // Processors, tick, idle, clock, figure: each a fresh sampler. 44 is 43.99999999999999 in binary;
  // figures stay within 0 to 100; an interval shorter than one tick gives no figure yet (not 100),
  // and one tick is enough whatever the processor count.
  // clang-format off
  const std::tuple<uint32_t, uint64_t, int64_t, int64_t, int> rows[] = {
      {2, 0, 1'600'000, 1'000'000, 20}, {2, 0, 1'120'000, 1'000'000, 44}, {2, 0, 2'100'000, 1'000'000, 0},
      {2, 0, -500'000, 1'000'000, 100}, {2, 0, 0, 0, 0}, {2, 100'000, 0, 99'999, 0}, {2, 100'000, 0, 100'000, 100},
      {128, 100'000, 57'600'000, 900'000, 50}, {2, 0, 0, -1, 0}, {0, 0, 0, 1'000'000, -1}};
  // clang-format on
  for (const auto& [processors, tick, idle, clock, figure] : rows) {
    fake::FakeKernel kernel;
    kernel.idleResolution = tick;
    kernel.idleTime = 5'000'000;
    kernel.systemTime = 90'000'000;
    clsCPUUsageNT sampler{kernel};
    sampler.Initialize();
    Sample(kernel, sampler, {{idle, clock, 0, figure}}, processors);
  }
}

TEST(NTSampler, AFigureCoversTheWholeIntervalSinceTheLastOne) {
  fake::FakeKernel kernel;
  kernel.idleResolution = 100'000;
  clsCPUUsageNT sampler{kernel};
  sampler.Initialize();
  // A too short interval, or none, keeps the last sample, so the next figure covers 1.6 of the
  // last 1.0 million; failed samples count into the next one too; a clock set back measures from
  // there.
  // clang-format off
  Sample(kernel, sampler, {{1'600'000, 1'000'000, 0, 20}, {300'000, 0, 0, 20}, {100'000, 50'000, 0, 20},
                           {1'200'000, 950'000, 0, 20}, {0, 250'000, 1, -1}, {0, 250'000, 2, -1}, {0, 250'000, 3, -1},
                           {1'600'000, 250'000, 0, 20}, {0, -5'000'000, 0, 20}, {2'000'000, 1'000'000, 0, 0}});
  // clang-format on
}

}  // namespace
}  // namespace sysvane
