#pragma once
// BIGDIALOG: a dialog's font and controls enlarged by one factor, for the
// opening notice, the settings sheet and its sub-dialog alike.

#include <windows.h>

// The window's own font scaled by `factor`, bold as the enlargement asks;
// nullptr when the window has no font. The caller deletes it.
HFONT EnlargedFont(HWND window, double factor);

// Moves and sizes every direct child by `factor` and gives it `font` (when
// not null). A property sheet's pages scale themselves when they initialise.
void EnlargeChildren(HWND window, double factor, HFONT font);
