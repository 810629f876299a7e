#pragma once
// Watching the clipboard and the clipboard cache. Everything here runs on
// the main window's thread, from its procedure; only CopyClipboardCacheText
// may be called from another thread.
//
//   start-up:                ConfigureClipboardMonitor(config)
//   WM_CREATE:               OnClipboardWindowCreated(window)
//   WM_CLIPBOARDUPDATE:      ReadClipboard(window, ClipboardReadDelayed(CBDELAY), false)
//   WM_DRAWCLIPBOARD:        ReadClipboard(window, ClipboardReadDelayed(CBDELAY), true)
//   WM_CHANGECBCHAIN:        OnChangeClipboardChain(window, wparam, lparam)
//   message 32770:           ReadClipboard(window, false, false)
//   timers 313548, 550132:   OnClipboardRecheckTimer, OnDelayedClipboardReadTimer
//   left tray click:         RestartViewerChain(window)
//   settings applied:        ApplyClipboardSettings(window)
//   WM_DESTROY:              OnClipboardWindowDestroyed(window)

#include <windows.h>

#include <string>

#include "app/app_texts.h"
#include "common/language.h"
#include "display/display_cycle.h"

struct Settings;

struct ClipboardMonitorConfig {
  const Settings* settings = nullptr;
  Language language = Language::Japanese;
  CRITICAL_SECTION* lock = nullptr;  // the clipboard lock, guarding the cache text
  // The format listener, when the platform has both functions.
  BOOL(WINAPI* add_listener)(HWND) = nullptr;
  BOOL(WINAPI* remove_listener)(HWND) = nullptr;
  // Tells the user of a failure (the program's message box, error icon).
  void (*report)(HWND owner, std::u16string_view text) = nullptr;
  // The cache changed: the display should redraw soon.
  void (*cache_changed)() = nullptr;
};

void ConfigureClipboardMonitor(const ClipboardMonitorConfig& config);
const ClipboardMonitorConfig& ClipboardConfig();

// The viewer chain is used when the listener functions are missing, or when
// KIRABI_CLIPBOARD_VIEWER_CHAIN=1 is set in the environment (tests of the
// older method on a system that has both).
bool UsesFormatListener();

bool ClipboardWatching();
void StartClipboardWatch(HWND window);
void StopClipboardWatch(HWND window);

// Creation and destruction of the main window: watching and automatic clearing.
void OnClipboardWindowCreated(HWND window);
void OnClipboardWindowDestroyed(HWND window);
// After the General settings page was applied.
void ApplyClipboardSettings(HWND window);

// The read path. `draw_clipboard` when the change came as WM_DRAWCLIPBOARD,
// which is handed on along the viewer chain. Returns the message's answer.
LRESULT ReadClipboard(HWND window, bool delay_requested, bool draw_clipboard);
LRESULT OnChangeClipboardChain(HWND window, WPARAM removed, LPARAM next);
void OnClipboardRecheckTimer(HWND window);
void OnDelayedClipboardReadTimer(HWND window);
// A left click on the tray icon re-joins a viewer chain that may be broken.
void RestartViewerChain(HWND window);

// The cache as the display draws it (main thread only).
ClipboardView CurrentClipboardView();
// The cache text, copied under the clipboard lock (any thread).
std::u16string CopyClipboardCacheText();

// For the clipboard commands: the cache and picture emptied together.
void ClearClipboardCache();
