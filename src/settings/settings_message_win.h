#pragma once
// The message box of the settings store (REGW warnings, copy results).
// Until the application installs its themed message box, MessageBoxW is used;
// tests install a collector so that nothing waits for a click.

#include <windows.h>

#include <string>
#include <string_view>

using SettingsMessageBoxFn = int (*)(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);

// nullptr restores MessageBoxW.
void SetSettingsMessageBox(SettingsMessageBoxFn show);
int ShowSettingsMessage(HWND owner, std::u16string_view text, std::u16string_view caption, UINT type);
