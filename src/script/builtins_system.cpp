#include "script/builtins_system.h"

#include <chrono>
#include <thread>

#include "common/utf.h"
#include "script/builtin_args.h"
#include "script/console_system.h"
#include "script/script_system.h"

namespace {

// What a run without a system interface gets: the clock, the environment
// and the host's message box where it gave one; every other operation
// answers like a failed platform call.
class FallbackSystem : public ConsoleSystem {
 public:
  FallbackSystem() : ConsoleSystem(nullptr, nullptr) {}
  int32_t ShowMessageBox(const ScriptDialogOwner& owner, std::u16string_view text,
                     std::u16string_view caption, uint32_t style) override {
    if (owner.message_box == nullptr) return 0;
    const std::u16string text_z(text), caption_z(caption);
    return owner.message_box(owner.window, text_z.c_str(), caption_z.c_str(), style);
  }
  bool InputDialog(const ScriptDialogOwner&, std::u16string_view, std::u16string_view, bool,
                   std::u16string& text) override {
    text.clear();
    return false;
  }
};

ScriptSystem& SystemOf(BuiltinContext& context) {
  if (ScriptSystem* system = context.system()) return *system;
  static FallbackSystem fallback;
  return fallback;
}

ScriptDialogOwner DialogOwnerOf(BuiltinContext& context) {
  const ScriptHostParams& host = context.host();
  return ScriptDialogOwner{host.owner, host.messageBox};
}

std::u16string TextArg(const ScriptValue& value) { return Utf8ToUtf16(ToString(value)); }

ScriptValue Integer(int32_t n) { return MakeInteger(n); }

// Shows a message box with the caption argument when present (even empty).
int32_t ShowBox(BuiltinContext& context, std::span<ScriptValue> args,
                std::u16string_view default_caption, uint32_t style) {
  const std::u16string caption = args.size() > 1 ? TextArg(args[1]) : std::u16string(default_caption);
  return SystemOf(context).ShowMessageBox(DialogOwnerOf(context), TextArg(args[0]), caption, style);
}

ScriptValue MouseButton(BuiltinContext& context, const ScriptValue& press, uint32_t down,
                        uint32_t up, int32_t data) {
  SystemOf(context).MouseEvent(ToInteger(press) != 0 ? down : up, 0, 0, data);
  return Integer(1);
}

}  // namespace

bool IsExtendedKeyCode(uint32_t code) {
  return (code >= 0x21 && code <= 0x28) || (code >= 0x2C && code <= 0x2E) ||
         (code >= 0x5B && code <= 0x5D) || code == 0xA3 || (code >= 0xA5 && code <= 0xB7);
}

std::u16string KeyboardNameStem(std::u16string_view device_name) {
  const size_t first = device_name.find(u'#');
  if (first == std::u16string_view::npos) return std::u16string(device_name);
  const size_t second = device_name.find(u'#', first + 1);
  return std::u16string(device_name.substr(0, second));
}

namespace system_builtins {

ScriptValue Sleep(BuiltinContext& context, std::span<ScriptValue> args) {
  // A negative count does not pause.
  const int32_t milliseconds = ToInteger(args[0]);
  if (milliseconds >= 0) SystemOf(context).Sleep(static_cast<uint32_t>(milliseconds));
  return Integer(0);
}

ScriptValue CurrentYear(BuiltinContext& context, std::span<ScriptValue>) {
  return Integer(SystemOf(context).LocalTime().year);
}
ScriptValue CurrentMonth(BuiltinContext& context, std::span<ScriptValue>) {
  return Integer(SystemOf(context).LocalTime().month);
}
ScriptValue CurrentDay(BuiltinContext& context, std::span<ScriptValue>) {
  return Integer(SystemOf(context).LocalTime().day);
}
ScriptValue CurrentDayOfWeek(BuiltinContext& context, std::span<ScriptValue>) {
  return Integer(SystemOf(context).LocalTime().day_of_week);
}
ScriptValue CurrentHour(BuiltinContext& context, std::span<ScriptValue>) {
  return Integer(SystemOf(context).LocalTime().hour);
}
ScriptValue CurrentMinute(BuiltinContext& context, std::span<ScriptValue>) {
  return Integer(SystemOf(context).LocalTime().minute);
}
ScriptValue CurrentSecond(BuiltinContext& context, std::span<ScriptValue>) {
  return Integer(SystemOf(context).LocalTime().second);
}
ScriptValue CurrentMilliseconds(BuiltinContext& context, std::span<ScriptValue>) {
  return Integer(SystemOf(context).LocalTime().milliseconds);
}

ScriptValue TickCount(BuiltinContext& context, std::span<ScriptValue>) {
  return Integer(static_cast<int32_t>(SystemOf(context).TickCount()));
}

ScriptValue SystemMetrics(BuiltinContext& context, std::span<ScriptValue> args) {
  return Integer(SystemOf(context).SystemMetrics(ToInteger(args[0])));
}

ScriptValue Version(BuiltinContext&, std::span<ScriptValue>) { return Integer(kQvScriptVersion); }

ScriptValue Message(BuiltinContext& context, std::span<ScriptValue> args) {
  ShowBox(context, args, u"Message", 0);
  return Integer(0);
}

ScriptValue QuestionYesNo(BuiltinContext& context, std::span<ScriptValue> args) {
  return Integer(ShowBox(context, args, u"Question", 36) == 6 ? 1 : 0);
}

ScriptValue QuestionOkCancel(BuiltinContext& context, std::span<ScriptValue> args) {
  return Integer(ShowBox(context, args, u"Question", 33) == 1 ? 1 : 0);
}

ScriptValue QuestionYesNoCancel(BuiltinContext& context, std::span<ScriptValue> args) {
  const int32_t button = ShowBox(context, args, u"Question", 35);
  return Integer(button == 6 ? 1 : button == 7 ? 0 : -1);
}

ScriptValue Warning(BuiltinContext& context, std::span<ScriptValue> args) {
  ShowBox(context, args, u"Warning", 48);
  return Integer(0);
}

ScriptValue Information(BuiltinContext& context, std::span<ScriptValue> args) {
  ShowBox(context, args, u"Information", 64);
  return Integer(0);
}

ScriptValue Error(BuiltinContext& context, std::span<ScriptValue> args) {
  ShowBox(context, args, u"Error", 16);
  return Integer(0);
}

ScriptValue Input(BuiltinContext& context, std::span<ScriptValue> args) {
  constexpr size_t kMaxInput = 4095;
  std::u16string title = args.size() > 1 ? TextArg(args[1]) : std::u16string();
  if (title.empty()) title = u"Input";
  std::u16string text;
  if (!SystemOf(context).InputDialog(DialogOwnerOf(context), TextArg(args[0]), title,
                                     context.japanese(), text)) {
    return MakeString("");
  }
  if (text.size() > kMaxInput) {
    // Never keep half of a surrogate pair at the cut.
    size_t keep = kMaxInput;
    if (text[keep - 1] >= 0xD800 && text[keep - 1] <= 0xDBFF) --keep;
    text.resize(keep);
  }
  return MakeString(Utf16ToUtf8(text));
}

ScriptValue MessageBeep(BuiltinContext& context, std::span<ScriptValue> args) {
  return Integer(SystemOf(context).MessageBeep(static_cast<uint32_t>(ToInteger(args[0]))));
}

ScriptValue GetEnv(BuiltinContext& context, std::span<ScriptValue> args) {
  std::u16string value;
  if (!SystemOf(context).GetEnv(TextArg(args[0]), value)) return MakeString("");
  return MakeString(Utf16ToUtf8(value));
}

ScriptValue SetEnv(BuiltinContext& context, std::span<ScriptValue> args) {
  return Integer(SystemOf(context).SetEnv(TextArg(args[0]), TextArg(args[1])) ? 1 : 0);
}

ScriptValue CursorPosX(BuiltinContext& context, std::span<ScriptValue>) {
  int32_t x = 0, y = 0;
  return Integer(SystemOf(context).GetCursorPos(x, y) ? x : -1);
}

ScriptValue CursorPosY(BuiltinContext& context, std::span<ScriptValue>) {
  int32_t x = 0, y = 0;
  return Integer(SystemOf(context).GetCursorPos(x, y) ? y : -1);
}

ScriptValue SetCursorPos(BuiltinContext& context, std::span<ScriptValue> args) {
  return Integer(SystemOf(context).SetCursorPos(ToInteger(args[0]), ToInteger(args[1])) ? 1 : 0);
}

ScriptValue MoveMouse(BuiltinContext& context, std::span<ScriptValue> args) {
  SystemOf(context).MouseEvent(kMouseMove, ToInteger(args[0]), ToInteger(args[1]), 0);
  return Integer(1);
}

ScriptValue MouseWheel(BuiltinContext& context, std::span<ScriptValue> args) {
  SystemOf(context).MouseEvent(kMouseWheel, 0, 0, ToInteger(args[0]));
  return Integer(1);
}

ScriptValue MouseButtonLeft(BuiltinContext& context, std::span<ScriptValue> args) {
  return MouseButton(context, args[0], kMouseLeftDown, kMouseLeftUp, 0);
}
ScriptValue MouseButtonRight(BuiltinContext& context, std::span<ScriptValue> args) {
  return MouseButton(context, args[0], kMouseRightDown, kMouseRightUp, 0);
}
ScriptValue MouseButtonMiddle(BuiltinContext& context, std::span<ScriptValue> args) {
  return MouseButton(context, args[0], kMouseMiddleDown, kMouseMiddleUp, 0);
}
ScriptValue MouseButtonX1(BuiltinContext& context, std::span<ScriptValue> args) {
  return MouseButton(context, args[0], kMouseXDown, kMouseXUp, 1);
}
ScriptValue MouseButtonX2(BuiltinContext& context, std::span<ScriptValue> args) {
  return MouseButton(context, args[0], kMouseXDown, kMouseXUp, 2);
}

ScriptValue KeybdEvent(BuiltinContext& context, std::span<ScriptValue> args) {
  const uint8_t key = static_cast<uint8_t>(ToInteger(args[0]) & 0xFF);
  uint32_t flags = IsExtendedKeyCode(key) ? kKeyExtended : 0;
  if (ToInteger(args[1]) == 0) flags |= kKeyUp;
  SystemOf(context).KeybdEvent(key, 0, flags);
  return Integer(1);
}

ScriptValue SendInputUnicode(BuiltinContext& context, std::span<ScriptValue> args) {
  const std::u16string text = TextArg(args[0]);
  const char16_t unit = text.empty() ? u'\0' : text[0];
  uint32_t flags = kKeyUnicode;
  if (ToInteger(args[1]) == 0) flags |= kKeyUp;
  if (IsExtendedKeyCode(unit)) flags |= kKeyExtended;
  return Integer(static_cast<int32_t>(SystemOf(context).SendKeyboardInput(0, unit, flags)));
}

ScriptValue KeyState(BuiltinContext& context, std::span<ScriptValue> args) {
  return Integer(SystemOf(context).KeyState(ToInteger(args[0])));
}

ScriptValue GetClipboardText(BuiltinContext& context, std::span<ScriptValue>) {
  std::u16string text;
  if (!SystemOf(context).GetClipboardText(context.host().owner, text)) return MakeString("");
  return MakeString(Utf16ToUtf8(text));
}

ScriptValue SetClipboardText(BuiltinContext& context, std::span<ScriptValue> args) {
  return Integer(SystemOf(context).SetClipboardText(context.host().owner, TextArg(args[0])) ? 1 : 0);
}

ScriptValue ActiveWindowTitle(BuiltinContext& context, std::span<ScriptValue>) {
  std::u16string title;
  if (!SystemOf(context).ForegroundWindowTitle(title)) return MakeString("");
  return MakeString(Utf16ToUtf8(title));
}

ScriptValue GetImeState(BuiltinContext& context, std::span<ScriptValue>) {
  int32_t answer = 0;
  if (!SystemOf(context).ImeControl(kImeGetOpenStatus, 0, answer)) return Integer(-1);
  return Integer(answer);
}

ScriptValue SetImeState(BuiltinContext& context, std::span<ScriptValue> args) {
  int32_t answer = 0;
  const uint32_t open = ToInteger(args[0]) != 0 ? 1 : 0;
  if (!SystemOf(context).ImeControl(kImeSetOpenStatus, open, answer)) return Integer(0);
  return Integer(answer);
}

ScriptValue KeyInputDeviceList(BuiltinContext& context, std::span<ScriptValue> args) {
  std::string name;
  if (!TakeArrayName(context, args[0], "GetKeyInputDeviceList", name)) return Integer(-1);
  ScriptValue& variable = context.variables().ref(name);
  if (variable.isString) {
    variable.text.clear();
    variable.isString = false;
  }
  if (variable.isArray) {
    variable.elements.clear();
    variable.isArray = false;
  }
  std::vector<std::u16string> devices;
  if (!SystemOf(context).KeyboardDeviceNames(devices)) return Integer(0);
  int32_t stored = 0;
  for (const std::u16string& device : devices) {
    ElementAt(variable, stored) = MakeString(Utf16ToUtf8(KeyboardNameStem(device)));
    variable.text = name;
    ++stored;
  }
  return Integer(stored);
}

ScriptValue MonitorsRect(BuiltinContext& context, std::span<ScriptValue> args) {
  std::vector<std::string> names(args.size());
  for (size_t i = 0; i < args.size(); ++i) {
    if (!TakeArrayName(context, args[i], "GetMonitorsRect", names[i])) return Integer(-1);
  }
  std::vector<ScriptScreenRect> monitors;
  if (!SystemOf(context).MonitorRects(monitors)) return Integer(0);
  VariableStore& variables = context.variables();
  for (const std::string& name : names) {
    ScriptValue& array = variables.ref(name);
    array.elements.clear();
    array.isArray = true;
    array.isString = false;
    array.text = name;
  }
  for (const ScriptScreenRect& monitor : monitors) {
    const int32_t fields[6] = {monitor.left, monitor.top, monitor.right, monitor.bottom,
                               static_cast<int32_t>(static_cast<uint32_t>(monitor.right) -
                                                    static_cast<uint32_t>(monitor.left)),
                               static_cast<int32_t>(static_cast<uint32_t>(monitor.bottom) -
                                                    static_cast<uint32_t>(monitor.top))};
    for (size_t i = 0; i < names.size(); ++i) {
      variables.ref(names[i]).elements.push_back(MakeInteger(fields[i]));
    }
  }
  return Integer(static_cast<int32_t>(monitors.size()));
}

}  // namespace system_builtins
