#pragma once
// The nine global hotkeys, in registration order, and how a stored hotkey
// value becomes a registration. A stored value holds the virtual-key code in
// its low byte and the hotkey control's modifier flags in the second byte
// (Shift 0x01, Ctrl 0x02, Alt 0x04, extended 0x08).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/language.h"
#include "settings/settings.h"

struct HotkeyEntry {
  const char* key;  // settings key
  uint32_t Settings::*value;
  uint32_t command;
  std::u16string_view failure_ja;
  std::u16string_view failure_en;
};

inline constexpr size_t kHotkeyCount = 9;
extern const HotkeyEntry kHotkeys[kHotkeyCount];

// Modifier flags of a stored value (the hotkey control's).
inline constexpr uint32_t kHotkeyShift = 0x01;
inline constexpr uint32_t kHotkeyCtrl = 0x02;
inline constexpr uint32_t kHotkeyAlt = 0x04;

// Modifier flags of a registration (the platform's MOD_ values).
inline constexpr uint32_t kModAlt = 0x1;
inline constexpr uint32_t kModControl = 0x2;
inline constexpr uint32_t kModShift = 0x4;

struct HotkeyBinding {
  bool registered;  // false when the key byte is 0: never registered, no message
  uint32_t modifiers;
  uint32_t key;
};

HotkeyBinding MapHotkey(uint32_t value);

// How a hotkey control drawn by the program shows a value: "Ctrl + ",
// "Shift + ", "Alt + " and the key's name as the system gives it, or the
// "none" text; at most 63 characters.
inline constexpr size_t kHotkeyTextMax = 63;
std::u16string HotkeyText(uint32_t value, std::u16string_view key_name, Language language);
