#pragma once
// The full-screen flash of the alarm and the chime (window class
// "kirabi_fl"): shown twice for 200 ms within one second, then destroyed.
// At most one exists; it lives on the user-interface thread.

#include <windows.h>

inline constexpr wchar_t kFlashWindowClass[] = L"kirabi_fl";

// Creates the flash window painted in `color` (already colour-mapped) and
// starts its 200 ms timer. False when one exists already or creation failed.
bool OpenFlashWindow(HINSTANCE instance, COLORREF color);

// The flash window, or null when none exists.
HWND CurrentFlashWindow();

// Called when the flash window is activated; the main window brings the
// settings sheet forward when one of the program's dialogs is open.
void SetFlashActivationHandler(void (*handler)());
