#pragma once
// Dark-mode theming of the program's dialogs and message boxes. The state is
// read at start-up and again when the system's colour set changes; outside
// dark mode every function here leaves the platform's defaults alone.

#include <windows.h>

#include <string>

#include "ui/dark_mode.h"

void InitDarkMode(HINSTANCE instance);
void AllowDarkModeForApp();
bool IsDarkMode();
// Reads the facts from the system and decides (see DecideDarkMode).
bool ReadDarkMode(bool check_version = true);
// The dark brush lives from InitDarkMode to here (exit).
void ReleaseDarkMode();

void ApplyDarkTitleBar(HWND window);
void ThemeChildren(HWND window);
void ThemeTooltip(HWND tooltip);
// WM_ERASEBKGND of a dialog: returns true when it painted the background.
bool EraseDialogBackground(HWND window, HDC dc);
// WM_CTLCOLORMSGBOX ... WM_CTLCOLORSTATIC, the colour queries of a dialog's controls.
constexpr bool IsControlColourMessage(UINT message) {
  return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
}
// WM_CTLCOLOR*: the dark brush in dark mode, nullptr (default handling)
// otherwise. `control` is the message's lParam.
HBRUSH DialogControlColour(HDC dc, HWND control);
// WM_SETTINGCHANGE: re-reads the state when `text` names "ImmersiveColorSet"; returns the state.
bool OnSettingChange(HWND window, const wchar_t* text);

// The same for a window that keeps a dark-mode state of its own (the about box).
void ThemeTooltip(HWND tooltip, bool dark);
void ApplyDarkTitleBar(HWND window, bool dark);
bool EraseDialogBackground(HWND window, HDC dc, bool dark);
HBRUSH DialogControlColour(HDC dc, HWND control, bool dark);

// The settings sheet's tab control: painted by the program in dark mode.
void ThemeTabStrip(HWND tab);
// A dialog run by the system's own procedure (the settings sheet, a message
// box): its background and control colours dark in dark mode.
void ThemeDialogFrame(HWND dialog);
// Disabled labels, group boxes, check boxes and radio buttons of `dialog`
// are painted grey by the program in dark mode (the platform's disabled look
// is unreadable on the dark background).
void ThemeDisabledControls(HWND dialog);
// A hotkey box painted by the program in dark mode; `text` gives the shown
// text of a hotkey value (low byte key, second byte modifiers).
using HotkeyTextFn = std::u16string (*)(uint32_t value);
void ThemeHotkeyBox(HWND box, HotkeyTextFn text);
