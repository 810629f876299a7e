// The system built-ins on Win32: every ScriptSystem operation is the
// platform call of the same purpose. Simulated input goes through an
// injector so that tests can record the events instead of typing into the
// desktop.
#pragma once

#include <windows.h>

#include <vector>

#include "script/script_system.h"

class Win32InputInjector {
 public:
  virtual ~Win32InputInjector() = default;
  virtual void MouseEvent(DWORD flags, DWORD dx, DWORD dy, DWORD data) = 0;
  virtual void KeybdEvent(BYTE virtual_key, BYTE scan_code, DWORD flags) = 0;
  virtual UINT SendInput(const INPUT& input) = 0;
};

// mouse_event, keybd_event and SendInput.
class PlatformInputInjector : public Win32InputInjector {
 public:
  void MouseEvent(DWORD flags, DWORD dx, DWORD dy, DWORD data) override;
  void KeybdEvent(BYTE virtual_key, BYTE scan_code, DWORD flags) override;
  UINT SendInput(const INPUT& input) override;
};

// The in-memory template of the INPUT dialog: caption `title`, the message
// in item 102, the edit field 101, OK (1) and Cancel (2) whose text depends
// on the language. Returned as WORDs, DWORD-aligned items.
std::vector<WORD> BuildInputDialogTemplate(std::u16string_view title, std::u16string_view message,
                                           bool japanese);

class Win32ScriptSystem : public ScriptSystem {
 public:
  // `injector` null: the platform's own input functions.
  explicit Win32ScriptSystem(Win32InputInjector* injector = nullptr);

  void Sleep(uint32_t milliseconds) override;
  ScriptLocalTime LocalTime() override;
  uint32_t TickCount() override;
  int32_t SystemMetrics(int32_t index) override;

  int32_t ShowMessageBox(const ScriptDialogOwner& owner, std::u16string_view text,
                         std::u16string_view caption, uint32_t style) override;
  bool InputDialog(const ScriptDialogOwner& owner, std::u16string_view message,
                   std::u16string_view title, bool japanese, std::u16string& text) override;
  int32_t MessageBeep(uint32_t type) override;

  bool GetEnv(std::u16string_view name, std::u16string& value) override;
  bool SetEnv(std::u16string_view name, std::u16string_view value) override;

  bool GetCursorPos(int32_t& x, int32_t& y) override;
  bool SetCursorPos(int32_t x, int32_t y) override;
  void MouseEvent(uint32_t flags, int32_t dx, int32_t dy, int32_t data) override;
  void KeybdEvent(uint8_t virtual_key, uint8_t scan_code, uint32_t flags) override;
  uint32_t SendKeyboardInput(uint16_t virtual_key, uint16_t scan_code, uint32_t flags) override;
  int16_t KeyState(int32_t virtual_key) override;

  bool GetClipboardText(void* owner_window, std::u16string& text) override;
  bool SetClipboardText(void* owner_window, std::u16string_view text) override;

  bool ForegroundWindowTitle(std::u16string& title) override;
  bool ImeControl(uint32_t request, uint32_t parameter, int32_t& answer) override;
  bool KeyboardDeviceNames(std::vector<std::u16string>& names) override;
  bool MonitorRects(std::vector<ScriptScreenRect>& rects) override;

 private:
  PlatformInputInjector platform_injector_;
  Win32InputInjector* injector_;
};
