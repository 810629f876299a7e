// The display tick that does not redraw runs every 20 ms for the life of the
// process: it must not touch the heap.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "display/alarm.h"
#include "native/display/allocation_counter.h"
#include "display/display_cycle.h"
#include "display/system_sampler.h"
#include "native/display/display_fakes.h"
#include "settings/settings.h"


namespace {

TEST(DisplayCycleAllocation, EarlyExitAllocatesNothing) {
  Settings settings;
  settings.FORMAT.assign(u"yyyy/MM/dd HH:mm:ss");
  settings.CPUMEM = 1;
  settings.FORMATCPU.assign(u"CPU {c}% {MX}");
  settings.MEMO = u"a memo long enough to need the heap if it were copied";
  settings.CLIPBOARD = 1;
  DisplayState state;
  fakes::FakeSources sources;
  sources.now.second = 12;
  sources.tick = 9000;
  fakes::FakeWindows windows;
  AlarmMachine alarm;
  fakes::FakeSystemSources system;
  SystemSampler sampler(system);
  fakes::FakeProvider provider;
  DisplayContext context{settings, Language::English, state, sources, windows, alarm, &sampler};
  for (int i = 0; i < 4; ++i) DisplayCycle(context, provider, true);  // settle sizes
  provider.canvas = fakes::FakeCanvas{};

  const long before = AllocationCount();
  bool any_redraw = false;
  for (int i = 0; i < 1000; ++i) any_redraw |= DisplayCycle(context, provider, false);
  const long during = AllocationCount() - before;

  EXPECT_FALSE(any_redraw);
  EXPECT_EQ(during, 0);
}

TEST(DisplayCycleAllocation, CounterSeesAllocations) {
  const long before = AllocationCount();
  // Called as a function and made to escape, so the optimiser cannot elide it.
  void* p = ::operator new(16);
  asm volatile("" : : "g"(p) : "memory");
  ::operator delete(p);
  EXPECT_EQ(AllocationCount() - before, 1);
}

}  // namespace
