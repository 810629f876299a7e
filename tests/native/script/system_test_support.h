// Runs scripts through qv_script with a recording ScriptSystem and collects
// what they print and report.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "script/qv_script.h"
#include "script/script_system.h"

struct RecordedMouse {
  uint32_t flags;
  int32_t dx, dy, data;
  bool operator==(const RecordedMouse&) const = default;
};
struct RecordedKey {
  uint16_t virtual_key, scan_code;
  uint32_t flags;
  bool operator==(const RecordedKey&) const = default;
};
struct RecordedBox {
  void* owner;
  std::u16string text, caption;
  uint32_t style;
};

// Records every call and answers from its public fields.
class RecordingSystem : public ScriptSystem {
 public:
  std::vector<uint32_t> sleeps;
  ScriptLocalTime now{2026, 12, 8, 2, 3, 4, 5, 678};
  uint32_t ticks = 0;
  std::vector<RecordedBox> boxes;
  std::vector<int32_t> box_answers;  // consumed in order; 1 when empty
  bool input_ok = true;
  std::u16string input_answer;
  std::vector<std::u16string> input_calls;  // title + "|" + message
  std::vector<bool> input_japanese;
  std::vector<RecordedMouse> mouse;
  std::vector<RecordedKey> keybd;
  std::vector<RecordedKey> send_input;
  uint32_t send_input_accepts = 1;
  bool monitors_ok = true;
  std::vector<ScriptScreenRect> monitors;
  bool keyboards_ok = true;
  std::vector<std::u16string> keyboards;
  void* clipboard_owner = nullptr;
  std::u16string clipboard;
  bool has_clipboard = false;
  std::vector<std::pair<uint32_t, uint32_t>> ime_requests;
  bool ime_ok = true;
  int32_t ime_answer = 0;
  int16_t key_state = 0;

  void Sleep(uint32_t milliseconds) override { sleeps.push_back(milliseconds); }
  ScriptLocalTime LocalTime() override { return now; }
  uint32_t TickCount() override { return ticks; }
  int32_t SystemMetrics(int32_t index) override { return index * 10; }
  int32_t ShowMessageBox(const ScriptDialogOwner& owner, std::u16string_view text,
                         std::u16string_view caption, uint32_t style) override;
  bool InputDialog(const ScriptDialogOwner&, std::u16string_view message, std::u16string_view title,
                   bool japanese, std::u16string& text) override;
  int32_t MessageBeep(uint32_t type) override { return static_cast<int32_t>(type) + 1; }
  bool GetEnv(std::u16string_view, std::u16string&) override { return false; }
  bool SetEnv(std::u16string_view, std::u16string_view) override { return false; }
  bool GetCursorPos(int32_t& x, int32_t& y) override { x = 11; y = 22; return true; }
  bool SetCursorPos(int32_t, int32_t) override { return true; }
  void MouseEvent(uint32_t flags, int32_t dx, int32_t dy, int32_t data) override {
    mouse.push_back({flags, dx, dy, data});
  }
  void KeybdEvent(uint8_t vk, uint8_t scan, uint32_t flags) override { keybd.push_back({vk, scan, flags}); }
  uint32_t SendKeyboardInput(uint16_t vk, uint16_t scan, uint32_t flags) override {
    send_input.push_back({vk, scan, flags});
    return send_input_accepts;
  }
  int16_t KeyState(int32_t) override { return key_state; }
  bool GetClipboardText(void* owner, std::u16string& text) override {
    clipboard_owner = owner;
    text = clipboard;
    return has_clipboard;
  }
  bool SetClipboardText(void* owner, std::u16string_view text) override {
    clipboard_owner = owner;
    clipboard = text;
    has_clipboard = true;
    return true;
  }
  bool ForegroundWindowTitle(std::u16string& title) override { title = u"Title"; return true; }
  bool ImeControl(uint32_t request, uint32_t parameter, int32_t& answer) override {
    ime_requests.emplace_back(request, parameter);
    answer = ime_answer;
    return ime_ok;
  }
  bool KeyboardDeviceNames(std::vector<std::u16string>& names) override {
    names = keyboards;
    return keyboards_ok;
  }
  bool MonitorRects(std::vector<ScriptScreenRect>& rects) override {
    rects = monitors;
    return monitors_ok;
  }
};

struct ScriptReport {
  int32_t code;
  int32_t line;
  std::string text;  // UTF-8
};

struct ScriptOutcome {
  int32_t result = 0;
  std::vector<std::string> output;  // CB.SetOutputText arguments, UTF-8
  std::vector<ScriptReport> errors;
};

// Runs `source` (UTF-8) with `system` (may be null), the given owner window
// and message-box function, English messages unless `japanese`.
ScriptOutcome RunSystemScript(const std::string& source, ScriptSystem* system,
                              void* owner = nullptr, MessageBoxFunction message_box = nullptr,
                              bool japanese = false);
