#pragma once
// The program's message box with the product name as caption. The themed
// (dark-mode) box replaces the plain one through SetAppMessageBox.

#include <windows.h>

#include <string_view>

#include "app/app_texts.h"
#include "common/language.h"

using AppMessageBoxFn = int (*)(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);

void SetAppMessageBox(AppMessageBoxFn show);  // nullptr restores MessageBoxW

int ShowAppMessage(HWND owner, std::u16string_view text, UINT type);
int ShowAppMessage(HWND owner, const TextPair& text, UINT type);
int ShowAppMessage(HWND owner, std::u16string_view text, std::u16string_view caption, UINT type);

// Dark-mode theming starts before anything else at start-up; the theming
// code installs its initialiser here.
using DarkModeInitFn = void (*)();
void SetDarkModeInitializer(DarkModeInitFn init);
void InitDarkMode();
