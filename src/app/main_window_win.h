#pragma once
// The text window's procedure: it is also the program's main window and owns
// the timers, the commands, the external text, the tray callback, power
// events and shut-down.

#include <windows.h>

#include <cstdint>

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// Carries out a command of the tray menu, a hotkey or another instance.
void RunCommand(HWND window, uint32_t command);

// The memo-script hold-back notice and timer (creation and resume).
void StartScriptHoldBack(HWND window);
