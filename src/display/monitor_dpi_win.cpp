#include "display/monitor_dpi_win.h"

#include "display/dpi_scale.h"

namespace {

// MDT_EFFECTIVE_DPI of GetDpiForMonitor: the DPI the user chose for the monitor.
constexpr int kEffectiveDpi = 0;

using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);

HMODULE LoadFromSystemDirectory(const wchar_t* name) {
  wchar_t path[MAX_PATH];
  const UINT length = GetSystemDirectoryW(path, MAX_PATH);
  if (length == 0 || length + 1 + lstrlenW(name) >= MAX_PATH) return nullptr;
  path[length] = L'\\';
  lstrcpyW(path + length + 1, name);
  return LoadLibraryW(path);
}

struct DpiFunctions {
  GetDpiForMonitorFn for_monitor = nullptr;
  GetDpiForWindowFn for_window = nullptr;

  DpiFunctions() {
    if (HMODULE shcore = LoadFromSystemDirectory(L"shcore.dll")) {
      for_monitor = reinterpret_cast<GetDpiForMonitorFn>(
          reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")));
    }
    if (HMODULE user32 = GetModuleHandleW(L"user32.dll")) {
      for_window = reinterpret_cast<GetDpiForWindowFn>(
          reinterpret_cast<void*>(GetProcAddress(user32, "GetDpiForWindow")));
    }
  }
};

const DpiFunctions& Functions() {
  static const DpiFunctions functions;
  return functions;
}

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
  if (monitor == nullptr || Functions().for_monitor == nullptr ||
      FAILED(Functions().for_monitor(monitor, kEffectiveDpi, &x, &y))) {
    return SystemDpi();
  }
  return Sound(y);
}

int32_t DpiOfWindow(HWND window) {
  if (window != nullptr && Functions().for_window != nullptr) return Sound(Functions().for_window(window));
  return window != nullptr ? DpiOfMonitor(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)) : SystemDpi();
}

int32_t DpiAtPoint(POINT point) { return DpiOfMonitor(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST)); }
