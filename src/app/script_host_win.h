#pragma once
// The memo script in the running program: the script thread, its output
// text, the CB. functions acting on the panel, the tray and the clipboard
// cache, and stopping the thread at suspend and exit.

#include <windows.h>

#include <cstdint>
#include <string>

// The display cycle's poll (DisplayHooks::poll_memo_script): starts a run at
// the first poll of each new second when none is running, then copies the
// script output text into `output`.
void PollMemoScript(std::u16string& output);

// Asks a running script to stop at its next statement.
void RequestScriptStop();
// Waits up to 2,000 ms for the script thread and forgets its handle; a
// script still running then is left to end with the process.
void WaitForScriptThread();
// Closes FormatCPUToString's counter query (after the message loop). False
// when a script is still running: its query and locks stay until the end.
bool CloseScriptHost();

// Where GetClipboardTextCache reads the clipboard cache; called on the
// script thread under the clipboard lock. Until one is set the cache reads
// as empty.
using ClipboardTextReader = std::u16string (*)();
void SetScriptClipboardReader(ClipboardTextReader reader);

// The main window redraws the panel when the script's output changed.
void OnScriptOutput();

// The main window shows a balloon a script asked for (ShellNotify) on its
// own thread, since the pending notice belongs to it.
void ShowScriptNotice(HWND window, LPARAM notice);
