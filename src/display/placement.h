#pragma once
// Placement beside the cursor or in a monitor corner, the rest counter and
// the fades. The decisions are here; OverlayWindows is the platform's side.

#include <cstdint>

#include "display/canvas.h"
#include "display/display_state.h"

struct Settings;

struct MonitorInfo {
  Rect monitor;  // the whole screen of the monitor
  Rect work;     // its work area
  int32_t dpi = kBaseDpi;
};

// What placement and the display cycle ask of the two overlay windows.
class OverlayWindows {
 public:
  virtual ~OverlayWindows() = default;
  virtual Point CursorPosition() = 0;
  virtual Size TextWindowSize() = 0;
  // Both windows stay topmost and are shown, neither activated nor resized.
  virtual void MoveWindows(Point text_at, Point background_at) = 0;
  // Neither moved, activated nor redrawn.
  virtual void ResizeWindows(Size text, Size background) = 0;
  virtual void SetOpacity(int32_t text_alpha, int32_t background_alpha, Color background_key) = 0;
  // May be called from the script thread.
  virtual void StartFadeTimer() = 0;
  virtual void StopFadeTimer() = 0;
  virtual int32_t MonitorCount() = 0;
  // The monitor at `index` in the platform's enumeration order.
  virtual bool GetMonitor(int32_t index, MonitorInfo& info) = 0;
  // DPI of the monitor that holds (or is nearest to) `point`.
  virtual int32_t MonitorDpiAt(Point /*point*/) { return kBaseDpi; }
};

// Window positions on the virtual screen are 16-bit quantities to the window
// system; placement never asks for one outside this range.
inline constexpr int32_t kVirtualScreenMin = -32768;
inline constexpr int32_t kVirtualScreenMax = 32767;

// The cursor coordinate moved by LEFT or TOP, without overflow, held to the
// virtual screen's range. A panel beyond the screen's edge is not pulled back.
int32_t OffsetCoordinate(int32_t cursor, int32_t offset);

// Key of the background window: white when the panel colour is itself the
// key colour, so the panel still shows.
Color BackgroundKey(Color panel_colour);

// BG_ALPHA scaled by the text window's opacity.
int32_t BackgroundAlpha(int32_t opacity, int32_t bg_alpha);

// Top-left of a window of `size` in corner 0-7 of the WPOS table.
Point CornerPosition(const MonitorInfo& monitor, int32_t corner, Size size);

// The DPI the panel is to be drawn at: a pinned panel takes its target
// monitor's, a panel beside the cursor the cursor's monitor's.
int32_t PanelDpi(const Settings& settings, OverlayWindows& windows);

// One call per visible display tick (force false), and from the display
// cycle after a resize when WPOS is not 0 (force true). May set WPOS to 1
// when its monitor does not exist.
void PlaceWindows(DisplayState& state, Settings& settings, OverlayWindows& windows, bool force);

// The hide and show commands: the next tick places and restarts resting.
void ResetPlacement(DisplayState& state);

// Sets the direction and (re)starts the fade timer.
void StartFade(DisplayState& state, FadeDirection direction, OverlayWindows& windows);

// Handler of the fade timer.
void FadeStep(DisplayState& state, const Settings& settings, OverlayWindows& windows);

// Applies the current opacity to both windows.
void ApplyOpacity(const DisplayState& state, const Settings& settings, OverlayWindows& windows);

// The highlight makes the panel fully opaque at once; a fade-out in
// progress becomes a fade-in.
void ShowOpaqueForHighlight(DisplayState& state, const Settings& settings, OverlayWindows& windows);

// Script requests (may run on the script thread). True when a fade started.
bool Fadein(DisplayState& state, OverlayWindows& windows);
bool Fadeout(DisplayState& state, OverlayWindows& windows);
