// The patterns run on every redraw, so they must not touch the heap. This
// program counts every global operator new.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

#include "display/alarm.h"
#include "native/display/allocation_counter.h"
#include "display/clock_format.h"
#include "display/system_format.h"
#include "display/system_sampler.h"


namespace {

class AllDrives : public DriveSpaceSource {
 public:
  bool QueryDriveSpace(char16_t letter, DriveSpace& space) override {
    if (letter != u'C') return false;
    space = {1ull << 33, 1ull << 36};
    return true;
  }
};

class SteadySources : public SystemSources {
 public:
  bool QueryDriveSpace(char16_t, DriveSpace&) override { return false; }
  bool OpenProcessorCounter() override { return open = true; }
  void CloseProcessorCounter() override { open = false; }
  bool ProcessorCounterOpen() const override { return open; }
  bool SampleProcessorLoad(int32_t& percent) override {
    percent = 3;
    return true;
  }
  bool ReadMemoryStatus(MemorySnapshot& m) override {
    m.total_physical = 1ull << 33;
    return true;
  }
  bool ReadPowerStatus(PowerSnapshot&) override { return false; }
  bool open = false;
};

TEST(FormatAllocations, CountingWorks) {
  const long before = AllocationCount();
  // Called as a function and made to escape, so the optimiser cannot elide it.
  void* p = ::operator new(16);
  asm volatile("" : : "g"(p) : "memory");
  ::operator delete(p);
  EXPECT_GT(AllocationCount() - before, 0) << "the counter must see allocations";
}

TEST(FormatAllocations, ClockPatternAllocatesNothing) {
  const std::u16string long_pattern(700, u'y');  // allocated before counting
  const TimeRecord t{2024, 2, 4, 29, 13, 7, 9, 456};
  TextBuffer out;
  const long before = AllocationCount();
  FormatDateTime(out, t, u"a, d MMMM yyyy H:mm:ss");
  FormatDateTime(out, t, u"MMMMMMM aaa PP ii:mm:ss.fff ddd rr [\\x{}]");
  FormatDateTime(out, t, long_pattern);
  EXPECT_EQ(AllocationCount() - before, 0);
  EXPECT_EQ(out.size(), 516u) << "129 whole \"yyyy\" pieces fit";
}

TEST(FormatAllocations, SystemPatternAllocatesNothing) {
  SystemSnapshot snapshot;
  snapshot.processor_load = 42;
  snapshot.memory.total_physical = 1ull << 34;
  snapshot.memory.available_physical = 1ull << 32;
  DriveWatch watch;
  watch.WarnDiskSize = true;
  watch.WATCHDRIVEFREE_SIZE[2] = 50;
  AllDrives drives;
  TextBuffer out;
  const long before = AllocationCount();
  const bool warning = FormatSystemInfo(
      out, snapshot, u"Processor:{c}% {mM}/{MM}MB {b} {MX},{MY} {dCG}/{DCG} {dQG} \\n\\{", watch,
      drives);
  EXPECT_EQ(AllocationCount() - before, 0);
  EXPECT_TRUE(warning);
}

TEST(FormatAllocations, AlarmCycleAllocatesNothing) {
  Settings s;
  s.ALARM = kAlarmDaily;
  s.ALARM_HOUR = 13;
  s.ALARM_MIN = 7;
  s.JIHOU = 1;
  s.ALARM_WAV.assign(u"a.wav");
  AlarmMachine machine;
  TextBuffer out;
  const long before = AllocationCount();
  for (uint16_t sec = 0; sec < 60; ++sec) {
    const TimeRecord t{2024, 2, 4, 29, 13, 7, sec, 0};
    const AlarmBooking booking = machine.Book(s, t, false);
    machine.Highlight(s, t, 0);
    machine.Sounds(s, t);
    machine.DriveWarning(s, sec % 3 == 0, t);
    FormatCountdown(out, booking.remaining);
  }
  EXPECT_EQ(AllocationCount() - before, 0);
}

TEST(FormatAllocations, SamplerAllocatesNothing) {
  SteadySources sources;
  SystemSampler sampler(sources);
  SamplerRequest request;
  request.CPUMEM = true;
  request.FORMATCPU = u"{c}% {MM}MB {b} {MX},{MY} {dZG}";
  const long before = AllocationCount();
  for (uint32_t tick = 0; tick < 5000; tick += 20) {
    request.tick = tick;
    request.cursor = {static_cast<int32_t>(tick), 7};
    sampler.Run(request);
  }
  EXPECT_EQ(AllocationCount() - before, 0);
  EXPECT_FALSE(sampler.text().empty());
}

}  // namespace
