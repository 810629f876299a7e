// The machine as the system built-ins see it: time, dialogs, environment,
// cursor and simulated input, clipboard, key and input-method state, the
// foreground window, keyboards and monitors. The Win32 implementation calls
// the platform; the console implementation serves qvs and the native tests.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Local time with milliseconds; day_of_week 0 = Sunday ... 6 = Saturday.
struct ScriptLocalTime {
  int32_t year = 0;
  int32_t month = 0;
  int32_t day = 0;
  int32_t day_of_week = 0;
  int32_t hour = 0;
  int32_t minute = 0;
  int32_t second = 0;
  int32_t milliseconds = 0;
};

// A rectangle in virtual-screen coordinates.
struct ScriptScreenRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
};

// Same signature and button results as the platform's message box.
using ScriptMessageBoxFn = int32_t (*)(void* owner, const char16_t* text,
                                       const char16_t* caption, uint32_t style);

// Who owns the dialogs and the clipboard of a run: the host's window and its
// message-box function (null selects the platform's own message box).
struct ScriptDialogOwner {
  void* window = nullptr;
  ScriptMessageBoxFn message_box = nullptr;
};

// Mouse event flags and keyboard flags as the platform defines them.
inline constexpr uint32_t kMouseMove = 0x1;
inline constexpr uint32_t kMouseLeftDown = 0x2;
inline constexpr uint32_t kMouseLeftUp = 0x4;
inline constexpr uint32_t kMouseRightDown = 0x8;
inline constexpr uint32_t kMouseRightUp = 0x10;
inline constexpr uint32_t kMouseMiddleDown = 0x20;
inline constexpr uint32_t kMouseMiddleUp = 0x40;
inline constexpr uint32_t kMouseXDown = 0x80;
inline constexpr uint32_t kMouseXUp = 0x100;
inline constexpr uint32_t kMouseWheel = 0x800;
inline constexpr uint32_t kKeyExtended = 0x1;
inline constexpr uint32_t kKeyUp = 0x2;
inline constexpr uint32_t kKeyUnicode = 0x4;

// Input-method window requests (WM_IME_CONTROL).
inline constexpr uint32_t kImeGetOpenStatus = 5;
inline constexpr uint32_t kImeSetOpenStatus = 6;

class ScriptSystem {
 public:
  virtual ~ScriptSystem() = default;

  // Time, counters and control.
  virtual void Sleep(uint32_t milliseconds) = 0;
  virtual ScriptLocalTime LocalTime() = 0;
  virtual uint32_t TickCount() = 0;
  virtual int32_t SystemMetrics(int32_t index) = 0;

  // Dialogs. ShowMessageBox returns the button identifier (0 when it failed).
  // InputDialog returns true after OK with the edit field's text in `text`.
  virtual int32_t ShowMessageBox(const ScriptDialogOwner& owner, std::u16string_view text,
                             std::u16string_view caption, uint32_t style) = 0;
  virtual bool InputDialog(const ScriptDialogOwner& owner, std::u16string_view message,
                           std::u16string_view title, bool japanese, std::u16string& text) = 0;
  virtual int32_t MessageBeep(uint32_t type) = 0;

  // Environment of this process; GetEnv is false when the variable is absent.
  virtual bool GetEnv(std::u16string_view name, std::u16string& value) = 0;
  virtual bool SetEnv(std::u16string_view name, std::u16string_view value) = 0;

  // Cursor and simulated input.
  virtual bool GetCursorPos(int32_t& x, int32_t& y) = 0;
  virtual bool SetCursorPos(int32_t x, int32_t y) = 0;
  virtual void MouseEvent(uint32_t flags, int32_t dx, int32_t dy, int32_t data) = 0;
  virtual void KeybdEvent(uint8_t virtual_key, uint8_t scan_code, uint32_t flags) = 0;
  // One keyboard input; returns the number of inputs the system accepted.
  virtual uint32_t SendKeyboardInput(uint16_t virtual_key, uint16_t scan_code, uint32_t flags) = 0;
  virtual int16_t KeyState(int32_t virtual_key) = 0;

  // Clipboard, opened with the run's owner window.
  virtual bool GetClipboardText(void* owner_window, std::u16string& text) = 0;
  virtual bool SetClipboardText(void* owner_window, std::u16string_view text) = 0;

  // Foreground window and its input method. ImeControl is false when there
  // is no foreground window or no input-method window.
  virtual bool ForegroundWindowTitle(std::u16string& title) = 0;
  virtual bool ImeControl(uint32_t request, uint32_t parameter, int32_t& answer) = 0;

  // Full device names of the keyboards in raw-input list order (devices whose
  // name cannot be read are left out); false when the list cannot be read.
  virtual bool KeyboardDeviceNames(std::vector<std::u16string>& names) = 0;
  // Monitor rectangles in enumeration order; false when enumeration fails.
  virtual bool MonitorRects(std::vector<ScriptScreenRect>& rects) = 0;
};
