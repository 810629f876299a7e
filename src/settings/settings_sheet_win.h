#pragma once
// The settings sheet: six pages over `Settings`, each taking its values back
// and saving its group when the sheet applies. What a page changes outside
// the settings (the display timer, the overlay font, the clipboard watching,
// a running memo script, ...) it asks of the program through SheetHost, so
// the sheet knows nothing of the main window.

#include <windows.h>

#include <string>
#include <string_view>

#include "common/language.h"
#include "settings/settings.h"

struct SheetHost {
  HINSTANCE instance = nullptr;
  HWND owner = nullptr;  // the program's main window
  Language language = Language::Japanese;
  Settings* settings = nullptr;

  // Each may be left null when the program has nothing to do for it.
  void (*sheet_opened)(HWND sheet) = nullptr;   // the first page is up
  void (*sheet_closed)() = nullptr;             // every page is gone
  void (*interval_changed)() = nullptr;         // restart the display timer
  void (*font_changed)() = nullptr;             // re-create the overlay font
  void (*colors_changed)() = nullptr;           // repaint, background opacity
  void (*display_changed)() = nullptr;          // draw the panel again in full
  void (*external_text_off)() = nullptr;        // forget the external text and its sender
  void (*clipboard_consumers_changed)() = nullptr;  // start or stop clipboard watching
  void (*stop_memo_script)() = nullptr;         // ask a running memo script to stop
  void (*lock_memo)() = nullptr;
  void (*unlock_memo)() = nullptr;
  // Help and text files of the program (return codes as the text-file
  // services: 0 success, 1 cannot open, 2 cannot read / 3 cannot write,
  // 4 out of memory, 5 conversion not prepared, 6 conversion failed).
  void (*show_help)(HWND owner, const wchar_t* topic) = nullptr;
  int (*load_text_file)(const wchar_t* path, std::wstring& into) = nullptr;
  int (*save_text_file_utf8)(const wchar_t* path, const std::wstring& text) = nullptr;
};

// Page indices: the start page of OpenSettingsDialog and PSM_SETCURSEL.
enum SheetPage { kPageGeneral = 0, kPageMemo = 1, kPageColors = 2, kPageFormat = 3, kPageHotkeys = 4, kPageFade = 5 };

// Runs the modal sheet on `start_page`; returns when it closes.
void OpenSettingsDialog(const SheetHost& host, int start_page);
