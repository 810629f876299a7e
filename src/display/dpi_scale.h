#pragma once
// The panel's sizes under per-monitor DPI. Settings keep their values in
// pixels at 96 DPI (as users have always set them, and as the settings file
// stores them); the panel scales them by the DPI of the monitor it is shown
// on, so it is as large and as sharp on a 150 % screen as on a 100 % one.
// Nothing here is written back to the settings.

#include <cstdint>

#include "display/canvas.h"

struct Settings;

inline constexpr int32_t kBaseDpi = 96;

// `value` at 96 DPI in pixels at `dpi`, rounded half away from zero. A DPI of
// 0 or below (a failed query) counts as 96.
int32_t ScaleForDpi(int32_t value, int32_t dpi);

// As ScaleForDpi, never below `minimum` (for sizes that must stay visible).
int32_t ScaleForDpiAtLeast(int32_t value, int32_t dpi, int32_t minimum);

// Everything the display draws and places with, in pixels at one DPI.
struct PanelMetrics {
  int32_t dpi = kBaseDpi;
  int32_t font_height = 10;      // FONTSIZE
  int32_t left = 0;              // LEFT
  int32_t top = 20;              // TOP
  int32_t gap = 0;               // GAP_BETWEEN_ITEMS (negative reads as 0)
  int32_t outline = 1;           // width of the KAKOMI outline
  int32_t round_margin = 8;      // ROUNDRECT: the text sits this far inside the panel
  int32_t round_growth = 16;     // ROUNDRECT: the panel is this much larger each way
  int32_t corner_ellipse = 8;    // ROUNDRECT: the corners' ellipse
  int32_t max_width = 500;       // DEF_MAX_WND_WIDTH
  int32_t max_height = 1000;     // DEF_MAX_WND_HEIGHT
  int32_t fixed_width = 0;       // WND_WIDTH, 0 automatic
  int32_t fixed_height = 0;      // WND_HEIGHT, 0 automatic
  int32_t clip_image_size = 320; // DEF_MAX_CLIPIMAGESIZE
};

PanelMetrics ScalePanelMetrics(const Settings& settings, int32_t dpi);

// Follows the DPI of the monitor the panel is on. The display font is made
// for one DPI; it is made again only when the DPI really changes, not on
// every tick that asks.
class DpiFollower {
 public:
  // The DPI the panel is now on. True when the font must be made again (the
  // first call, and every change of DPI).
  bool Update(int32_t dpi);
  // The font could not be made: the next Update tries again.
  void FontFailed() { font_dpi_ = 0; }
  int32_t dpi() const { return dpi_; }

 private:
  int32_t dpi_ = kBaseDpi;
  int32_t font_dpi_ = 0;  // 0: no font yet
};

// When the panel's monitor must be asked for its DPI again. Each monitor
// query is a round trip to the window system, and a panel beside the cursor
// moves on most ticks: the monitor is asked again only when the cursor left
// the monitor it was on at the last question, when WPOS changed, or when the
// monitors themselves changed. A pinned panel (WPOS 1 and above) takes its
// target monitor's DPI, which cursor moves do not change.
class MonitorDpiGate {
 public:
  bool Due(Point cursor, int32_t wpos) const;
  // The monitor was asked with the cursor at `cursor`. `monitor` is the
  // cursor's monitor, or null when the cursor is on none (every move asks).
  void Checked(Point cursor, int32_t wpos, const Rect* monitor);
  // Monitors were added, removed, moved or rescaled.
  void Invalidate() { checked_ = false; }

 private:
  bool checked_ = false;
  int32_t wpos_ = 0;
  Point cursor_;
  bool monitor_known_ = false;
  Rect monitor_;
};
