#pragma once
// The process-wide state of the running program. It belongs to the
// user-interface thread, which creates it at start-up and clears it at exit.

#include <windows.h>

#include <string>

#include "app/pictures_win.h"
#include "display/display_cycle_win.h"
#include "settings/settings.h"

struct AppState {
  HINSTANCE instance = nullptr;
  std::wstring executable_path;
  std::wstring executable_folder;

  Settings settings;
  // The display: its state, alarm, overlay windows, font and sampler.
  DisplayRuntime display{settings, GetModuleHandleW(nullptr)};
  OverlayHandles windows;

  HICON icon = nullptr;
  HICON small_icon = nullptr;
  HICON button_up = nullptr;    // 153
  HICON button_down = nullptr;  // 154
  HBRUSH key_brush = nullptr;
  NotificationPictures pictures;

  CRITICAL_SECTION output_lock{};
  CRITICAL_SECTION memo_lock{};
  CRITICAL_SECTION clipboard_lock{};

  HMENU menu = nullptr;  // the resource; its first submenu is the tray menu
  UINT taskbar_created = 0;
  std::wstring shortcut_path;

  bool was_hidden = false;
  bool dialog_open = false;
  HWND settings_sheet = nullptr;
  HWND about_box = nullptr;
  HWND opening_notice = nullptr;
  bool script_held_back = false;
  bool resume_noticed = false;  // this hold-back's resume balloon was shown
  bool clipboard_watching = false;
  bool shut_down = false;  // the shut-down work ran (it must not run twice)
};

AppState& App();
