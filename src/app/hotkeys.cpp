#include "app/hotkeys.h"

#include "app/commands.h"

const HotkeyEntry kHotkeys[kHotkeyCount] = {
    {"HOTKEY_SETTING", &Settings::HOTKEY_SETTING, command::kSettings,
     u"「設定ダイアログを開く」のホットキー割当てに失敗しました。",
     u"Cannot register hotkey for 'Open Setting DIalog.'"},
    {"HOTKEY_MEMO", &Settings::HOTKEY_MEMO, command::kMemo, u"「メモ編集を開く」のホットキー割当てに失敗しました。",
     u"Cannot register hotkey for 'Open Memo Setting.'"},
    {"HOTKEY_HIDE", &Settings::HOTKEY_HIDE, command::kToggleHide,
     u"「時計等の表示ON/OFFの切替」のホットキー割当てに失敗しました。",
     u"Cannot register hotkey for 'SHOW / HIDE switching.'"},
    {"HOTKEY_HIDE_P1", &Settings::HOTKEY_HIDE_P1, command::kShow, u"「時計等の表示ON」のホットキー割当てに失敗しました。",
     u"Cannot register hotkey for 'SHOW.'"},
    {"HOTKEY_HIDE_P0", &Settings::HOTKEY_HIDE_P0, command::kHide, u"「時計等の表示OFF」のホットキー割当てに失敗しました。",
     u"Cannot register hotkey for 'HIDE.'"},
    {"HOTKEY_CLEARCLIPBOARD", &Settings::HOTKEY_CLEARCLIPBOARD, command::kEmptyClipboard,
     u"「クリップボードをクリア」のホットキー割当てに失敗しました。",
     u"Cannot register hotkey for 'Empty the clipboard.'"},
    {"HOTKEY_PLAINER", &Settings::HOTKEY_PLAINER, command::kPlainText,
     u"「クリップボード文字列から修飾を除去」のホットキー割当てに失敗しました。",
     u"Cannot register hotkey for 'Clipboard Rich Text to Plane Text.'"},
    {"HOTKEY_CHECK_ALARM_NOKORI", &Settings::HOTKEY_CHECK_ALARM_NOKORI, command::kAlarmCountdown,
     u"「残時間表示のON/OFFの切替」のホットキー割当てに失敗しました。",
     u"Cannot register hotkey for 'Countdown until specified time.'"},
    {"HOTKEY_SUSPEND_WARNDISKSIZE", &Settings::HOTKEY_SUSPEND_WARNDISKSIZE, command::kSuspendDriveWarning,
     u"「ドライブ空き容量警告の一時停止」のホットキー割当てに失敗しました。",
     u"Cannot register hotkey for 'Suspend drive space warning.'"},
};

HotkeyBinding MapHotkey(uint32_t value) {
  const uint32_t key = value & 0xFF;
  const uint32_t flags = (value >> 8) & 0xFF;
  if (key == 0) return {false, 0, 0};
  uint32_t modifiers = 0;
  if (flags & kHotkeyAlt) modifiers |= kModAlt;
  if (flags & kHotkeyCtrl) modifiers |= kModControl;
  if (flags & kHotkeyShift) modifiers |= kModShift;
  return {true, modifiers, key};
}

std::u16string HotkeyText(uint32_t value, std::u16string_view key_name, Language language) {
  const uint32_t key = value & 0xFF;
  const uint32_t flags = (value >> 8) & 0xFF;
  const uint32_t modifier_mask = kHotkeyShift | kHotkeyCtrl | kHotkeyAlt;
  if (key == 0 && (flags & modifier_mask) == 0) {
    return std::u16string(Pick<std::u16string_view>(language, u"なし", u"-None-"));
  }
  std::u16string text;
  if (flags & kHotkeyCtrl) text += u"Ctrl + ";
  if (flags & kHotkeyShift) text += u"Shift + ";
  if (flags & kHotkeyAlt) text += u"Alt + ";
  text += key_name;
  if (text.size() > kHotkeyTextMax) text.resize(kHotkeyTextMax);
  return text;
}
