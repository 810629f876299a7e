#pragma once
// The help file and the web pages.

#include <windows.h>

#include <string_view>

#include "common/language.h"

// Opens a help topic ("kirabi.chm", "kirabi.chm::/page.html#anchor") in the
// HTML Help viewer; returns its window, or nullptr. When the viewer cannot be
// found, help stays unavailable for the rest of the run.
HWND ShowHelp(HWND owner, std::u16string_view topic);

// Opens an address in the browser with the system directory as working
// directory; false when the shell could not.
bool OpenWebPage(std::u16string_view address);

// The tray menu's feedback command: opens the feedback page, or says why not.
void OpenFeedbackPage(HWND owner, Language language);
