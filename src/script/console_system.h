// The console host of qvs: a ScriptSystem over the C++ library (local time
// and tick count from the clock, environment through the C library, message
// boxes written to the dialog stream and answered from a queue, INPUT read
// from the input stream), the qvs command line and the script file decoder.
#pragma once

#include <cstdint>
#include <cstdio>
#include <deque>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "script/script_system.h"

class ConsoleSystem : public ScriptSystem {
 public:
  // Dialogs are written to `dialog_out`; INPUT reads one line of `input_in`.
  ConsoleSystem(std::FILE* dialog_out, std::FILE* input_in);

  // From now on every time built-in sees this local time.
  void FixLocalTime(const ScriptLocalTime& now) { fixed_time_ = now; }
  // Button identifiers that the next message boxes answer, in order; when
  // none is left a box answers with its first button.
  void QueueAnswers(std::span<const int32_t> answers);

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
  std::FILE* dialog_out_;
  std::FILE* input_in_;
  std::optional<ScriptLocalTime> fixed_time_;
  std::deque<int32_t> answers_;
};

// The button a message box of `style` answers with when nothing else is
// asked for: its first button (OK, or Yes for the Yes/No kinds).
int32_t FirstButtonOf(uint32_t style);

// "ok", "cancel", "yes", "no", "close", "abort", "retry", "ignore" or a
// button number; nothing on anything else.
std::optional<int32_t> ParseDialogAnswer(std::string_view word);

// "YYYY-MM-DD HH:MM:SS" with an optional ".mmm"; the day of the week is
// computed. False on a malformed or impossible date or time.
bool ParseLocalTime(std::string_view text, ScriptLocalTime& time);
int32_t DayOfWeek(int32_t year, int32_t month, int32_t day);

struct QvsOptions {
  std::string file;          // the script file, or
  std::string text;          // the script text given with -e
  bool from_text = false;
  bool japanese = false;
  bool print_result = false;
  std::optional<ScriptLocalTime> now;
  std::vector<int32_t> answers;
  std::optional<std::size_t> memory_limit;  // bytes; 0 for none
  bool help = false;
};

// Parses the arguments after the program name. `japanese` starts from the
// environment's choice and --lang overrides it. False with `error` set on a
// usage error.
bool ParseQvsArguments(std::span<const std::string> args, bool japanese, QvsOptions& options,
                       std::string& error);
extern const char kQvsUsage[];

// Script file bytes to UTF-16: UTF-16 with a byte-order mark (either byte
// order), otherwise UTF-8 with or without one. The mark is dropped. False
// when a UTF-16 file has an odd number of bytes.
bool DecodeScriptFile(std::string_view bytes, std::u16string& text);

// "error CODE line LINE: TEXT" with the text's trailing line breaks removed.
std::string FormatErrorLine(int32_t code, int32_t line, std::u16string_view text);

// Runs `body` on a thread of its own with a stack of `stack_bytes` and waits
// for it; false when no such thread could be started. Defined per platform
// (qvs_thread_posix.cpp: POSIX threads, which MinGW provides too).
bool RunOnThreadWithStack(size_t stack_bytes, void (*body)(void*), void* argument);
