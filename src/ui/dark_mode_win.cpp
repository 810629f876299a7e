#include "ui/dark_mode_win.h"

// Light theme only for now: the dark theme's detection and painting replace
// these bodies.

void InitDarkMode(HINSTANCE) {}
void AllowDarkModeForApp() {}
bool IsDarkMode() { return false; }
void ApplyDarkTitleBar(HWND) {}
void ThemeChildren(HWND) {}
void ThemeTooltip(HWND) {}

bool EraseDialogBackground(HWND window, HDC dc) {
  RECT r;
  if (!GetClientRect(window, &r)) return false;
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  return true;
}

HBRUSH DialogControlColour(HDC) { return nullptr; }
bool OnSettingChange(HWND, const wchar_t*) { return IsDarkMode(); }
