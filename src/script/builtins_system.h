#pragma once
// Built-in rows of the system family: time, dialogs, environment, cursor and
// simulated input, clipboard, key and input-method state, windows, keyboards
// and monitors. Every row reaches the machine through the run's ScriptSystem.

#include <array>
#include <cstdint>
#include <string>
#include <span>
#include <string_view>

#include "script/builtin_table.h"

inline constexpr int32_t kQvScriptVersion = 15601;  // 1.56.01 as X YY ZZ

// Keys (and, for SENDINPUTUNICODE, character codes) sent as extended keys:
// page up/down, end, home, arrows, print screen, insert, delete, the Windows
// and applications keys, right control, right menu and the browser, volume,
// media and launch keys.
bool IsExtendedKeyCode(uint32_t code);
// A keyboard's device name up to, not including, its second '#'.
std::u16string KeyboardNameStem(std::u16string_view device_name);

namespace system_builtins {
ScriptValue Sleep(BuiltinContext&, std::span<ScriptValue>);
ScriptValue CurrentYear(BuiltinContext&, std::span<ScriptValue>);
ScriptValue CurrentMonth(BuiltinContext&, std::span<ScriptValue>);
ScriptValue CurrentDay(BuiltinContext&, std::span<ScriptValue>);
ScriptValue CurrentDayOfWeek(BuiltinContext&, std::span<ScriptValue>);
ScriptValue CurrentHour(BuiltinContext&, std::span<ScriptValue>);
ScriptValue CurrentMinute(BuiltinContext&, std::span<ScriptValue>);
ScriptValue CurrentSecond(BuiltinContext&, std::span<ScriptValue>);
ScriptValue CurrentMilliseconds(BuiltinContext&, std::span<ScriptValue>);
ScriptValue TickCount(BuiltinContext&, std::span<ScriptValue>);
ScriptValue SystemMetrics(BuiltinContext&, std::span<ScriptValue>);
ScriptValue Version(BuiltinContext&, std::span<ScriptValue>);
ScriptValue Message(BuiltinContext&, std::span<ScriptValue>);
ScriptValue QuestionYesNo(BuiltinContext&, std::span<ScriptValue>);
ScriptValue QuestionOkCancel(BuiltinContext&, std::span<ScriptValue>);
ScriptValue QuestionYesNoCancel(BuiltinContext&, std::span<ScriptValue>);
ScriptValue Warning(BuiltinContext&, std::span<ScriptValue>);
ScriptValue Information(BuiltinContext&, std::span<ScriptValue>);
ScriptValue Error(BuiltinContext&, std::span<ScriptValue>);
ScriptValue Input(BuiltinContext&, std::span<ScriptValue>);
ScriptValue MessageBeep(BuiltinContext&, std::span<ScriptValue>);
ScriptValue GetEnv(BuiltinContext&, std::span<ScriptValue>);
ScriptValue SetEnv(BuiltinContext&, std::span<ScriptValue>);
ScriptValue CursorPosX(BuiltinContext&, std::span<ScriptValue>);
ScriptValue CursorPosY(BuiltinContext&, std::span<ScriptValue>);
ScriptValue SetCursorPos(BuiltinContext&, std::span<ScriptValue>);
ScriptValue MoveMouse(BuiltinContext&, std::span<ScriptValue>);
ScriptValue MouseWheel(BuiltinContext&, std::span<ScriptValue>);
ScriptValue MouseButtonLeft(BuiltinContext&, std::span<ScriptValue>);
ScriptValue MouseButtonRight(BuiltinContext&, std::span<ScriptValue>);
ScriptValue MouseButtonMiddle(BuiltinContext&, std::span<ScriptValue>);
ScriptValue MouseButtonX1(BuiltinContext&, std::span<ScriptValue>);
ScriptValue MouseButtonX2(BuiltinContext&, std::span<ScriptValue>);
ScriptValue KeybdEvent(BuiltinContext&, std::span<ScriptValue>);
ScriptValue SendInputUnicode(BuiltinContext&, std::span<ScriptValue>);
ScriptValue KeyState(BuiltinContext&, std::span<ScriptValue>);
ScriptValue GetClipboardText(BuiltinContext&, std::span<ScriptValue>);
ScriptValue SetClipboardText(BuiltinContext&, std::span<ScriptValue>);
ScriptValue ActiveWindowTitle(BuiltinContext&, std::span<ScriptValue>);
ScriptValue GetImeState(BuiltinContext&, std::span<ScriptValue>);
ScriptValue SetImeState(BuiltinContext&, std::span<ScriptValue>);
ScriptValue KeyInputDeviceList(BuiltinContext&, std::span<ScriptValue>);
ScriptValue MonitorsRect(BuiltinContext&, std::span<ScriptValue>);
}  // namespace system_builtins

inline constexpr std::array<BuiltinRow, 49> kSystemBuiltinRows{{
    {"ERROR", 1, 2, system_builtins::Error},
    {"GETACTIVEWINDOWTITLE", 0, 0, system_builtins::ActiveWindowTitle},
    {"GETCLIPBOARDTEXT", 0, 0, system_builtins::GetClipboardText},
    {"GETCURRENTDAY", 0, 0, system_builtins::CurrentDay},
    {"GETCURRENTDAYOFWEEK", 0, 0, system_builtins::CurrentDayOfWeek},
    {"GETCURRENTHOUR", 0, 0, system_builtins::CurrentHour},
    {"GETCURRENTMILLISECONDS", 0, 0, system_builtins::CurrentMilliseconds},
    {"GETCURRENTMINUTE", 0, 0, system_builtins::CurrentMinute},
    {"GETCURRENTMONTH", 0, 0, system_builtins::CurrentMonth},
    {"GETCURRENTSECOND", 0, 0, system_builtins::CurrentSecond},
    {"GETCURRENTYEAR", 0, 0, system_builtins::CurrentYear},
    {"GETCURSORPOSX", 0, 0, system_builtins::CursorPosX},
    {"GETCURSORPOSY", 0, 0, system_builtins::CursorPosY},
    {"GETENV", 1, 1, system_builtins::GetEnv},
    {"GETIMESTATE", 0, 0, system_builtins::GetImeState},
    {"GETKEYINPUTDEVICELIST", 1, 1, system_builtins::KeyInputDeviceList},
    {"GETKEYSTATE", 1, 1, system_builtins::KeyState},
    {"GETMONITORSRECT", 4, 6, system_builtins::MonitorsRect},
    {"GETQV_SCRIPTVERSION", 0, 0, system_builtins::Version},
    {"GETSYSTEMMETRICS", 1, 1, system_builtins::SystemMetrics},
    {"GETTICKCOUNT", 0, 0, system_builtins::TickCount},
    {"INFORMATION", 1, 2, system_builtins::Information},
    {"INPUT", 1, 2, system_builtins::Input},
    {"KEYBDEVENT", 2, 2, system_builtins::KeybdEvent},
    {"MESSAGE", 1, 2, system_builtins::Message},
    {"MESSAGEBEEP", 1, 1, system_builtins::MessageBeep},
    {"MESSAGEBOX", 1, 2, system_builtins::Message},
    {"MOUSEBUTTONLEFT", 1, 1, system_builtins::MouseButtonLeft},
    {"MOUSEBUTTONMIDDLE", 1, 1, system_builtins::MouseButtonMiddle},
    {"MOUSEBUTTONRIGHT", 1, 1, system_builtins::MouseButtonRight},
    {"MOUSEBUTTONX1", 1, 1, system_builtins::MouseButtonX1},
    {"MOUSEBUTTONX2", 1, 1, system_builtins::MouseButtonX2},
    {"MOUSEWHEEL", 1, 1, system_builtins::MouseWheel},
    {"MOVEMOUSE", 2, 2, system_builtins::MoveMouse},
    {"QUESTION", 1, 2, system_builtins::QuestionYesNo},
    {"QUESTIONOKCANCEL", 1, 2, system_builtins::QuestionOkCancel},
    {"QUESTIONYESNO", 1, 2, system_builtins::QuestionYesNo},
    {"QUESTIONYESNOCANCEL", 1, 2, system_builtins::QuestionYesNoCancel},
    {"QUESTION_OKCANCEL", 1, 2, system_builtins::QuestionOkCancel},
    {"QUESTION_YESNO", 1, 2, system_builtins::QuestionYesNo},
    {"QUESTION_YESNOCANCEL", 1, 2, system_builtins::QuestionYesNoCancel},
    {"SENDINPUTUNICODE", 2, 2, system_builtins::SendInputUnicode},
    {"SETCLIPBOARDTEXT", 1, 1, system_builtins::SetClipboardText},
    {"SETCURSORPOS", 2, 2, system_builtins::SetCursorPos},
    {"SETENV", 2, 2, system_builtins::SetEnv},
    {"SETIMESTATE", 1, 1, system_builtins::SetImeState},
    {"SLEEP", 1, 1, system_builtins::Sleep},
    {"TEXTOUT", 1, 2, system_builtins::Message},
    {"WARNING", 1, 2, system_builtins::Warning},
}};
