#pragma once
// Fakes for the display's seams with predictable metrics: every character is
// kCharWidth wide, every text row kRowHeight high; wrapped text breaks at the
// area's width and at line feeds.

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "display/canvas.h"
#include "display/display_cycle.h"
#include "display/placement.h"
#include "display/system_sampler.h"

namespace fakes {

constexpr int32_t kCharWidth = 6;
constexpr int32_t kRowHeight = 10;

struct TextCall {
  std::u16string text;
  Rect area;
  uint32_t flags = 0;
  Color color = 0;
  Color background = 0;
  bool opaque = false;
  bool background_set = false;
};

struct RowCall {
  int32_t y;
  int32_t width;
  Color color;
};

struct PictureCall {
  Point to;
  Size size;
};

// Rows and width of a text laid out in `area` with `flags`.
inline Size Layout(std::u16string_view text, const Rect& area, uint32_t flags) {
  if (text.empty()) return Size{0, 0};
  const int32_t width = area.right - area.left;
  const bool wrap = (flags & text_flags::kWordBreak) != 0 && (flags & text_flags::kSingleLine) == 0;
  const int32_t per_row = std::max<int32_t>(1, width / kCharWidth);
  int32_t rows = 0;
  int32_t widest = 0;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = wrap ? text.find(u'\n', start) : std::u16string_view::npos;
    if (end == std::u16string_view::npos) end = text.size();
    const int32_t length = static_cast<int32_t>(end - start);
    if (wrap && length > per_row) {
      rows += (length + per_row - 1) / per_row;
      widest = std::max(widest, per_row * kCharWidth);
    } else {
      rows += 1;
      widest = std::max(widest, length * kCharWidth);
    }
    start = end + 1;
  }
  return Size{widest, rows * kRowHeight};
}

class FakeCanvas : public Canvas {
 public:
  void FillRect(const Rect& area, Color color) override { fills.push_back({area, color}); }
  int32_t PaintText(std::u16string_view text, const Rect& area, uint32_t flags) override {
    texts.push_back(TextCall{std::u16string(text), area, flags, text_color, background, opaque, background_set});
    return Layout(text, area, flags).height;
  }
  Rect MeasureText(std::u16string_view text, const Rect& area, uint32_t flags) override {
    measured_flags.push_back(flags);
    const Size size = Layout(text, area, flags);
    return Rect{area.left, area.top, area.left + size.width, area.top + size.height};
  }
  Color SetTextColor(Color color) override {
    const Color previous = text_color;
    text_color = color;
    return previous;
  }
  void SetBackgroundColor(Color color) override {
    background = color;
    background_set = true;
  }
  void SetBackgroundOpaque(bool value) override { opaque = value; }
  void SelectDisplayFont() override { ++font_selected; }
  void RestoreFont() override { ++font_restored; }
  void DrawRow(int32_t y, int32_t width, Color color) override { rows.push_back({y, width, color}); }
  void CopyPicture(const Picture&, Point to, Size size) override { pictures.push_back({to, size}); }

  Color text_color = 0;
  Color background = kWhite;  // a fresh drawing surface starts white
  bool background_set = false;
  bool opaque = false;
  int font_selected = 0;
  int font_restored = 0;
  std::vector<std::pair<Rect, Color>> fills;
  std::vector<TextCall> texts;
  std::vector<uint32_t> measured_flags;
  std::vector<RowCall> rows;
  std::vector<PictureCall> pictures;
};

class FakeProvider : public CanvasProvider {
 public:
  Canvas* Obtain() override {
    ++obtained;
    return available ? &canvas : nullptr;
  }
  void Release() override { ++released; }
  FakeCanvas canvas;
  bool available = true;
  int obtained = 0;
  int released = 0;
};

class FakeSources : public DisplaySources {
 public:
  TimeRecord LocalNow() override { return now; }
  uint32_t TickCount() override { return tick; }
  Point CursorPosition() override { return cursor; }
  bool DarkMode() override { return dark; }
  ImeReading ReadIme() override { return ime; }
  bool MemoScriptHeldBack() override { return held_back; }
  void PollMemoScript(std::u16string& output) override {
    ++polls;
    output = script_output;
  }
  bool WindowExists(uintptr_t window) override { return window != 0 && window == live_window; }
  bool ClipboardWatching() override { return watching; }
  ClipboardView Clipboard() override { return ClipboardView{clipboard_text, clipboard_files, picture}; }
  void PlayWav(std::u16string_view file) override { played.emplace_back(file); }

  TimeRecord now;
  uint32_t tick = 0;
  Point cursor;
  bool dark = false;
  ImeReading ime;
  bool held_back = false;
  std::u16string script_output;
  int polls = 0;
  uintptr_t live_window = 0;
  bool watching = false;
  std::u16string clipboard_text;
  bool clipboard_files = false;
  const Picture* picture = nullptr;
  std::vector<std::u16string> played;
};

struct Move {
  Point text;
  Point background;
};

struct Opacity {
  int32_t text;
  int32_t background;
  Color key;
};

class FakeWindows : public OverlayWindows {
 public:
  Point CursorPosition() override { return cursor; }
  Size TextWindowSize() override { return text_size; }
  void MoveWindows(Point text_at, Point background_at) override { moves.push_back({text_at, background_at}); }
  void ResizeWindows(Size text, Size background) override {
    // Like the window system, never larger than it can make.
    text_size = Size{std::min(text.width, max_side), std::min(text.height, max_side)};
    background_size = Size{std::min(background.width, max_side), std::min(background.height, max_side)};
    ++resizes;
  }
  void SetOpacity(int32_t text_alpha, int32_t background_alpha, Color key) override {
    opacities.push_back({text_alpha, background_alpha, key});
  }
  void StartFadeTimer() override {
    ++timer_starts;
    timer_running = true;
  }
  void StopFadeTimer() override { timer_running = false; }
  int32_t MonitorCount() override { return static_cast<int32_t>(monitors.size()); }
  bool GetMonitor(int32_t index, MonitorInfo& info) override {
    if (index < 0 || index >= MonitorCount()) return false;
    info = monitors[static_cast<size_t>(index)];
    return true;
  }

  // The DPI of the monitor holding the point (the first when none does).
  int32_t MonitorDpiAt(Point point) override {
    for (const MonitorInfo& m : monitors) {
      const Rect& r = m.monitor;
      if (point.x >= r.left && point.x < r.right && point.y >= r.top && point.y < r.bottom) return m.dpi;
    }
    return monitors.empty() ? kBaseDpi : monitors[0].dpi;
  }

  Point cursor;
  Size text_size{500, 1000};
  Size background_size{500, 1000};
  int resizes = 0;
  int32_t max_side = INT32_MAX;
  std::vector<Move> moves;
  std::vector<Opacity> opacities;
  int timer_starts = 0;
  bool timer_running = false;
  std::vector<MonitorInfo> monitors{MonitorInfo{Rect{0, 0, 1280, 1024}, Rect{0, 0, 1280, 994}}};
};

class FakeSystemSources : public SystemSources {
 public:
  bool OpenProcessorCounter() override {
    open = true;
    return true;
  }
  void CloseProcessorCounter() override { open = false; }
  bool ProcessorCounterOpen() const override { return open; }
  bool SampleProcessorLoad(int32_t& percent) override {
    percent = load;
    return true;
  }
  bool ReadMemoryStatus(MemorySnapshot& memory) override {
    memory = MemorySnapshot{};
    return true;
  }
  bool ReadPowerStatus(PowerSnapshot& power) override {
    power.battery_percent = 80;
    return true;
  }
  bool QueryDriveSpace(char16_t, DriveSpace&) override { return false; }

  bool open = false;
  int32_t load = 42;
};

}  // namespace fakes
