#pragma once
// The clipboard commands: strip formatting (32775 and AUTO_PLAINER), empty
// the clipboard (32774) and the automatic clearing timer (487711).

#include <windows.h>

// Keeps only plain text on the clipboard. Manual runs also turn a file list
// into text and report every failure; automatic runs stay silent.
void StripFormatting(HWND window, bool automatic);
bool StripFormattingRunning();

void EmptyClipboardCommand(HWND window);

void StartAutoClearTimer(HWND window);
void StopAutoClearTimer(HWND window);
void OnAutoClearTimer(HWND window);
