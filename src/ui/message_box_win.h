#pragma once
// The program's message box: MessageBoxW, themed in dark mode. Every message
// box of the program goes through ShowMessage.

#include <windows.h>

#include <string_view>

using MessageBoxFn = int (*)(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);

// Tests install a collector so that nothing waits for a click; nullptr
// restores the real box. The collector's answer is ShowMessage's.
void SetMessageBoxCollector(MessageBoxFn collect);

int ShowMessage(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);
int ShowMessage(HWND owner, std::u16string_view text, std::u16string_view caption, UINT type);
