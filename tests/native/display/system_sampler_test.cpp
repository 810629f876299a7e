#include "display/system_sampler.h"

#include <gtest/gtest.h>

#include "common/utf.h"
#include "fake_system_sources.h"

namespace {

class SystemSamplerTest : public ::testing::Test {
 protected:
  SystemSamplerTest() : sampler(sources) {
    sources.load = 12;
    sources.memory.total_physical = 8 * kGiB;
    sources.memory.available_physical = 2 * kGiB;
    sources.power.battery_percent = 64;
    request.CPUMEM = true;
    request.FORMATCPU = u"{c}% {mM}/{MM} {b}";
  }

  SamplerOutcome RunAt(uint32_t tick, CursorPoint cursor = {}) {
    request.tick = tick;
    request.cursor = cursor;
    return sampler.Run(request);
  }

  std::string Text() const { return Utf16ToUtf8(sampler.text().view()); }

  FakeSystemSources sources;
  SystemSampler sampler;
  SamplerRequest request;
};

TEST_F(SystemSamplerTest, OpensFirstThenSamplesAtMostOncePerSecond) {
  EXPECT_EQ(RunAt(5000), SamplerOutcome::NoLine) << "the opening cycle draws no line";
  EXPECT_EQ(sources.opens, 1);
  EXPECT_EQ(RunAt(5020), SamplerOutcome::Sampled) << "first cycle after opening samples";
  EXPECT_EQ(Text(), " 12% 2048/8192  64");
  sources.load = 99;
  EXPECT_EQ(RunAt(5500), SamplerOutcome::Kept);
  EXPECT_EQ(RunAt(6020), SamplerOutcome::Kept) << "exactly 1000 ms is not more than 1000";
  EXPECT_EQ(Text(), " 12% 2048/8192  64");
  EXPECT_EQ(RunAt(6021), SamplerOutcome::Sampled);
  EXPECT_EQ(Text(), " 99% 2048/8192  64");
  EXPECT_EQ(sources.samples, 2);
  EXPECT_EQ(sources.opens, 1);
}

TEST_F(SystemSamplerTest, TickCountWrapIsUnsigned) {
  RunAt(0xFFFFFF00u);
  RunAt(0xFFFFFF10u);
  EXPECT_EQ(RunAt(0x00000100u), SamplerOutcome::Kept) << "0x1F0 ms since the sample";
  EXPECT_EQ(RunAt(0x00000400u), SamplerOutcome::Sampled);
}

TEST_F(SystemSamplerTest, CursorPatternReformatsFromKeptSamples) {
  request.FORMATCPU = u"{c} at {MX},{MY}";
  RunAt(100);
  EXPECT_EQ(RunAt(200, {10, 20}), SamplerOutcome::Sampled);
  EXPECT_EQ(Text(), " 12 at   10,  20");
  sources.load = 50;
  EXPECT_EQ(RunAt(300, {30, 40}), SamplerOutcome::Reformatted);
  EXPECT_EQ(Text(), " 12 at   30,  40") << "load still from the kept sample";
  EXPECT_EQ(sources.samples, 1);
}

TEST_F(SystemSamplerTest, FailedOpenIsRetriedEachCycle) {
  sources.open_succeeds = false;
  EXPECT_EQ(RunAt(100), SamplerOutcome::NoLine);
  EXPECT_EQ(RunAt(120), SamplerOutcome::NoLine);
  EXPECT_EQ(sources.opens, 2);
  sources.open_succeeds = true;
  EXPECT_EQ(RunAt(140), SamplerOutcome::NoLine);
  EXPECT_EQ(RunAt(160), SamplerOutcome::Sampled);
}

TEST_F(SystemSamplerTest, ClosesWhenNeitherLineNorMemoScriptNeedsIt) {
  RunAt(100);
  RunAt(200);
  request.CPUMEM = false;
  request.MEMO_AS_SCRIPT = true;
  EXPECT_EQ(RunAt(300), SamplerOutcome::NoLine);
  EXPECT_TRUE(sources.open) << "kept open for the memo script";
  request.MEMO_AS_SCRIPT = false;
  EXPECT_EQ(RunAt(400), SamplerOutcome::NoLine);
  EXPECT_FALSE(sources.open);
  EXPECT_EQ(sources.closes, 1);
  // Switched on again: opens, and samples anew on the next cycle.
  request.CPUMEM = true;
  EXPECT_EQ(RunAt(500), SamplerOutcome::NoLine);
  EXPECT_EQ(RunAt(520), SamplerOutcome::Sampled);
}

TEST_F(SystemSamplerTest, UnreadableSourcesGiveZeroAndUnknownBattery) {
  sources.power_ok = false;
  sources.load_ok = false;
  sources.memory_ok = false;
  RunAt(100);
  RunAt(200);
  EXPECT_EQ(Text(), "  0%    0/   0 ---");
}

TEST_F(SystemSamplerTest, KeepsDriveVerdictBetweenSamples) {
  DriveWatch watch;
  watch.WarnDiskSize = true;
  watch.WATCHDRIVEFREE_SIZE['D' - 'A'] = 10;
  watch.WATCHDRIVEFREE_UNIT['D' - 'A'] = 0;
  sources.drives[u'D'] = {5, 100};
  request.watch = &watch;
  request.FORMATCPU = u"{dDB}";
  RunAt(100);
  RunAt(200);
  EXPECT_TRUE(sampler.drive_warning());
  sources.drives[u'D'] = {50, 100};
  EXPECT_EQ(RunAt(300), SamplerOutcome::Kept);
  EXPECT_TRUE(sampler.drive_warning());
  EXPECT_EQ(RunAt(1300), SamplerOutcome::Sampled);
  EXPECT_FALSE(sampler.drive_warning());
}

}  // namespace
