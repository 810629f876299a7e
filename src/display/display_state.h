#pragma once
// The state the overlay display keeps between ticks. One instance lives for
// the whole process, owned by the user-interface thread. The fade direction,
// the rest counter, the opacity and the forced-alarm value are also written
// by the script thread (Fadein, Fadeout, ForceAlarm), hence atomics.

#include <atomic>
#include <cstdint>
#include <string>

#include "common/fixed_text.h"
#include "display/canvas.h"
#include "display/dpi_scale.h"

enum class FadeDirection : uint8_t { None, In, Out };

// The rest counter's "rest actions are done" value (all bits set).
constexpr uint32_t kRestDone = 0xFFFFFFFFu;

// Highest opacity, and the faint level a fade-out ends at without HideOut.
constexpr int32_t kOpaque = 255;
constexpr int32_t kFaint = 30;
constexpr int32_t kFadeStep = 15;

// The last second drawn takes this value to force the next cycle to draw.
constexpr int32_t kRedrawSecond = 60;

struct DisplayState {
  // --- display cycle ---
  int32_t last_second = kRedrawSecond;
  Point last_cursor_seen;       // cursor as the previous cycle saw it
  bool hidden = false;          // the "hide" command: nothing is painted
  bool force_redraw = false;    // consumed by the next visible tick
  bool drawn_this_tick = false; // the current display tick's cycle drew the panel
  bool highlight = false;       // the panel is in its alarm colour this cycle
  std::atomic<int32_t> forced_alarm{0};
  bool applied_roundrect = false;  // ROUNDRECT at the last resize
  int32_t applied_dpi = kBaseDpi;  // DPI at the last resize
  // DPI of the monitor the panel is on; every size is scaled by it.
  int32_t dpi = kBaseDpi;
  Size final_size;                 // size the last full cycle asked for
  Size requested_size;             // size the last resize asked for
  Size obtained_size;              // what the window took of it

  // Line texts of the last full cycle, kept so a redraw allocates nothing.
  TextBuffer clock_text;
  TextBuffer line_text;
  std::u16string memo_text;

  // Text sent in by another program, shown while its sender window exists.
  TextBuffer external_text;
  uintptr_t external_sender = 0;

  // --- placement ---
  Point last_cursor;       // last cursor position placed at
  int32_t last_wpos = 0;   // WPOS used at the last placement
  std::atomic<uint32_t> rest_counter{0};

  // --- fading ---
  std::atomic<int32_t> opacity{0};  // of the text window, 0-255
  std::atomic<FadeDirection> direction{FadeDirection::None};
};
