#pragma once
// The two overlay windows: the text window (class "kirabi", whose procedure
// is the main window's) and the background window under it (class
// "kirabi_bg", painted here). Both are layered, click-through, topmost
// tool windows.

#include <windows.h>

#include <optional>
#include <string_view>

#include "display/placement.h"
#include "display/tick_cursor.h"

struct Settings;

inline constexpr wchar_t kTextWindowClass[] = L"kirabi";
inline constexpr wchar_t kBackgroundWindowClass[] = L"kirabi_bg";

inline constexpr UINT_PTR kFadeTimerId = 313542;
inline constexpr UINT kFadeTimerPeriod = 20;  // ms
inline constexpr UINT_PTR kBackgroundRepaintTimerId = 701035;
inline constexpr UINT kBackgroundRepaintPeriod = 30000;  // ms

struct OverlayClassResources {
  HINSTANCE instance = nullptr;
  WNDPROC text_procedure = nullptr;  // the main window's procedure
  HICON icon = nullptr;              // resource 103, default size
  HICON small_icon = nullptr;        // resource 103, 16x16
  HBRUSH key_brush = nullptr;        // the text window's background: the key colour
};

// Registers "kirabi" and "kirabi_bg". False when either fails.
bool RegisterOverlayClasses(const OverlayClassResources& resources);
void UnregisterOverlayClasses(HINSTANCE instance);

// What the background window paints from; must outlive the window.
struct BackgroundPaintSource {
  const Settings* settings = nullptr;
  bool (*dark_mode)() = nullptr;  // null: never dark
};

struct OverlayHandles {
  HWND text = nullptr;
  HWND background = nullptr;
};

class OverlayWindowsWin;

// Creates the background window, then the text window (its WM_CREATE gets
// `text_create_param`), both 1 x 1 and fully transparent, then shows and
// updates them; the first paint gives them the size of their lines. `attach`, when given, is attached
// before the windows are shown, so the first paint already sizes them. When
// either cannot be created, whichever exists is destroyed and false is
// returned.
bool CreateOverlayWindows(HINSTANCE instance, const Settings& settings, std::wstring_view title,
                          const BackgroundPaintSource* paint, LPVOID text_create_param,
                          OverlayHandles& out, OverlayWindowsWin* attach = nullptr);

// The background window's paint: the mapped WBKCOLOR, or with ROUNDRECT a
// rounded panel (8x8 corners at 96 DPI) on the window's key colour.
void PaintBackground(HDC dc, const RECT& client, const Settings& settings, bool invert, int corner_ellipse = 8);

// The platform side of placement and fading over the two windows.
class OverlayWindowsWin final : public OverlayWindows {
 public:
  OverlayWindowsWin() = default;
  void Attach(const OverlayHandles& handles);
  const OverlayHandles& handles() const { return handles_; }

  Point CursorPosition() override;
  Size TextWindowSize() override;
  void MoveWindows(Point text_at, Point background_at) override;
  void ResizeWindows(Size text, Size background) override;
  void SetOpacity(int32_t text_alpha, int32_t background_alpha, Color background_key) override;
  // From the script thread the timer cannot be set on the text window; the
  // request is posted as a first fade tick, which then starts the timer.
  void StartFadeTimer() override;
  void StopFadeTimer() override;
  int32_t MonitorCount() override;
  bool GetMonitor(int32_t index, MonitorInfo& info) override;
  int32_t MonitorDpiAt(Point point) override;
  // The whole screen of the monitor that holds `point`; false when none does.
  bool MonitorRectAt(Point point, Rect& monitor) const;

  // The display tick's hide and show, and the show command's invalidation.
  void Hide();
  void ShowWithoutActivating();
  bool TextWindowVisible() const;
  void InvalidateBoth();

  // False once an opacity of 0 was applied to the background window: it is
  // then hidden and left where it is until an opacity above 0 brings it back.
  bool BackgroundWanted() const { return background_wanted_; }

  // Called by the fade-timer handler: starts the timer when a posted first
  // tick arrived while none was running.
  void EnsureFadeTimer();

  // While the display tick has read the cursor, CursorPosition answers from
  // that read instead of asking again.
  TickCursor& tick_cursor() { return tick_cursor_; }

 private:
  struct Layered {
    Color key;
    BYTE alpha;
    friend bool operator==(const Layered&, const Layered&) = default;
  };

  void WantBackground(bool wanted);

  OverlayHandles handles_;
  TickCursor tick_cursor_;
  std::optional<Layered> text_layered_;
  std::optional<Layered> background_layered_;
  bool background_wanted_ = true;
  static constexpr DWORD kRaisePeriodMs = 1000;
  DWORD last_raised_ = 0;
  bool raised_once_ = false;
  // Where MoveWindows last put the windows; a pinned panel is placed again
  // on every cursor move, mostly to where it already stands.
  bool placed_ = false;
  Point text_at_;
  Point background_at_;
  DWORD ui_thread_ = 0;
  bool fade_timer_running_ = false;
};
