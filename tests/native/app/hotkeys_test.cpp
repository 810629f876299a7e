#include "app/hotkeys.h"

#include <gtest/gtest.h>


#include "app/commands.h"

namespace {

TEST(MapHotkey, TranslatesControlFlagsToRegistrationModifiers) {
  struct Row {
    uint32_t value;
    bool registered;
    uint32_t modifiers;
    uint32_t key;
  } rows[] = {
      {0x034B, true, kModControl | kModShift, 0x4B},  // Ctrl+Shift+K
      {0x0641, true, kModControl | kModAlt, 0x41},
      {0x0174, true, kModShift, 0x74},
      {0x0465, true, kModAlt, 0x65},
      {0x0765, true, kModAlt | kModControl | kModShift, 0x65},
      {0x0865, true, 0, 0x65},                       // the extended flag is ignored
      {0x0E2E, true, kModAlt | kModControl, 0x2E},
      {0x0065, true, 0, 0x65},
      {0x0300, false, 0, 0},                         // modifiers only: never registered
      {0x0000, false, 0, 0},
      {0x12345641, true, kModControl | kModAlt, 0x41},  // bits above the second byte do not matter
  };
  for (const Row& r : rows) {
    const HotkeyBinding b = MapHotkey(r.value);
    EXPECT_EQ(b.registered, r.registered) << std::hex << r.value;
    if (r.registered) {
      EXPECT_EQ(b.modifiers, r.modifiers) << std::hex << r.value;
      EXPECT_EQ(b.key, r.key) << std::hex << r.value;
    }
  }
  EXPECT_EQ(MapHotkey(0x034B).modifiers, 0x6u);
}

TEST(HotkeyTable, HoldsTheNineHotkeysInRegistrationOrder) {
  const uint32_t commands[] = {32771, 32790, 32776, 32779, 32778, 32774, 32775, 1020, 1263};
  Settings s;
  for (size_t i = 0; i < kHotkeyCount; ++i) {
    EXPECT_EQ(kHotkeys[i].command, commands[i]) << i;
    EXPECT_FALSE(kHotkeys[i].failure_ja.empty());
    EXPECT_FALSE(kHotkeys[i].failure_en.empty());
    for (size_t j = 0; j < i; ++j) EXPECT_NE(kHotkeys[i].value, kHotkeys[j].value) << i;
    s.*kHotkeys[i].value = 0x100 + uint32_t(i);
  }
  // Each row reads its own settings field.
  EXPECT_EQ(s.HOTKEY_SETTING, 0x100u);
  EXPECT_EQ(s.HOTKEY_HIDE_P1, 0x103u);
  EXPECT_EQ(s.HOTKEY_HIDE_P0, 0x104u);
  EXPECT_EQ(s.HOTKEY_SUSPEND_WARNDISKSIZE, 0x108u);
  EXPECT_STREQ(kHotkeys[3].key, "HOTKEY_HIDE_P1");
}

TEST(HotkeyText, NamesModifiersInFixedOrder) {
  struct Row {
    uint32_t value;
    Language language;
    std::u16string_view expected;
  } rows[] = {
      {0x034B, Language::English, u"Ctrl + Shift + K"},
      {0x0741, Language::English, u"Ctrl + Shift + Alt + K"},
      {0x0441, Language::Japanese, u"Alt + K"},
      {0x0041, Language::English, u"K"},
      {0x0300, Language::English, u"Ctrl + Shift + K"},  // a modifier alone still shows the key name
      {0x0000, Language::English, u"-None-"},
      {0x0000, Language::Japanese, u"なし"},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(HotkeyText(r.value, u"K", r.language), r.expected) << std::hex << r.value;
  }
}

TEST(HotkeyText, StopsAt63Characters) {
  const std::u16string text = HotkeyText(0x0741, std::u16string(100, u'N'), Language::English);
  EXPECT_EQ(text.size(), kHotkeyTextMax);
  EXPECT_EQ(text.substr(0, 22), u"Ctrl + Shift + Alt + N");
}

}  // namespace
