#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "settings/memory_store.h"
#include "settings/settings.h"

namespace {

using Kind = MemoryStore::Kind;

struct StoreCase {
  Kind kind;
  Language language;
};

class EmptyStoreTest : public ::testing::TestWithParam<StoreCase> {};

TEST_P(EmptyStoreTest, YieldsTheTableDefaults) {
  const StoreCase c = GetParam();
  MemoryStore store(c.kind, c.language);
  Settings s = DefaultSettings(c.language);
  LoadSettings(s, store, c.language);

  const bool ja = c.language == Language::Japanese;
  EXPECT_EQ(s.FONTNAME, ja ? u"MS UI Gothic" : u"MS Sans Serif");
  EXPECT_EQ(s.FORMAT, ja ? u"M/d [a] H:mm:ss" : u"a, d MMMM yyyy H:mm:ss");
  EXPECT_EQ(s.FORMATCPU, ja ? u"CPU利用率:{c}% 空きメモリ:{mM}/{MM}MB" : u"Processor:{c}% Available Memory:{mM}/{MM}MB");
  EXPECT_EQ(s.DEF_MAX_WND_WIDTH, 500);
  EXPECT_EQ(s.DEF_MAX_WND_HEIGHT, 1000);
  EXPECT_EQ(s.DEF_MAX_CLIPIMAGESIZE, 320);
  EXPECT_EQ(s.TOP, 20);
  EXPECT_EQ(s.INTERVAL, 20);
  EXPECT_EQ(s.HIDESTOP, 1);
  EXPECT_EQ(s.FADEOUTMSEC, 1000);
  EXPECT_EQ(s.FADEINMSEC, 1000);
  EXPECT_EQ(s.TEXTCOLOR, MakeColor(0, 0, 0));
  EXPECT_EQ(s.BKCOLOR, kKeyColor);
  EXPECT_EQ(s.WBKCOLOR, MakeColor(200, 200, 200));
  EXPECT_EQ(s.FONTSIZE, 10);
  EXPECT_EQ(s.ALARM_NOKORI_COLOR, MakeColor(102, 0, 0));
  EXPECT_EQ(s.ALARM_BK_COLOR, MakeColor(255, 0, 0));
  EXPECT_EQ(s.CLIPBOARD, 1);
  EXPECT_EQ(s.CLIPBOARD_COLOR, MakeColor(0, 0, 255));
  EXPECT_EQ(s.CLIPBOARD_COLOR_F, MakeColor(128, 0, 128));
  EXPECT_EQ(s.MEMO_COLOR, MakeColor(0, 102, 0));
  EXPECT_EQ(s.GAIBU, 1);
  EXPECT_EQ(s.GAIBU_COLOR, MakeColor(255, 0, 255));
  EXPECT_EQ(s.CPUMEM_COLOR, MakeColor(170, 0, 170));
  EXPECT_EQ(s.IMESTATE_COLOR, MakeColor(184, 85, 71));
  EXPECT_EQ(s.KAKOMI_COLOR, kKeyColor);
  EXPECT_EQ(s.INVERT_COLOR_DARKMODE, 1);
  EXPECT_EQ(s.AUTO_DEL_CLIPSEC, 120);
  EXPECT_EQ(s.SHOW_CLOCK, 1);
  EXPECT_TRUE(s.MEMO.empty());
  EXPECT_TRUE(s.ALARM_WAV.empty());
  for (int d = 0; d < kDriveCount; ++d) {
    EXPECT_EQ(s.WATCHDRIVEFREE_SIZE[d], 0);
    EXPECT_EQ(s.WATCHDRIVEFREE_UNIT[d], 2);
  }
  EXPECT_EQ(s.CUSTCOLORS[0], s.TEXTCOLOR);
  EXPECT_EQ(s.CUSTCOLORS[1], s.WBKCOLOR);
  EXPECT_EQ(s.CUSTCOLORS[6], s.MEMO_COLOR);
  EXPECT_EQ(s.CUSTCOLORS[7], 0u);
  EXPECT_EQ(store.size(), 0u) << "loading never writes";
}

INSTANTIATE_TEST_SUITE_P(BothStoresBothLanguages, EmptyStoreTest,
                         ::testing::Values(StoreCase{Kind::Ini, Language::Japanese},
                                           StoreCase{Kind::Ini, Language::English},
                                           StoreCase{Kind::Registry, Language::Japanese},
                                           StoreCase{Kind::Registry, Language::English}));

TEST(CustomColorDefaults, SlotsFollowTheColourKeysThenZero) {
  // TEXTCOLOR, WBKCOLOR, ALARM_NOKORI_COLOR, ALARM_BK_COLOR, CLIPBOARD_COLOR,
  // CLIPBOARD_COLOR_F, MEMO_COLOR, then nine empty slots.
  const CustomColors expected = {MakeColor(0, 0, 0),   MakeColor(200, 200, 200), MakeColor(102, 0, 0),
                                 MakeColor(255, 0, 0), MakeColor(0, 0, 255),     MakeColor(128, 0, 128),
                                 MakeColor(0, 102, 0), 0, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(DefaultCustomColors(), expected);
  for (const Language language : {Language::Japanese, Language::English}) {
    EXPECT_EQ(DefaultSettings(language).CUSTCOLORS, expected);
    // Loading the settings never touches the colour table.
    MemoryStore store(MemoryStore::Kind::Registry, language);
    CustomColors other{};
    other[3] = 0x123456;
    ASSERT_TRUE(store.WriteColorTable(other));
    Settings s = DefaultSettings(language);
    LoadSettings(s, store, language);
    EXPECT_EQ(s.CUSTCOLORS, expected);
  }
}

// One stored integer and what a field makes of it.
struct RuleCase {
  const char16_t* key;
  int32_t stored;
  int32_t expected;
};

int32_t FieldOf(const Settings& s, std::u16string_view key) {
  if (key == u"FONTSIZE") return s.FONTSIZE;
  if (key == u"DEF_MAX_WND_WIDTH") return s.DEF_MAX_WND_WIDTH;
  if (key == u"DEF_MAX_WND_HEIGHT") return s.DEF_MAX_WND_HEIGHT;
  if (key == u"DEF_MAX_CLIPIMAGESIZE") return s.DEF_MAX_CLIPIMAGESIZE;
  if (key == u"ALARM") return s.ALARM;
  if (key == u"GAP_BETWEEN_ITEMS") return s.GAP_BETWEEN_ITEMS;
  if (key == u"WATCHDRIVEFREE_UNIT_C") return s.WATCHDRIVEFREE_UNIT[2];
  if (key == u"WATCHDRIVEFREE_UNIT_Z") return s.WATCHDRIVEFREE_UNIT[25];
  if (key == u"WATCHDRIVEFREE_SIZE_Z") return s.WATCHDRIVEFREE_SIZE[25];
  if (key == u"TEXTCOLOR_R") return int32_t(ColorRed(s.TEXTCOLOR));
  if (key == u"WBKCOLOR_B") return int32_t(ColorBlue(s.WBKCOLOR));
  if (key == u"CLIPBOARD") return s.CLIPBOARD;
  if (key == u"JIHOU") return s.JIHOU;
  if (key == u"LEFT") return s.LEFT;
  if (key == u"HOTKEY_HIDE") return int32_t(s.HOTKEY_HIDE);
  if (key == u"HOTKEY_SUSPEND_WARNDISKSIZE") return int32_t(s.HOTKEY_SUSPEND_WARNDISKSIZE);
  ADD_FAILURE() << "no field for the key";
  return 0;
}

TEST(LoadRules, CorrectOutOfRangeValues) {
  const RuleCase cases[] = {
      {u"FONTSIZE", 4, 10},          {u"FONTSIZE", 1639, 10},        {u"FONTSIZE", 5, 5},
      {u"FONTSIZE", 1638, 1638},     {u"DEF_MAX_WND_WIDTH", 0, 16},  {u"DEF_MAX_WND_WIDTH", 15, 16},
      {u"DEF_MAX_WND_WIDTH", 16, 16}, {u"DEF_MAX_WND_HEIGHT", -3, 16}, {u"DEF_MAX_CLIPIMAGESIZE", 2, 16},
      {u"ALARM", 3, 0},              {u"ALARM", -1, 0},              {u"ALARM", 2, 2},
      {u"ALARM", 1, 1},              {u"GAP_BETWEEN_ITEMS", -5, 0},  {u"GAP_BETWEEN_ITEMS", 7, 7},
      {u"WATCHDRIVEFREE_UNIT_C", 7, 2}, {u"WATCHDRIVEFREE_UNIT_C", 6, 6}, {u"WATCHDRIVEFREE_UNIT_C", 262, 6},
      {u"WATCHDRIVEFREE_UNIT_Z", -1, 2}, {u"WATCHDRIVEFREE_UNIT_Z", 0, 0}, {u"WATCHDRIVEFREE_SIZE_Z", 9999, 9999},
      {u"TEXTCOLOR_R", 256, 0},      {u"TEXTCOLOR_R", -1, 255},      {u"WBKCOLOR_B", 300, 44},
      {u"CLIPBOARD", 0, 0},          {u"JIHOU", 42, 1},              {u"JIHOU", -1, 1},
      {u"LEFT", -40, -40},
      {u"HOTKEY_HIDE", 0x0241, 0x0641},  // Ctrl+A gains Alt
      {u"HOTKEY_HIDE", 0x0174, 0x0174},  // Shift+F5
      {u"HOTKEY_HIDE", 0x0341, 0x0341},  // Ctrl+Shift+A
      {u"HOTKEY_HIDE", 0x0065, 0x0065},  // bare keypad 5
      {u"HOTKEY_HIDE", 0x0041, 0x0641},  // bare A
      {u"HOTKEY_HIDE", 0x046C, 0x066C},  // Alt+keypad separator is not exempt
      {u"HOTKEY_HIDE", 0x026E, 0x066E},  // Ctrl+keypad decimal is not exempt
      {u"HOTKEY_SUSPEND_WARNDISKSIZE", 0x0487, 0x0487},  // Alt+F24
  };
  for (const Kind kind : {Kind::Ini, Kind::Registry}) {
    for (const RuleCase& c : cases) {
      MemoryStore store(kind, Language::English);
      if (kind == Kind::Ini) {
        const std::string digits = std::to_string(c.stored);
        store.SetIniText(c.key, std::u16string(digits.begin(), digits.end()));
      } else {
        store.SetRegistryDword(c.key, c.stored);
      }
      Settings s = DefaultSettings(Language::English);
      LoadSettings(s, store, Language::English);
      EXPECT_EQ(FieldOf(s, c.key), c.expected)
          << "key index " << (&c - cases) << (kind == Kind::Ini ? " (INI)" : " (registry)");
    }
  }
}

TEST(LoadRules, HotkeyRuleOverModifiersAndKeys) {
  const struct {
    uint32_t stored, expected;
  } cases[] = {
      {0, 0},           {0x0060, 0x0060}, {0x0069, 0x0069}, {0x016A, 0x016A}, {0x026B, 0x026B},
      {0x046D, 0x046D}, {0x006F, 0x006F}, {0x0070, 0x0070}, {0x0087, 0x0087}, {0x0088, 0x0688},
      {0x005F, 0x065F}, {0x0641, 0x0641}, {0x0541, 0x0541}, {0x0841, 0x0841}, {0x0941, 0x0941},
  };
  for (const auto& c : cases) EXPECT_EQ(NormalizeHotkey(c.stored), c.expected) << std::hex << c.stored;
}

TEST(LoadRules, AbsentKeysKeepPreviousValuesExceptFixedDefaults) {
  for (const Kind kind : {Kind::Ini, Kind::Registry}) {
    MemoryStore store(kind, Language::Japanese);
    Settings s = DefaultSettings(Language::Japanese);
    s.LEFT = 77;
    s.CLIPBOARD = 0;
    s.TEXTCOLOR = MakeColor(1, 2, 3);
    s.FONTNAME.assign(u"Previous Font");
    s.MEMO = u"kept";
    s.WATCHDRIVEFREE_SIZE[3] = 5;
    // Fixed-default keys fall back to the table, not to what was held.
    s.SHOW_CLOCK = 0;
    s.NoOpeningDlg = 1;
    s.GAP_BETWEEN_ITEMS = 9;
    s.HOTKEY_MEMO = 0x0641;
    s.WATCHDRIVEFREE_UNIT[3] = 5;
    // FORMAT falls back to the language default.
    s.FORMAT.assign(u"H:mm");
    LoadSettings(s, store, Language::Japanese);
    EXPECT_EQ(s.LEFT, 77);
    EXPECT_EQ(s.CLIPBOARD, 0);
    EXPECT_EQ(s.TEXTCOLOR, MakeColor(1, 2, 3));
    EXPECT_EQ(s.FONTNAME, u"Previous Font");
    EXPECT_EQ(s.MEMO, u"kept");
    EXPECT_EQ(s.WATCHDRIVEFREE_SIZE[3], 5);
    EXPECT_EQ(s.SHOW_CLOCK, 1);
    EXPECT_EQ(s.NoOpeningDlg, 0);
    EXPECT_EQ(s.GAP_BETWEEN_ITEMS, 0);
    EXPECT_EQ(s.HOTKEY_MEMO, 0u);
    EXPECT_EQ(s.WATCHDRIVEFREE_UNIT[3], 2);
    EXPECT_EQ(s.FORMAT, u"M/d [a] H:mm:ss");
  }
}

TEST(LoadRules, OneColourComponentAbsentKeepsThatComponent) {
  MemoryStore store(Kind::Ini, Language::English);
  store.SetIniText(u"TEXTCOLOR_G", u"128");
  Settings s = DefaultSettings(Language::English);
  s.TEXTCOLOR = MakeColor(10, 20, 30);
  LoadSettings(s, store, Language::English);
  EXPECT_EQ(s.TEXTCOLOR, MakeColor(10, 128, 30));
}

struct FadeCase {
  const char* name;
  std::optional<int32_t> hidestop, fadeoutmsec, fadeoutsec;
  uint8_t previous_hidestop;
  uint8_t expected_hidestop;
  int32_t expected_msec;
};

TEST(LoadRules, FadeKeys) {
  const FadeCase cases[] = {
      {"empty store", {}, {}, {}, 0, 1, 1000},
      {"old seconds form", {}, {}, 3, 0, 1, 3000},
      {"old seconds zero", {}, {}, 0, 0, 0, 0},
      {"old seconds zero keeps previous on", {}, {}, 0, 1, 1, 0},
      {"milliseconds without HIDESTOP", {}, 250, 9, 0, 1, 250},
      {"milliseconds zero without HIDESTOP", {}, 0, {}, 0, 0, 0},
      {"HIDESTOP without milliseconds", 0, {}, 5, 1, 0, -1},
      {"HIDESTOP non-zero", 7, 400, {}, 0, 1, 400},
      {"HIDESTOP off with milliseconds", 0, 400, {}, 1, 0, 400},
  };
  for (const Kind kind : {Kind::Ini, Kind::Registry}) {
    for (const FadeCase& c : cases) {
      MemoryStore store(kind, Language::English);
      auto put = [&](const char16_t* key, std::optional<int32_t> v) {
        if (!v) return;
        if (kind == Kind::Registry) {
          store.SetRegistryDword(key, *v);
        } else {
          const std::string t = std::to_string(*v);
          store.SetIniText(key, std::u16string(t.begin(), t.end()));
        }
      };
      put(u"HIDESTOP", c.hidestop);
      put(u"FADEOUTMSEC", c.fadeoutmsec);
      put(u"FADEOUTSEC", c.fadeoutsec);
      Settings s = DefaultSettings(Language::English);
      s.HIDESTOP = c.previous_hidestop;
      LoadSettings(s, store, Language::English);
      EXPECT_EQ(s.HIDESTOP, c.expected_hidestop) << c.name;
      EXPECT_EQ(s.FADEOUTMSEC, c.expected_msec) << c.name;
    }
  }
}

TEST(LoadRules, StringsFollowEachStoresReader) {
  // INI: an empty value is absent and keeps the default font.
  MemoryStore ini(Kind::Ini, Language::English);
  ini.SetIniText(u"FONTNAME", u"");
  Settings a = DefaultSettings(Language::English);
  LoadSettings(a, ini, Language::English);
  EXPECT_EQ(a.FONTNAME, u"MS Sans Serif");

  // Registry: an empty string is a value.
  MemoryStore reg(Kind::Registry, Language::English);
  reg.SetRegistryString(u"FONTNAME", u"");
  reg.SetRegistryString(u"FORMAT", u"");
  Settings b = DefaultSettings(Language::English);
  LoadSettings(b, reg, Language::English);
  EXPECT_EQ(b.FONTNAME, u"");
  EXPECT_EQ(b.FORMAT, u"");

  // Too long: cut to the capacity in INI, refused in the registry.
  const std::u16string long_name(100, u'x');
  ini.SetIniText(u"FONTNAME", long_name);
  reg.SetRegistryString(u"FONTNAME", long_name);
  Settings c = DefaultSettings(Language::English);
  Settings d = DefaultSettings(Language::English);
  LoadSettings(c, ini, Language::English);
  LoadSettings(d, reg, Language::English);
  EXPECT_EQ(c.FONTNAME, std::u16string(63, u'x'));
  EXPECT_EQ(d.FONTNAME, u"MS Sans Serif");

  // The registry takes a name of exactly 63 characters, not 64.
  reg.SetRegistryString(u"FONTNAME", std::u16string(63, u'y'));
  LoadSettings(d, reg, Language::English);
  EXPECT_EQ(d.FONTNAME, std::u16string(63, u'y'));
  reg.SetRegistryString(u"FONTNAME", std::u16string(64, u'z'));
  LoadSettings(d, reg, Language::English);
  EXPECT_EQ(d.FONTNAME, std::u16string(63, u'y'));
}

TEST(LoadRules, MemoLineBreaksAndLength) {
  MemoryStore ini(Kind::Ini, Language::English);
  ini.SetIniText(u"MEMO", u"a\x0001\x0001" u"b\x0001" u"c\x0001\x0001\x0001");
  Settings s = DefaultSettings(Language::English);
  LoadSettings(s, ini, Language::English);
  EXPECT_EQ(s.MEMO, u"a\r\nb\nc\r\n\n");

  ini.SetIniText(u"MEMO", std::u16string(70000, u'm'));
  LoadSettings(s, ini, Language::English);
  EXPECT_EQ(s.MEMO.size(), kMemoReadCapacity - 1);
}

TEST(LoadRules, HandDamagedIniTexts) {
  MemoryStore ini(Kind::Ini, Language::English);
  ini.SetIniText(u"FONTSIZE", u"12a");
  ini.SetIniText(u"LEFT", u"  -7px");
  ini.SetIniText(u"TOP", u"junk");
  ini.SetIniText(u"INTERVAL", u"");
  ini.SetIniText(u"WPOS", u"0x10");
  ini.SetIniText(u"ALARM_WAV", std::u16string(10000, u'w'));
  ini.SetIniText(u"CLIPBOARD", u"\xFFFD\x0001");
  Settings s = DefaultSettings(Language::English);
  s.INTERVAL = 55;
  LoadSettings(s, ini, Language::English);
  EXPECT_EQ(s.FONTSIZE, 12);
  EXPECT_EQ(s.LEFT, -7);
  EXPECT_EQ(s.TOP, 0);
  EXPECT_EQ(s.INTERVAL, 55) << "an empty number keeps the previous value";
  EXPECT_EQ(s.WPOS, 16);
  EXPECT_EQ(s.ALARM_WAV.size(), 519u);
  EXPECT_EQ(s.CLIPBOARD, 0);
}

}  // namespace
