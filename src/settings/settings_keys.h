#pragma once
// The one table of settings keys, read by LoadSettings, SaveSettings (and so
// by the copy commands) and the tests.
//
// Rows are in load order. Each row names its key, the record's member, the
// member's kind, its load rule, and its save group (1-6, 0 = never written)
// with its position in that group's write order. Fixed defaults are the
// record's member initialisers (settings.h), so record and table cannot
// disagree; the three texts whose default depends on the interface language
// carry both defaults here.
//
// The rules that do not fit a row are named exceptions in settings_keys.cpp:
// the fade keys (HIDESTOP, FADEOUTMSEC and the older FADEOUTSEC are read
// together), the hotkey rule, ALARM's run-time 3 stored as 0, MEMO's lock
// and larger read buffer, and the drive families written drive by drive.
// CUSTCOLORS is not a key: it is the store's colour table (LoadCustomColors).

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "settings/settings.h"

enum class KeyKind : uint8_t {
  Integer,    // int32_t
  Flag,       // uint8_t, stored as 0 or 1
  Color,      // uint32_t, stored as KEY_R, KEY_G, KEY_B
  Hotkey,     // uint32_t, stored as its number
  Text,       // FixedText; the capacity is the member's
  Memo,       // std::u16string read through kMemoReadCapacity, under the memo lock
  HourTexts,  // JIHOU_WAV00 ... JIHOU_WAV23
  DriveSizes, // WATCHDRIVEFREE_SIZE_A ... _Z, written drive by drive with the units
  DriveUnits, // WATCHDRIVEFREE_UNIT_A ... _Z
};

enum class LoadRule : uint8_t {
  Keep,             // an absent key keeps the record's value
  FixedDefault,     // an absent key gives the record's default
  AtLeast16,        // smaller numbers load as 16
  FontSize,         // outside 5-1638 loads as 10
  AlarmMode,        // anything but 0, 1, 2 loads as 0
  FixedNotNegative, // as FixedDefault; negative numbers load as 0
  LanguageDefault,  // an absent text gives the language's default
  FadeKeys,         // HIDESTOP: reads the three fade keys together
  WithFadeKeys,     // FADEOUTMSEC, FADEOUTSEC: read with HIDESTOP, not on their own
  HotkeyRule,       // absent is 0; NormalizeHotkey applies
  DriveUnit,        // absent is 2; the low byte; above 6 loads as 2
};

using SettingMember =
    std::variant<int32_t Settings::*, uint8_t Settings::*, uint32_t Settings::*, FontNameText Settings::*,
                 SettingText Settings::*, std::u16string Settings::*,
                 std::array<SettingText, kJihouHours> Settings::*, std::array<int32_t, kDriveCount> Settings::*>;

struct SettingKey {
  std::u16string_view key;  // for a family, the prefix of its numbered keys
  SettingMember member;
  KeyKind kind;
  LoadRule rule = LoadRule::Keep;
  uint8_t group = 0;     // 1-6; 0 is read but never written
  uint8_t position = 0;  // write order within the group, from 0
  std::u16string_view default_ja = {};  // LanguageDefault texts only
  std::u16string_view default_en = {};
};

constexpr int kSaveGroupCount = 6;

std::span<const SettingKey> SettingKeys();

// The row of a key (family rows by their prefix), or null.
const SettingKey* FindSettingKey(std::u16string_view key);

// A row's stored key names in the order they are read and written: one for
// most rows, three for a colour, 24 or 26 for a family. The drive families
// interleave; each row lists only its own names.
std::vector<std::u16string> StoredKeyNames(const SettingKey& row);

// The names one group writes, in order (the drive families interleaved).
std::vector<std::u16string> GroupWriteOrder(int group);

// The value stored for ALARM: 3 is the run-time state of a one-time alarm
// going off, which is never kept.
inline int32_t StoredAlarm(int32_t alarm) { return alarm == 3 ? 0 : alarm; }

// Reads and writes the whole table; settings.cpp wraps them with the hooks.
struct KeyTableHooks {
  void (*lock_memo)() = nullptr;
  void (*unlock_memo)() = nullptr;
};
void LoadKeyTable(Settings& settings, SettingsStore& store, Language language, const KeyTableHooks& hooks);
// Writes one group (1-6); returns false when any write failed. Error lines
// are appended to `errors`.
bool SaveKeyGroup(const Settings& settings, SettingsStore& store, int group, const KeyTableHooks& hooks,
                  std::u16string& errors);
