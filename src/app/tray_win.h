#pragma once
// The notification-area icon, its balloons (the pending notice) and the nine
// global hotkeys.

#include <windows.h>

#include <cstdint>
#include <string>

#include "app/notice.h"
#include "common/language.h"
#include "ui/hotkey_text_win.h"

struct Settings;

// Set once at start-up: the instance holding icon 103 and the language of
// the tip, the balloon title and the hotkey messages.
void InitTray(HINSTANCE instance);
// HIDEICON: with it on, no icon exists and Notify shows nothing.
void SetTrayIconHidden(bool hidden);

bool AddTrayIcon(HWND window);
void RemoveTrayIcon(HWND window);

// Notify(null, null, 0) resets the pending notice; a text is appended with
// its level; with a window, what pends is shown as a balloon.
void Notify(HWND window, const char16_t* text, int level);
PendingNotice& PendingTrayNotice();

// Registers every hotkey whose key byte is not 0, in table order; failures
// are listed in one warning balloon. True when all registrations held.
bool RegisterHotkeys(HWND window, const Settings& settings, Language language);
void UnregisterHotkeys(HWND window, const Settings& settings);

// The text of a hotkey value for a hotkey control the program draws itself.
