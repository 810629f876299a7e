#pragma once
// The display as the main window uses it: one DisplayRuntime per process
// (the program's lives in AppState), created before the overlay windows and
// living until after they are gone. The interface language is the process's
// (AppLanguage).
//
//   DisplayRuntime display(settings, instance);
//   display.hooks() = ...;             // the program's features, before the windows
//   CreateOverlayWindows(instance, settings, title, display.background_paint(), param, handles,
//                        &display.windows());   // attached before the first paint
//   WM_CREATE of the text window:      display.MakeFont()
//   WM_DPICHANGED:                     display.FollowMonitorDpi()
//   display tick (visible):            if (!display.windows().TextWindowVisible())
//                                        display.windows().ShowWithoutActivating();
//                                      display.Place(false); display.Cycle(nullptr, force)
//   display tick (hidden):             display.windows().Hide(); display.CycleWithoutDrawing()
//   WM_PAINT:                          display.Cycle(ps.hdc, force_redraw)
//   WM_TIMER 313542:                   display.OnFadeTimer()
//   commands hide/show:                display.state().hidden = ..., force_redraw = true;
//                                      on show ResetPlacement(display.state()),
//                                      display.windows().InvalidateBoth()
//   WM_COPYDATA 102414:                SetExternalText(display.state(), text, sender)
//   script host Fadein/Fadeout:        display.Fadein() / display.Fadeout()  (any thread)
//   WM_DESTROY:                        display.StopFading(); display.ReleaseFont(); display.CloseSampler()
//
// Parts built later plug in through DisplayHooks; a null hook is a feature
// that is off.

#include <windows.h>

#include <optional>
#include <string>

#include "display/alarm.h"
#include "display/display_cycle.h"
#include "display/dpi_scale.h"
#include "display/gdi_canvas_win.h"
#include "display/overlay_window_win.h"
#include "display/system_sampler.h"
#include "display/system_sampler_win.h"

struct Settings;

struct DisplayHooks {
  bool (*dark_mode)() = nullptr;
  bool (*memo_script_held_back)() = nullptr;
  // Starts the memo script when due and copies its output into `output`.
  void (*poll_memo_script)(std::u16string& output) = nullptr;
  bool (*clipboard_watching)() = nullptr;
  ClipboardView (*clipboard)() = nullptr;
  // A one-time alarm ended: uncheck the alarm page's box 1012, save settings.
  void (*once_alarm_ended)() = nullptr;
};

// The display font: cell height FONTSIZE (scaled to `dpi`), weight 700 or
// 500, italic from FONTITALIC, TrueType, not antialiased (the panel's colour
// key must see only whole colours), variable pitch, face FONTNAME.
HFONT CreateDisplayFont(const Settings& settings, int32_t dpi = kBaseDpi);

// The foreground window's input method through its default IME window.
ImeReading ReadForegroundIme();

class WinDisplaySources final : public DisplaySources {
 public:
  WinDisplaySources(const Settings& settings, const DisplayHooks& hooks, HINSTANCE instance,
                    const TickCursor& tick_cursor)
      : settings_(settings), hooks_(hooks), instance_(instance), tick_cursor_(tick_cursor) {}

  TimeRecord LocalNow() override;
  uint32_t TickCount() override;
  Point CursorPosition() override;
  bool DarkMode() override;
  ImeReading ReadIme() override { return ReadForegroundIme(); }
  bool MemoScriptHeldBack() override;
  void PollMemoScript(std::u16string& output) override;
  bool WindowExists(uintptr_t window) override;
  bool ClipboardWatching() override;
  ClipboardView Clipboard() override;
  bool FlashWindowExists() override;
  void RequestFlash() override;
  void PlayWav(std::u16string_view file) override;
  void OnceAlarmEnded() override;

 private:
  const Settings& settings_;
  const DisplayHooks& hooks_;
  HINSTANCE instance_;
  const TickCursor& tick_cursor_;
};

// Draws nothing: the cycle's bookkeeping runs while the panel is hidden.
class NoCanvasProvider final : public CanvasProvider {
 public:
  Canvas* Obtain() override { return nullptr; }
  void Release() override {}
};

// Draws on a paint's device context when given one, else on the window's own.
class GdiCanvasProvider final : public CanvasProvider {
 public:
  GdiCanvasProvider(HWND window, HDC given, HFONT font) : window_(window), given_(given), font_(font) {}
  ~GdiCanvasProvider() override { Release(); }
  Canvas* Obtain() override;
  void Release() override;

 private:
  HWND window_;
  HDC given_;
  HFONT font_;
  HDC own_ = nullptr;
  std::optional<GdiCanvas> canvas_;
};

class DisplayRuntime {
 public:
  DisplayRuntime(Settings& settings, HINSTANCE instance);
  DisplayRuntime(const DisplayRuntime&) = delete;
  DisplayRuntime& operator=(const DisplayRuntime&) = delete;
  ~DisplayRuntime();

  void Attach(const OverlayHandles& handles) { windows_.Attach(handles); }
  const BackgroundPaintSource* background_paint() const { return &background_paint_; }

  bool MakeFont();
  void ReleaseFont();
  HFONT font() const { return font_; }

  // One display cycle on `dc` (a paint's), or on the text window's own.
  bool Cycle(HDC dc, bool force);
  // The cycle's bookkeeping (alarm, sampling, script output) while hidden.
  bool CycleWithoutDrawing();
  // Follows the DPI of the panel's monitor, then places the windows. The
  // monitor is asked only when MonitorDpiGate says so: a tick that moves the
  // cursor within its monitor makes no call for it (a scale change on the
  // panel's own monitor arrives as WM_DPICHANGED, a change of the monitors
  // as WM_DISPLAYCHANGE).
  void Place(bool force) {
    const Point cursor = windows_.CursorPosition();
    if (force || dpi_gate_.Due(cursor, settings_.WPOS)) {
      FollowMonitorDpi();
      Rect monitor;
      const bool known = settings_.WPOS <= 0 && windows_.MonitorRectAt(cursor, monitor);
      dpi_gate_.Checked(cursor, settings_.WPOS, known ? &monitor : nullptr);
    }
    PlaceWindows(state_, settings_, windows_, force);
  }
  // WM_DISPLAYCHANGE and WM_DPICHANGED: the next tick asks the monitor again.
  void MonitorsChanged() { dpi_gate_.Invalidate(); }
  // The panel's monitor may have another DPI (the cursor crossed to another
  // monitor, the user changed the scale, or WM_DPICHANGED arrived): the font
  // is made again once per change and the next cycle draws in full.
  void FollowMonitorDpi();
  // The fade timer's tick: one step; the timer keeps running only while a
  // fade goes on (a first tick posted from the script thread starts it).
  void OnFadeTimer();
  void StopFading() { windows_.StopFadeTimer(); }
  bool Fadein() { return ::Fadein(state_, windows_); }
  bool Fadeout() { return ::Fadeout(state_, windows_); }
  void CloseSampler() { sampler_.Close(); }

  DisplayState& state() { return state_; }
  DisplayHooks& hooks() { return hooks_; }
  AlarmMachine& alarm() { return alarm_; }
  OverlayWindowsWin& windows() { return windows_; }

 private:
  bool RunCycle(CanvasProvider& canvases, bool force);

  Settings& settings_;
  DisplayHooks hooks_;
  DisplayState state_;
  AlarmMachine alarm_;
  WinSystemSources system_sources_;
  SystemSampler sampler_;
  OverlayWindowsWin windows_;
  WinDisplaySources sources_;
  BackgroundPaintSource background_paint_;
  HFONT font_ = nullptr;
  DpiFollower dpi_;
  MonitorDpiGate dpi_gate_;
};
