#pragma once
// The already-running dialog (143 Japanese, 144 English) and the opening
// notice (145, Japanese only, modeless).

#include <windows.h>

#include "app/pictures_win.h"
#include "common/language.h"

// Returns the button that closed it: 6 (force exit), 32771 (settings) or 2.
INT_PTR ShowAlreadyRunningDialog(HINSTANCE instance, Language language, const NotificationPictures& pictures);

// Opens the modeless notice, enlarged to the work area with BIGDIALOG;
// `closed` learns whether its box was checked.
using OpeningNoticeClosed = void (*)(bool never_again);
HWND OpenOpeningNotice(HINSTANCE instance, const NotificationPictures& pictures, bool enlarge,
                       OpeningNoticeClosed closed);
