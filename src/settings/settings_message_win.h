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

// UTF-16 text for the wide platform calls (wchar_t is 16 bits on Windows).
inline const wchar_t* AsWide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }
inline std::u16string_view AsU16(const wchar_t* text) { return reinterpret_cast<const char16_t*>(text); }
