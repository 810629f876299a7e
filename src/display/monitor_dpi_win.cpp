#include "display/monitor_dpi_win.h"

#include "display/dpi_scale.h"
#include "ui/optional_api_win.h"

namespace {

// MDT_EFFECTIVE_DPI of GetDpiForMonitor: the DPI the user chose for the monitor.
constexpr int kEffectiveDpi = 0;

int32_t Sound(UINT dpi) { return dpi > 0 && dpi < 10000 ? static_cast<int32_t>(dpi) : SystemDpi(); }

}  // namespace

int32_t SystemDpi() {
  HDC screen = GetDC(nullptr);
  if (screen == nullptr) return kBaseDpi;
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kBaseDpi;
}

int32_t DpiOfMonitor(HMONITOR monitor) {
  UINT x = 0;
  UINT y = 0;
  const auto for_monitor = Api().GetDpiForMonitor;
  if (monitor == nullptr || for_monitor == nullptr || FAILED(for_monitor(monitor, kEffectiveDpi, &x, &y))) {
    return SystemDpi();
  }
  return Sound(y);
}

int32_t DpiOfWindow(HWND window) {
  if (window == nullptr) return SystemDpi();
  if (const auto for_window = Api().GetDpiForWindow) return Sound(for_window(window));
  return DpiOfMonitor(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST));
}

int32_t DpiAtPoint(POINT point) { return DpiOfMonitor(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST)); }
