// One clock line and one system line, as the display cycle formats them on
// every redraw.

#include <benchmark/benchmark.h>

#include "display/clock_format.h"
#include "display/system_format.h"

namespace {

class FixedDrives : public DriveSpaceSource {
 public:
  bool QueryDriveSpace(char16_t letter, DriveSpace& space) override {
    if (letter != u'C') return false;
    space = {120ull << 30, 500ull << 30};
    return true;
  }
};

void BM_ClockFormat(benchmark::State& state) {
  const TimeRecord t{2024, 3, 5, 1, 23, 59, 59, 123};
  TextBuffer out;
  for (auto _ : state) {
    FormatDateTime(out, t, u"a, d MMMM yyyy H:mm:ss.fff");
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ClockFormat);

void BM_SystemFormat(benchmark::State& state) {
  SystemSnapshot snapshot;
  snapshot.processor_load = 37;
  snapshot.memory.total_physical = 16ull << 30;
  snapshot.memory.available_physical = 3ull << 30;
  snapshot.power.battery_percent = 255;
  snapshot.cursor = {640, 480};
  DriveWatch watch;
  watch.WarnDiskSize = true;
  watch.WATCHDRIVEFREE_SIZE[2] = 10;
  watch.WATCHDRIVEFREE_UNIT[2] = 0;
  FixedDrives drives;
  TextBuffer out;
  for (auto _ : state) {
    const bool warning = FormatSystemInfo(
        out, snapshot, u"Processor:{c}% Available Memory:{mM}/{MM}MB {b}% C:{dCG}/{DCG}GB {MX},{MY}",
        watch, drives);
    benchmark::DoNotOptimize(warning);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SystemFormat);

}  // namespace
