#include "display/overlay_window_win.h"

#include "display/display_cycle.h"
#include "display/dpi_scale.h"
#include "display/monitor_dpi_win.h"
#include "settings/settings.h"

namespace {

constexpr DWORD kOverlayExStyle = WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT | WS_EX_TOPMOST;

const BackgroundPaintSource* PaintSourceOf(HWND window) {
  return reinterpret_cast<const BackgroundPaintSource*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

bool DarkModeOf(const BackgroundPaintSource* source) {
  return source != nullptr && source->dark_mode != nullptr && source->dark_mode();
}

void OnBackgroundPaint(HWND window) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  if (dc == nullptr) return;
  const BackgroundPaintSource* source = PaintSourceOf(window);
  if (source != nullptr && source->settings != nullptr) {
    RECT client;
    GetClientRect(window, &client);
    const Settings& settings = *source->settings;
    PaintBackground(dc, client, settings, settings.INVERT_COLOR_DARKMODE && DarkModeOf(source),
                    ScalePanelMetrics(settings, DpiOfWindow(window)).corner_ellipse);
  }
  EndPaint(window, &ps);
}

LRESULT CALLBACK BackgroundProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE: {
      const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
      SetTimer(window, kBackgroundRepaintTimerId, kBackgroundRepaintPeriod, nullptr);
      return 0;
    }
    case WM_TIMER:
      if (wparam == kBackgroundRepaintTimerId) {
        InvalidateRect(window, nullptr, TRUE);
        return 0;
      }
      break;
    case WM_ERASEBKGND:
      return 1;  // the paint covers the whole client area
    case WM_PAINT:
      OnBackgroundPaint(window);
      return 0;
    case WM_DESTROY:
      KillTimer(window, kBackgroundRepaintTimerId);
      return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

bool RegisterOne(const OverlayClassResources& resources, LPCWSTR name, WNDPROC procedure,
                 HBRUSH background) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = procedure;
  wc.hInstance = resources.instance;
  wc.hIcon = resources.icon;
  wc.hIconSm = resources.small_icon;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  return RegisterClassExW(&wc) != 0;
}

// The windows start at the smallest size: the first paint measures the lines
// (measuring does not depend on the window's size) and sizes them. A layered
// window's drawing surface is allocated at the size it is shown with, and
// under Wine a first surface of the largest panel (2 MB each at 500 x 1000)
// stayed mapped for the whole run.
HWND CreateOverlay(HINSTANCE instance, LPCWSTR class_name, const wchar_t* title, LPVOID param) {
  return CreateWindowExW(kOverlayExStyle, class_name, title, WS_POPUP, CW_USEDEFAULT, 0, 1, 1, nullptr, nullptr,
                         instance, param);
}

struct MonitorSearch {
  int32_t wanted = 0;
  int32_t seen = 0;
  bool found = false;
  MonitorInfo info;
};

BOOL CALLBACK CountMonitor(HMONITOR, HDC, LPRECT, LPARAM data) {
  ++*reinterpret_cast<int32_t*>(data);
  return TRUE;
}

BOOL CALLBACK FindMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  auto* search = reinterpret_cast<MonitorSearch*>(data);
  if (search->seen++ != search->wanted) return TRUE;
  MONITORINFO mi{};
  mi.cbSize = sizeof(mi);
  if (GetMonitorInfoW(monitor, &mi)) {
    search->info.monitor = Rect{mi.rcMonitor.left, mi.rcMonitor.top, mi.rcMonitor.right, mi.rcMonitor.bottom};
    search->info.work = Rect{mi.rcWork.left, mi.rcWork.top, mi.rcWork.right, mi.rcWork.bottom};
    search->info.dpi = DpiOfMonitor(monitor);
    search->found = true;
  }
  return FALSE;
}

}  // namespace

bool RegisterOverlayClasses(const OverlayClassResources& resources) {
  if (!RegisterOne(resources, kTextWindowClass, resources.text_procedure, resources.key_brush)) return false;
  if (!RegisterOne(resources, kBackgroundWindowClass, BackgroundProcedure, nullptr)) {
    UnregisterClassW(kTextWindowClass, resources.instance);
    return false;
  }
  return true;
}

void UnregisterOverlayClasses(HINSTANCE instance) {
  UnregisterClassW(kTextWindowClass, instance);
  UnregisterClassW(kBackgroundWindowClass, instance);
}

bool CreateOverlayWindows(HINSTANCE instance, const Settings& settings, std::wstring_view title,
                          const BackgroundPaintSource* paint, LPVOID text_create_param,
                          OverlayHandles& out, OverlayWindowsWin* attach) {
  const std::wstring caption(title);
  out.background = CreateOverlay(instance, kBackgroundWindowClass, caption.c_str(),
                                 const_cast<BackgroundPaintSource*>(paint));
  out.text = CreateOverlay(instance, kTextWindowClass, caption.c_str(), text_create_param);
  if (out.background == nullptr || out.text == nullptr) {
    if (out.text != nullptr) DestroyWindow(out.text);
    if (out.background != nullptr) DestroyWindow(out.background);
    out = OverlayHandles{};
    return false;
  }
  if (attach != nullptr) attach->Attach(out);
  SetLayeredWindowAttributes(out.text, kKeyColor, 0, LWA_COLORKEY | LWA_ALPHA);
  SetLayeredWindowAttributes(out.background, BackgroundKey(settings.WBKCOLOR), 0, LWA_COLORKEY | LWA_ALPHA);
  ShowWindow(out.background, SW_SHOWNOACTIVATE);
  UpdateWindow(out.background);
  ShowWindow(out.text, SW_SHOWNOACTIVATE);
  UpdateWindow(out.text);
  return true;
}

void PaintBackground(HDC dc, const RECT& client, const Settings& settings, bool invert, int corner_ellipse) {
  const Color panel = MapColor(settings.WBKCOLOR, invert);
  if (!settings.ROUNDRECT) {
    HBRUSH brush = CreateSolidBrush(panel);
    if (brush == nullptr) return;
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    return;
  }
  HBRUSH key = CreateSolidBrush(BackgroundKey(settings.WBKCOLOR));
  if (key != nullptr) {
    FillRect(dc, &client, key);
    DeleteObject(key);
  }
  HBRUSH brush = CreateSolidBrush(panel);
  HPEN pen = CreatePen(PS_SOLID, 1, panel);
  if (brush != nullptr && pen != nullptr) {
    HGDIOBJ old_brush = SelectObject(dc, brush);
    HGDIOBJ old_pen = SelectObject(dc, pen);
    RoundRect(dc, client.left, client.top, client.right, client.bottom, corner_ellipse, corner_ellipse);
    SelectObject(dc, old_pen);
    SelectObject(dc, old_brush);
  }
  if (pen != nullptr) DeleteObject(pen);
  if (brush != nullptr) DeleteObject(brush);
}

void OverlayWindowsWin::Attach(const OverlayHandles& handles) {
  handles_ = handles;
  ui_thread_ = handles.text != nullptr ? GetWindowThreadProcessId(handles.text, nullptr) : 0;
}

Point OverlayWindowsWin::CursorPosition() {
  if (tick_cursor_.known()) return tick_cursor_.at();
  POINT p{};
  if (!GetCursorPos(&p)) return Point{};
  return Point{p.x, p.y};
}

Size OverlayWindowsWin::TextWindowSize() {
  RECT r{};
  if (handles_.text == nullptr || !GetWindowRect(handles_.text, &r)) return Size{};
  return Size{r.right - r.left, r.bottom - r.top};
}

void OverlayWindowsWin::MoveWindows(Point text_at, Point background_at) {
  // A panel that follows the cursor moves on most ticks. Raising it above
  // other topmost windows and showing it are costly on every move; the
  // z-order is asserted at most once a second, and showing only when hidden.
  // A background of opacity 0 is hidden (BackgroundWanted) and not moved:
  // each move of a layered window is some twenty round trips under Wine.
  const DWORD now = GetTickCount();
  const bool raise = !raised_once_ || now - last_raised_ >= kRaisePeriodMs;
  const bool move_background = handles_.background != nullptr && background_wanted_;
  const bool shown = TextWindowVisible() && (!move_background || IsWindowVisible(handles_.background));
  if (!raise && shown && placed_ && text_at == text_at_ && background_at == background_at_) return;
  placed_ = true;
  text_at_ = text_at;
  background_at_ = background_at;
  if (raise) {
    raised_once_ = true;
    last_raised_ = now;
  }
  const HWND after = raise ? HWND_TOPMOST : nullptr;
  const UINT flags = SWP_NOSIZE | SWP_NOACTIVATE | (raise ? 0u : UINT{SWP_NOZORDER});
  const auto show = [](HWND window) { return IsWindowVisible(window) ? 0u : UINT{SWP_SHOWWINDOW}; };
  // The background first, so the text window ends up above it.
  if (move_background) {
    SetWindowPos(handles_.background, after, background_at.x, background_at.y, 0, 0,
                 flags | show(handles_.background));
  }
  if (handles_.text != nullptr) {
    SetWindowPos(handles_.text, after, text_at.x, text_at.y, 0, 0, flags | show(handles_.text));
  }
}

void OverlayWindowsWin::WantBackground(bool wanted) {
  if (wanted == background_wanted_ || handles_.background == nullptr) return;
  background_wanted_ = wanted;
  if (!wanted) {
    ShowWindow(handles_.background, SW_HIDE);
    return;
  }
  if (!TextWindowVisible()) return;  // the next show brings both
  // Back where the panel stands now, just under the text window.
  UINT flags = SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW;
  if (!placed_) flags |= SWP_NOMOVE;
  SetWindowPos(handles_.background, handles_.text, background_at_.x, background_at_.y, 0, 0, flags);
}

void OverlayWindowsWin::ResizeWindows(Size text, Size background) {
  constexpr UINT kFlags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW;
  if (handles_.background != nullptr) {
    SetWindowPos(handles_.background, nullptr, 0, 0, background.width, background.height, kFlags);
    // Without redrawing, a resized panel kept stale or lost pixels until its
    // 30-second repaint; asking for a paint keeps its colour right at once.
    InvalidateRect(handles_.background, nullptr, FALSE);
  }
  if (handles_.text != nullptr) SetWindowPos(handles_.text, nullptr, 0, 0, text.width, text.height, kFlags);
}

void OverlayWindowsWin::SetOpacity(int32_t text_alpha, int32_t background_alpha, Color background_key) {
  // A fade applies the same opacity to a window again and again (the
  // background's stays 0 while the text fades): only changes are applied.
  const Layered text{kKeyColor, static_cast<BYTE>(text_alpha)};
  const Layered background{background_key, static_cast<BYTE>(background_alpha)};
  if (handles_.text != nullptr && !(text_layered_ && *text_layered_ == text)) {
    SetLayeredWindowAttributes(handles_.text, text.key, text.alpha, LWA_COLORKEY | LWA_ALPHA);
    text_layered_ = text;
  }
  if (handles_.background != nullptr && !(background_layered_ && *background_layered_ == background)) {
    SetLayeredWindowAttributes(handles_.background, background.key, background.alpha, LWA_COLORKEY | LWA_ALPHA);
    background_layered_ = background;
  }
  WantBackground(background.alpha != 0);
}

void OverlayWindowsWin::StartFadeTimer() {
  if (handles_.text == nullptr) return;
  if (GetCurrentThreadId() != ui_thread_) {
    PostMessageW(handles_.text, WM_TIMER, kFadeTimerId, 0);
    return;
  }
  fade_timer_running_ = SetTimer(handles_.text, kFadeTimerId, kFadeTimerPeriod, nullptr) != 0;
}

void OverlayWindowsWin::StopFadeTimer() {
  if (handles_.text != nullptr && fade_timer_running_) KillTimer(handles_.text, kFadeTimerId);
  fade_timer_running_ = false;
}

void OverlayWindowsWin::EnsureFadeTimer() {
  if (!fade_timer_running_) StartFadeTimer();
}

int32_t OverlayWindowsWin::MonitorCount() {
  int32_t count = 0;
  EnumDisplayMonitors(nullptr, nullptr, CountMonitor, reinterpret_cast<LPARAM>(&count));
  return count;
}

bool OverlayWindowsWin::GetMonitor(int32_t index, MonitorInfo& info) {
  MonitorSearch search;
  search.wanted = index;
  EnumDisplayMonitors(nullptr, nullptr, FindMonitor, reinterpret_cast<LPARAM>(&search));
  if (search.found) info = search.info;
  return search.found;
}

int32_t OverlayWindowsWin::MonitorDpiAt(Point point) { return DpiAtPoint(POINT{point.x, point.y}); }

bool OverlayWindowsWin::MonitorRectAt(Point point, Rect& monitor) const {
  HMONITOR handle = MonitorFromPoint(POINT{point.x, point.y}, MONITOR_DEFAULTTONULL);
  MONITORINFO mi{};
  mi.cbSize = sizeof(mi);
  if (handle == nullptr || !GetMonitorInfoW(handle, &mi)) return false;
  monitor = Rect{mi.rcMonitor.left, mi.rcMonitor.top, mi.rcMonitor.right, mi.rcMonitor.bottom};
  return true;
}

void OverlayWindowsWin::Hide() {
  // A hidden panel's ticks make no platform calls for it.
  const bool text_shown = handles_.text != nullptr && IsWindowVisible(handles_.text);
  const bool background_shown = handles_.background != nullptr && IsWindowVisible(handles_.background);
  if (!text_shown && !background_shown) return;
  if (handles_.text != nullptr) ShowWindow(handles_.text, SW_HIDE);
  if (handles_.background != nullptr) ShowWindow(handles_.background, SW_HIDE);
}

void OverlayWindowsWin::ShowWithoutActivating() {
  if (handles_.background != nullptr && background_wanted_) ShowWindow(handles_.background, SW_SHOWNOACTIVATE);
  if (handles_.text != nullptr) ShowWindow(handles_.text, SW_SHOWNOACTIVATE);
}

bool OverlayWindowsWin::TextWindowVisible() const {
  return handles_.text != nullptr && IsWindowVisible(handles_.text);
}

void OverlayWindowsWin::InvalidateBoth() {
  if (handles_.text != nullptr) InvalidateRect(handles_.text, nullptr, TRUE);
  if (handles_.background != nullptr) InvalidateRect(handles_.background, nullptr, TRUE);
}
