#pragma once
// Dark-mode theming of the program's dialogs and message boxes. The state is
// read at start-up and again when the system's colour set changes; outside
// dark mode every function here leaves the platform's defaults alone.

#include <windows.h>

void InitDarkMode(HINSTANCE instance);
void AllowDarkModeForApp();
bool IsDarkMode();

void ApplyDarkTitleBar(HWND window);
void ThemeChildren(HWND window);
void ThemeTooltip(HWND tooltip);
// WM_ERASEBKGND of a dialog: returns true when it painted the background.
bool EraseDialogBackground(HWND window, HDC dc);
// WM_CTLCOLOR*: the dark brush in dark mode, nullptr (default handling) otherwise.
HBRUSH DialogControlColour(HDC dc);
// WM_SETTINGCHANGE: re-reads the state when `text` names "ImmersiveColorSet"; returns the state.
bool OnSettingChange(HWND window, const wchar_t* text);
