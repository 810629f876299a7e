#pragma once
// What a mouse or balloon event on the tray icon asks the main window to do.
// The window procedure carries the action out; the choice lives here.

#include <cstdint>

enum class TrayEvent : uint8_t {
  kLeftUp,
  kLeftDoubleClick,
  kRightUp,
  kRightDoubleClick,
  kMiddleUp,
  kBalloonTimeout,
  kOther,
};

struct TrayInput {
  TrayEvent event;
  bool dialog_open;
  bool shift;
  bool ctrl;
  bool script_held_back;
  bool middle_button_down;
};

struct TrayAction {
  enum Kind : uint8_t {
    kNothing,
    kFrontSheetAndRestartViewer,  // left up: sheet forward if open; restart a viewer chain
    kSelectSheetPage,             // a dialog is open: bring the sheet forward on `page`
    kOpenSettings,                // open the settings sheet on `page`
    kMenu,                        // track the tray menu (after the dialog check)
    kCommand,                     // carry out `command`
    kSuppressHoldBackNotice,      // set NoNotifyScriptSuspend
  };
  Kind kind;
  uint32_t value;  // page or command
};

TrayAction DecideTrayAction(const TrayInput& input);
