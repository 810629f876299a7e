#pragma once
// The display cycle: on every display tick (and every paint of the text
// window) decide whether anything changed, stack the enabled lines one under
// another over a Canvas, measure them and size both overlay windows.
//
// What other parts of the program contribute comes through seams:
//   DisplaySources  time, cursor, dark mode, input method, memo script,
//                   sender windows of the external text, clipboard cache;
//   AlarmMachine    alarm bookkeeping, the highlight rule, sounds and the
//                   drive warning (display/alarm.h);
//   SystemSampler   the system line (display/system_sampler.h);
//   OverlayWindows  sizes, opacity and placement (display/placement.h);
//   CanvasProvider  the drawing surface, when there is one.
// Each seam's defaults behave as if its feature were off.

#include <cstdint>
#include <string>
#include <string_view>

#include "common/fixed_text.h"
#include "common/language.h"
#include "display/canvas.h"
#include "display/clock_format.h"
#include "display/display_state.h"
#include "display/placement.h"

struct Settings;
class AlarmMachine;
class SystemSampler;

// The input method of the foreground window.
struct ImeReading {
  enum class Kind : uint8_t { Absent, Closed, Open };
  Kind kind = Kind::Absent;     // Absent: no foreground window or no IME window
  uint32_t conversion_mode = 0;  // meaningful when Open
};

// What the clipboard cache holds, as the display reads it.
struct ClipboardView {
  std::u16string_view text;
  bool files = false;               // a list of copied files
  const Picture* picture = nullptr;  // drawn instead of the text when set
};

class DisplaySources {
 public:
  virtual ~DisplaySources() = default;
  virtual TimeRecord LocalNow() = 0;
  virtual uint32_t TickCount() = 0;
  virtual Point CursorPosition() = 0;
  virtual bool DarkMode() { return false; }
  virtual ImeReading ReadIme() { return {}; }
  // Ten seconds after start-up and after a resume the memo script waits.
  virtual bool MemoScriptHeldBack() { return false; }
  // Starts the memo script when due and copies its current output.
  virtual void PollMemoScript(std::u16string& output) { output.clear(); }
  virtual bool WindowExists(uintptr_t window) = 0;
  virtual bool ClipboardWatching() { return false; }
  virtual ClipboardView Clipboard() { return {}; }
  // Effects the alarm machine asks for.
  virtual bool FlashWindowExists() { return false; }
  virtual void RequestFlash() {}
  virtual void PlayWav(std::u16string_view /*file*/) {}
  // A one-time alarm turned itself off: uncheck the alarm page's box, save.
  virtual void OnceAlarmEnded() {}
};

class CanvasProvider {
 public:
  virtual ~CanvasProvider() = default;
  // Null when there is no device context; painting is then left undone.
  virtual Canvas* Obtain() = 0;
  virtual void Release() = 0;
};

struct DisplayContext {
  Settings& settings;
  Language language;
  DisplayState& state;
  DisplaySources& sources;
  OverlayWindows& windows;
  AlarmMachine& alarm;
  SystemSampler* sampler = nullptr;  // null: no system line
};

// The largest window side the window system makes (its coordinates are
// 16-bit); a larger WND_WIDTH or WND_HEIGHT is held to it.
inline constexpr int32_t kMaxWindowExtent = 32767;

// WND_WIDTH / WND_HEIGHT as the panel uses it: 0 for automatic (also every
// negative number, which no window can be), else at most kMaxWindowExtent.
int32_t FixedWindowExtent(int32_t setting);

// One display cycle. Returns whether it went past the early exit.
bool DisplayCycle(DisplayContext& context, CanvasProvider& canvases, bool force);

// Whether a cycle at `now` with the cursor at `cursor` may return at once.
bool CanSkipCycle(const Settings& settings, const DisplayState& state, const TimeRecord& now,
                  Point cursor);

// Whether a paint of the text window needs a cycle. Right after a tick drew
// the panel, a paint that nobody asked for (a forced redraw, or the redraw a
// resize or a DPI change leaves pending) is the window system exposing what is
// already drawn: under Wine a colour-keyed window is exposed wherever its
// shape grew, which with hundredths in the clock is every tick, and drawing
// again there doubled the cost of each tick.
bool PaintNeedsCycle(const DisplayState& state);

// Dark-mode mapping of a colour to paint: inverted channel by channel, the
// key colour kept, and an inverted colour that would become the key colour
// painted as R=1 G=255 B=1.
Color MapColor(Color color, bool invert);

// Draws the text with an opaque background and, unless `outline` is the key
// colour, an outline of `width` pixels (one at 96 DPI) in it; returns the
// height of the last draw.
int32_t DrawOutlinedText(Canvas& canvas, std::u16string_view text, const Rect& area, uint32_t flags,
                         Color outline, int32_t width = 1);

// Tag of an input-method conversion mode ("Unknown" for modes not listed).
std::u16string_view ImeModeTag(uint32_t conversion_mode, Language language);

// The input-method line for a reading (empty for Absent).
void ComposeImeLine(const ImeReading& reading, Language language, TextBuffer& out);

// Stores text received from another program (at most 517 characters, the
// rest of the buffer cleared) together with its sender window.
void SetExternalText(DisplayState& state, std::u16string_view text, uintptr_t sender);
