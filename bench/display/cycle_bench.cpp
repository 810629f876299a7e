// The display tick: the early exit that runs every INTERVAL milliseconds, and
// one full recompose of a panel with several lines over a canvas that only
// computes metrics.

#include <benchmark/benchmark.h>

#include "display/alarm.h"
#include "display/display_cycle.h"
#include "display/system_sampler.h"
#include "settings/settings.h"

namespace {

class MetricsCanvas final : public Canvas {
 public:
  void FillRect(const Rect&, Color) override {}
  int32_t PaintText(std::u16string_view text, const Rect& area, uint32_t) override {
    benchmark::DoNotOptimize(text.data());
    return text.empty() ? 0 : 12 + static_cast<int32_t>(text.size() * 7 / (area.right - area.left + 1)) * 12;
  }
  Rect MeasureText(std::u16string_view text, const Rect& area, uint32_t) override {
    return Rect{area.left, area.top, area.left + static_cast<int32_t>(text.size()) * 7, area.top + 12};
  }
  Color SetTextColor(Color color) override {
    const Color previous = color_;
    color_ = color;
    return previous;
  }
  void SetBackgroundColor(Color) override {}
  void SetBackgroundOpaque(bool) override {}
  void SelectDisplayFont() override {}
  void RestoreFont() override {}
  void DrawRow(int32_t, int32_t, Color) override {}
  void CopyPicture(const Picture&, Point, Size) override {}

 private:
  Color color_ = 0;
};

class Provider final : public CanvasProvider {
 public:
  Canvas* Obtain() override { return &canvas_; }
  void Release() override {}

 private:
  MetricsCanvas canvas_;
};

class Sources final : public DisplaySources {
 public:
  TimeRecord LocalNow() override { return now; }
  uint32_t TickCount() override { return 100000; }
  Point CursorPosition() override { return Point{640, 480}; }
  bool WindowExists(uintptr_t window) override { return window == 1; }
  bool ClipboardWatching() override { return true; }
  ClipboardView Clipboard() override { return ClipboardView{u"copied text on the clipboard", false, nullptr}; }
  TimeRecord now{2026, 12, 2, 8, 3, 20, 5, 0};
};

class Windows final : public OverlayWindows {
 public:
  Point CursorPosition() override { return Point{640, 480}; }
  Size TextWindowSize() override { return size; }
  void MoveWindows(Point, Point) override {}
  void ResizeWindows(Size text, Size) override { size = text; }
  void SetOpacity(int32_t, int32_t, Color) override {}
  void StartFadeTimer() override {}
  void StopFadeTimer() override {}
  int32_t MonitorCount() override { return 1; }
  bool GetMonitor(int32_t, MonitorInfo& info) override {
    info = MonitorInfo{Rect{0, 0, 1920, 1080}, Rect{0, 0, 1920, 1040}};
    return true;
  }
  Size size;
};

class NoSystem final : public SystemSources {
 public:
  bool OpenProcessorCounter() override { return true; }
  void CloseProcessorCounter() override {}
  bool ProcessorCounterOpen() const override { return true; }
  bool SampleProcessorLoad(int32_t& percent) override {
    percent = 12;
    return true;
  }
  bool ReadMemoryStatus(MemorySnapshot& memory) override {
    memory.memory_load = 40;
    return true;
  }
  bool ReadPowerStatus(PowerSnapshot&) override { return false; }
  bool QueryDriveSpace(char16_t, DriveSpace&) override { return false; }
};

struct Panel {
  Panel() : sampler(system), context{settings, Language::English, state, sources, windows, alarm, &sampler} {
    settings.FORMAT.assign(u"yyyy/MM/dd (a) HH:mm:ss");
    settings.CPUMEM = 1;
    settings.FORMATCPU.assign(u"CPU:{c}% MEM:{m}%");
    settings.MEMO = u"a memo line";
    settings.ALARM_NOKORI = 1;
    settings.IMESTATE = 0;
    settings.GAIBU = 1;
    SetExternalText(state, u"external text", 1);
    settings.SHOW_LINE = 1;
    settings.GAP_BETWEEN_ITEMS = 2;
    for (int i = 0; i < 4; ++i) DisplayCycle(context, provider, true);
  }
  Settings settings;
  DisplayState state;
  Sources sources;
  Windows windows;
  AlarmMachine alarm;
  NoSystem system;
  SystemSampler sampler;
  Provider provider;
  DisplayContext context;
};

void BM_DisplayTickEarlyExit(benchmark::State& bench) {
  Panel panel;
  for (auto _ : bench) benchmark::DoNotOptimize(DisplayCycle(panel.context, panel.provider, false));
  bench.SetItemsProcessed(bench.iterations());
}
BENCHMARK(BM_DisplayTickEarlyExit);

void BM_DisplayFullRecompose(benchmark::State& bench) {
  Panel panel;
  for (auto _ : bench) benchmark::DoNotOptimize(DisplayCycle(panel.context, panel.provider, true));
  bench.SetItemsProcessed(bench.iterations());
}
BENCHMARK(BM_DisplayFullRecompose);

void BM_PlaceWindowsResting(benchmark::State& bench) {
  Panel panel;
  panel.settings.HIDESTOP = 1;
  for (auto _ : bench) PlaceWindows(panel.state, panel.settings, panel.windows, false);
  bench.SetItemsProcessed(bench.iterations());
}
BENCHMARK(BM_PlaceWindowsResting);

}  // namespace
