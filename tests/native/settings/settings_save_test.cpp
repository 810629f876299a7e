#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/memory_store.h"
#include "settings/settings.h"
#include "settings/settings_copy.h"
#include "settings/store_messages.h"

namespace {

using Kind = MemoryStore::Kind;
using Keys = std::vector<std::u16string>;

Keys Triple(const std::u16string& key) { return {key + u"_R", key + u"_G", key + u"_B"}; }

Keys Concat(std::initializer_list<Keys> parts) {
  Keys all;
  for (const Keys& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

Keys Group1() {
  Keys jihou;
  for (int h = 0; h < 24; ++h) {
    jihou.push_back(u"JIHOU_WAV" + std::u16string(1, char16_t(u'0' + h / 10)) + char16_t(u'0' + h % 10));
  }
  return Concat({{u"DEF_MAX_WND_WIDTH", u"DEF_MAX_WND_HEIGHT", u"DEF_MAX_CLIPIMAGESIZE", u"WPOS", u"LEFT", u"TOP",
                  u"INTERVAL"},
                 Triple(u"TEXTCOLOR"), Triple(u"BKCOLOR"), Triple(u"WBKCOLOR"),
                 {u"BG_ALPHA", u"FONTNAME", u"FONTSIZE", u"ALARM", u"ALARM_HOUR", u"ALARM_MIN", u"ALARM_SEC",
                  u"ALARM_WAV", u"ALARM_WAV_BSEC", u"ALARM_NOKORI"},
                 Triple(u"ALARM_NOKORI_COLOR"), Triple(u"ALARM_BK_COLOR"),
                 {u"INVERT_COLOR_DARKMODE", u"ALARM_FLUSH", u"YOREI_COLOR", u"JIHOU", u"JIHOU_WAV"}, jihou,
                 {u"JIHOU_WAV_BSEC", u"JIHOU_FLUSH", u"JIHOU_MULTI", u"CLIPBOARD", u"AUTO_PLAINER", u"AUTO_DEL_CLIP",
                  u"AUTO_DEL_CLIPSEC", u"CBTEXT_MAX", u"WND_WIDTH", u"WND_HEIGHT", u"ROUNDRECT", u"FONTBOLD",
                  u"FONTITALIC", u"CBDELAY", u"NoOpeningDlg", u"NoNotifyScriptSuspend", u"SHOW_CLOCK",
                  u"GAP_BETWEEN_ITEMS", u"SHOW_LINE", u"BIGDIALOG"}});
}

Keys Group3() {
  return Concat({Triple(u"CLIPBOARD_COLOR"), Triple(u"CLIPBOARD_COLOR_F"), Triple(u"MEMO_COLOR"), {u"GAIBU"},
                 Triple(u"GAIBU_COLOR"), {u"CPUMEM"}, Triple(u"CPUMEM_COLOR"), {u"IMESTATE"},
                 Triple(u"IMESTATE_COLOR"), Triple(u"KAKOMI_COLOR")});
}

Keys Group4() {
  Keys keys = {u"FORMAT", u"FORMATCPU", u"WarnDiskSize"};
  for (char16_t d = u'A'; d <= u'Z'; ++d) {
    keys.push_back(std::u16string(u"WATCHDRIVEFREE_SIZE_") + d);
    keys.push_back(std::u16string(u"WATCHDRIVEFREE_UNIT_") + d);
  }
  keys.push_back(u"WATCHDRIVEFREEWAV");
  return keys;
}

Keys GroupKeys(int group) {
  switch (group) {
    case 1: return Group1();
    case 2: return {u"MEMO", u"MEMO_AS_SCRIPT"};
    case 3: return Group3();
    case 4: return Group4();
    case 5:
      return {u"HOTKEY_SETTING", u"HOTKEY_MEMO", u"HOTKEY_HIDE", u"HOTKEY_HIDE_P1", u"HOTKEY_HIDE_P0",
              u"HOTKEY_CLEARCLIPBOARD", u"HOTKEY_PLAINER", u"HOTKEY_CHECK_ALARM_NOKORI",
              u"HOTKEY_SUSPEND_WARNDISKSIZE", u"TITLESUBSTR", u"IBEAMHIDE"};
    case 6: return {u"HIDESTOP", u"FADEOUTMSEC", u"HIDEMOVE", u"FADEINMSEC", u"HideOut", u"INSTANTLY"};
    default: return {};
  }
}

class SaveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetSettingsHooks({});
    CollectedSaveErrorNotices().clear();
  }
  void TearDown() override { SetSettingsHooks({}); }
};

TEST_F(SaveTest, EachGroupWritesItsKeysInOrder) {
  const Settings s = DefaultSettings(Language::English);
  Keys all;
  for (int group = 1; group <= 6; ++group) {
    MemoryStore store(Kind::Ini, Language::English);
    EXPECT_TRUE(SaveSettings(s, store, group));
    EXPECT_EQ(store.write_log(), GroupKeys(group)) << "group " << group;
    const Keys keys = GroupKeys(group);
    all.insert(all.end(), keys.begin(), keys.end());
  }
  MemoryStore store(Kind::Registry, Language::English);
  EXPECT_TRUE(SaveSettings(s, store, 0));
  EXPECT_EQ(store.write_log(), all);
  for (const char16_t* never : {u"FADEOUTSEC", u"HIDEICON", u"CUSTCOLORS"}) {
    EXPECT_EQ(store.FindRegistryValue(never), nullptr);
  }
  EXPECT_TRUE(CollectedSaveErrorNotices().empty());
}

TEST_F(SaveTest, UnknownGroupWritesNothingAndFails) {
  MemoryStore store(Kind::Ini, Language::English);
  const Settings s = DefaultSettings(Language::English);
  EXPECT_FALSE(SaveSettings(s, store, 7));
  EXPECT_FALSE(SaveSettings(s, store, -1));
  EXPECT_TRUE(store.write_log().empty());
}

TEST_F(SaveTest, StoredFormsOfRuntimeValues) {
  Settings s = DefaultSettings(Language::English);
  s.ALARM = 3;
  s.CLIPBOARD = 5;  // a flag set through the record directly
  s.TEXTCOLOR = MakeColor(1, 2, 3);
  s.FONTNAME.assign(u"Two\r\nLines");
  MemoryStore ini(Kind::Ini, Language::English);
  MemoryStore reg(Kind::Registry, Language::English);
  ASSERT_TRUE(SaveSettings(s, ini, 1));
  ASSERT_TRUE(SaveSettings(s, reg, 1));
  EXPECT_EQ(ini.IniText(u"ALARM"), u"0");
  EXPECT_EQ(ini.IniText(u"CLIPBOARD"), u"1");
  EXPECT_EQ(ini.IniText(u"TEXTCOLOR_G"), u"2");
  EXPECT_EQ(ini.IniText(u"FONTNAME"), u"Two\x0001\x0001Lines");
  EXPECT_EQ(reg.ReadInteger(u"ALARM", 9), 0);
  std::u16string font;
  ASSERT_TRUE(reg.ReadString(u"FONTNAME", 64, font));
  EXPECT_EQ(font, u"Two\r\nLines") << "the registry keeps line breaks as they are";
}

TEST_F(SaveTest, SaveThenLoadRestoresEveryKey) {
  for (const Kind kind : {Kind::Ini, Kind::Registry}) {
    Settings out = DefaultSettings(Language::Japanese);
    out.DEF_MAX_WND_WIDTH = 640;
    out.LEFT = -12;
    out.HIDESTOP = 0;
    out.FADEOUTMSEC = 2500;
    out.WBKCOLOR = MakeColor(9, 8, 7);
    out.FONTNAME.assign(u"VL Gothic");
    out.FORMAT.assign(u"H:mm");
    out.ALARM = 2;
    out.JIHOU_WAVS[23].assign(u"C:\\w\\23.wav");
    out.MEMO = u"line1\r\nline2\nline3";
    out.HOTKEY_HIDE = 0x0641;
    out.TITLESUBSTR.assign(u" - Editor, ");
    out.WATCHDRIVEFREE_SIZE[25] = 100;
    out.WATCHDRIVEFREE_UNIT[25] = 0;
    out.WATCHDRIVEFREEWAV.assign(u"'x.wav'");
    out.SHOW_CLOCK = 0;
    MemoryStore store(kind, Language::Japanese);
    ASSERT_TRUE(SaveSettings(out, store, 0));
    Settings in = DefaultSettings(Language::English);
    LoadSettings(in, store, Language::English);
    EXPECT_EQ(in.DEF_MAX_WND_WIDTH, 640);
    EXPECT_EQ(in.LEFT, -12);
    EXPECT_EQ(in.HIDESTOP, 0);
    EXPECT_EQ(in.FADEOUTMSEC, 2500);
    EXPECT_EQ(in.WBKCOLOR, MakeColor(9, 8, 7));
    EXPECT_EQ(in.FONTNAME, u"VL Gothic");
    EXPECT_EQ(in.FORMAT, u"H:mm");
    EXPECT_EQ(in.FORMATCPU, out.FORMATCPU) << "the saved Japanese pattern, not the English default";
    EXPECT_EQ(in.ALARM, 2);
    EXPECT_EQ(in.JIHOU_WAVS[23], u"C:\\w\\23.wav");
    EXPECT_EQ(in.MEMO, u"line1\r\nline2\nline3");
    EXPECT_EQ(in.HOTKEY_HIDE, 0x0641u);
    EXPECT_EQ(in.TITLESUBSTR, u" - Editor, ") << "blanks at the edges survive the INI reader";
    EXPECT_EQ(in.WATCHDRIVEFREE_SIZE[25], 100);
    EXPECT_EQ(in.WATCHDRIVEFREE_UNIT[25], 0);
    EXPECT_EQ(in.WATCHDRIVEFREEWAV, u"'x.wav'");
    EXPECT_EQ(in.SHOW_CLOCK, 0);
  }
}

TEST_F(SaveTest, FailedWritesAreCollectedJoinedAndReported) {
  struct Case {
    Kind kind;
    Language language;
    bool all;
    std::u16string first_line;
  };
  const Case cases[] = {
      {Kind::Ini, Language::Japanese, false, u".\\kirabi.iniの[qz]セクションのMEMOに値を書き込めません。"},
      {Kind::Ini, Language::English, false, u".\\kirabi.ini[qz] - MEMO write error."},
      {Kind::Registry, Language::Japanese, false,
       u"HKEY_CURRENT_USER\\Software\\Velmoro\\kirabi\\CurrentVersion - MEMOへデータを書き込めません。"},
      {Kind::Registry, Language::English, false,
       u"Cannot write data - HKEY_CURRENT_USER\\Software\\Velmoro\\kirabi\\CurrentVersion - MEMO"},
      {Kind::Registry, Language::Japanese, true,
       u"HKEY_CURRENT_USER\\Software\\Velmoro\\kirabi\\CurrentVersionを開けません。"},
      {Kind::Registry, Language::English, true,
       u"Cannot open - HKEY_CURRENT_USER\\Software\\Velmoro\\kirabi\\CurrentVersion"},
  };
  for (const Case& c : cases) {
    CollectedSaveErrorNotices().clear();
    MemoryStore store(c.kind, c.language);
    if (c.all) {
      store.FailAllWrites(true);
    } else {
      store.FailWritesOf(u"MEMO");
      store.FailWritesOf(u"MEMO_AS_SCRIPT");
    }
    Settings s = DefaultSettings(c.language);
    s.MEMO = u"important\r\ntext";
    EXPECT_FALSE(SaveSettings(s, store, 2));
    ASSERT_EQ(CollectedSaveErrorNotices().size(), 1u);
    const std::u16string& text = CollectedSaveErrorNotices()[0];
    const std::u16string second_line = c.all ? c.first_line : [&] {
      std::u16string l = c.first_line;
      l.replace(l.find(u"MEMO"), 4, u"MEMO_AS_SCRIPT");
      return l;
    }();
    EXPECT_EQ(text, c.first_line + u"\r\n-----\r\n" + second_line);
    EXPECT_EQ(s.MEMO, u"important\r\ntext");
  }
}

TEST_F(SaveTest, OneErrorLinePerKeyAcrossAllGroups) {
  MemoryStore store(Kind::Ini, Language::English);
  store.FailAllWrites(true);
  const Settings s = DefaultSettings(Language::English);
  EXPECT_FALSE(SaveSettings(s, store, 0));
  ASSERT_EQ(CollectedSaveErrorNotices().size(), 1u);
  const std::u16string& text = CollectedSaveErrorNotices()[0];
  std::size_t separators = 0;
  for (std::size_t at = text.find(u"\r\n-----\r\n"); at != std::u16string::npos;
       at = text.find(u"\r\n-----\r\n", at + 1)) {
    ++separators;
  }
  EXPECT_EQ(separators + 1, store.write_log().size());
  EXPECT_EQ(store.size(), 0u);
}

TEST_F(SaveTest, HooksReceiveBalloonAndHotkeyRegistration) {
  static std::vector<std::u16string> balloons;
  static int hotkey_registrations = 0;
  static int locks = 0, unlocks = 0;
  balloons.clear();
  SettingsHooks hooks;
  hooks.notify_save_error = [](std::u16string_view t) { balloons.emplace_back(t); };
  hooks.hotkeys_saved = [] { ++hotkey_registrations; };
  hooks.lock_memo = [] { ++locks; };
  hooks.unlock_memo = [] { ++unlocks; };
  SetSettingsHooks(hooks);

  MemoryStore store(Kind::Registry, Language::English);
  store.FailAllWrites(true);
  const Settings s = DefaultSettings(Language::English);
  const struct {
    int group;
    int registrations;
  } cases[] = {{1, 0}, {5, 1}, {0, 2}, {6, 2}, {2, 2}};
  for (const auto& c : cases) {
    EXPECT_FALSE(SaveSettings(s, store, c.group));
    EXPECT_EQ(hotkey_registrations, c.registrations) << "after group " << c.group;
  }
  EXPECT_EQ(balloons.size(), 5u);
  EXPECT_TRUE(CollectedSaveErrorNotices().empty());
  EXPECT_EQ(locks, 2) << "groups 0 and 2 copy the memo";
  EXPECT_EQ(locks, unlocks);
}

TEST_F(SaveTest, CopyCarriesEverySettingAndTheColourTable) {
  MemoryStore ini(Kind::Ini, Language::English);
  Settings source = DefaultSettings(Language::English);
  source.MEMO = u"m\r\nn";
  source.FONTSIZE = 22;
  source.HOTKEY_PLAINER = 0x0350;
  ASSERT_TRUE(SaveSettings(source, ini, 0));
  CustomColors colors{};
  colors[15] = 0x00ABCDEF;
  ASSERT_TRUE(ini.WriteColorTable(colors));

  MemoryStore reg(Kind::Registry, Language::English);
  Settings copied = DefaultSettings(Language::English);
  EXPECT_TRUE(CopySettings(copied, ini, reg, Language::English));
  EXPECT_EQ(copied.CUSTCOLORS, colors);

  MemoryStore back(Kind::Ini, Language::English);
  Settings again = DefaultSettings(Language::English);
  EXPECT_TRUE(CopySettings(again, reg, back, Language::English));
  for (const std::u16string& key : ini.write_log()) EXPECT_EQ(back.IniText(key), ini.IniText(key));
  CustomColors read_back{};
  ASSERT_TRUE(back.ReadColorTable(read_back));
  EXPECT_EQ(read_back, colors);

  // A failed save is the copy's result; the colour table does not count.
  MemoryStore broken(Kind::Registry, Language::English);
  broken.FailAllWrites(true);
  Settings failed = DefaultSettings(Language::English);
  EXPECT_FALSE(CopySettings(failed, ini, broken, Language::English));
  EXPECT_EQ(failed.MEMO, u"m\r\nn") << "what was loaded stays in memory";
  MemoryStore colour_fails(Kind::Registry, Language::English);
  colour_fails.FailWritesOf(u"CUSTCOLORS");
  EXPECT_TRUE(CopySettings(failed, ini, colour_fails, Language::English));
}

}  // namespace

namespace {

// Holds each group back like the INI store does, logging the brackets.
class GroupingStore : public MemoryStore {
 public:
  GroupingStore() : MemoryStore(Kind::Ini, Language::English) {}
  void BeginWrites() override {
    events.push_back(u"<begin>");
    held = write_log().size();
  }
  bool CommitWrites(std::u16string& errors) override {
    events.push_back(u"<commit>");
    if (!fail_commit) return true;
    for (std::size_t i = held; i < write_log().size(); ++i) {
      AppendErrorLine(errors, IniWriteErrorLine(u".\\kirabi.ini", write_log()[i], Language::English));
    }
    return false;
  }
  bool WriteInteger(std::u16string_view key, int32_t value, std::u16string& errors) override {
    events.emplace_back(key);
    return MemoryStore::WriteInteger(key, value, errors);
  }
  bool WriteString(std::u16string_view key, std::u16string_view text, std::u16string& errors) override {
    events.emplace_back(key);
    return MemoryStore::WriteString(key, text, errors);
  }

  Keys events;
  std::size_t held = 0;
  bool fail_commit = false;
};

TEST_F(SaveTest, EachSaveIsOneCommittedSetOfWrites) {
  for (int group = 1; group <= 6; ++group) {
    GroupingStore store;
    EXPECT_TRUE(SaveSettings(DefaultSettings(Language::English), store, group));
    Keys expected = GroupKeys(group);
    expected.insert(expected.begin(), u"<begin>");
    expected.push_back(u"<commit>");
    EXPECT_EQ(store.events, expected) << "group " << group;
  }
  // All groups (the save at exit) go to the store in one step.
  GroupingStore store;
  EXPECT_TRUE(SaveSettings(DefaultSettings(Language::English), store, 0));
  Keys expected = {u"<begin>"};
  for (int group = 1; group <= 6; ++group) {
    const Keys keys = GroupKeys(group);
    expected.insert(expected.end(), keys.begin(), keys.end());
  }
  expected.push_back(u"<commit>");
  EXPECT_EQ(store.events, expected);
}

TEST_F(SaveTest, FailedCommitNamesEveryKeyOfTheGroup) {
  GroupingStore store;
  store.fail_commit = true;
  EXPECT_FALSE(SaveSettings(DefaultSettings(Language::English), store, 6));
  ASSERT_EQ(CollectedSaveErrorNotices().size(), 1u);
  std::u16string expected;
  for (const std::u16string& key : GroupKeys(6)) {
    AppendErrorLine(expected, IniWriteErrorLine(u".\\kirabi.ini", key, Language::English));
  }
  EXPECT_EQ(CollectedSaveErrorNotices()[0], expected);
}

}  // namespace
