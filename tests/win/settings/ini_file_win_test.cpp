// The INI file kept whole: converted once to UTF-16LE, each save group one
// rewrite, and a rewrite that fails half-way leaves the old file.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "settings/ini_file.h"
#include "settings/ini_store_win.h"
#include "settings/memory_store.h"
#include "settings/settings_store_win.h"
#include "settings_test_support_win.h"

namespace {

class IniFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetSettingsHooks({});
    CollectedSaveErrorNotices().clear();
  }
  void TearDown() override { SetIniReplaceCheckForTest(nullptr); }

  static std::u16string Text(const std::u16string& path) {
    const std::string bytes = ReadFileBytes(path);
    EXPECT_EQ(DetectIniEncoding(bytes), IniEncoding::Utf16Le);
    return DecodeIniText(bytes, IniEncoding::Utf16Le, nullptr);
  }
  static bool Exists(const std::u16string& path) {
    return GetFileAttributesW(TempPlace::W(path).c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  static std::u16string Ansi(const std::string& bytes) {
    wchar_t wide[256];
    const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), int(bytes.size()), wide, 256);
    return std::u16string(wide, wide + n);
  }

  TempPlace place_;
};

TEST_F(IniFileTest, ExistingFileIsConvertedOnceKeepingEveryLine) {
  const std::string utf8_text = "; note\r\n[qz]\r\nFORMAT=\xE6\x99\x82\xE5\x88\xBB\r\nOTHER=1\r\n";
  const std::string latin = "[qz]\r\nFONTNAME=caf\xE9\r\n";
  const struct {
    const wchar_t* name;
    std::string bytes;
    std::u16string text;
    bool copy;
  } cases[] = {
      {L"empty.ini", "", u"\r\n", false},
      {L"utf8.ini", utf8_text, u"; note\r\n[qz]\r\nFORMAT=\u6642\u523B\r\nOTHER=1\r\n", true},
      {L"utf8mark.ini", "\xEF\xBB\xBF" + utf8_text, u"; note\r\n[qz]\r\nFORMAT=\u6642\u523B\r\nOTHER=1\r\n", true},
      {L"ansi.ini", latin, Ansi(latin), true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::string(c.name, c.name + wcslen(c.name)));
    const std::u16string path = place_.Ini(c.name);
    ASSERT_TRUE(WriteFileBytes(path, c.bytes));
    ASSERT_TRUE(EnsureIniFile(path));
    EXPECT_EQ(Text(path), c.text);
    EXPECT_EQ(Exists(path + u".bak"), c.copy);
    if (c.copy) {
      EXPECT_EQ(ReadFileBytes(path + u".bak"), c.bytes);
    }
    EXPECT_FALSE(Exists(path + u".tmp"));
  }
  // A later non-UTF-16 file is converted again but the first copy stays.
  const std::u16string path = place_.Ini(L"utf8.ini");
  ASSERT_TRUE(WriteFileBytes(path, "[qz]\r\nLEFT=1\r\n"));
  ASSERT_TRUE(EnsureIniFile(path));
  EXPECT_EQ(Text(path), u"[qz]\r\nLEFT=1\r\n");
  EXPECT_EQ(ReadFileBytes(path + u".bak"), utf8_text);
}

TEST_F(IniFileTest, JapaneseTextSurvivesASaveIntoAFormerUtf8File) {
  for (bool ensured : {true, false}) {
    SCOPED_TRACE(ensured ? "converted at start-up" : "converted by the save itself");
    const std::u16string path = place_.Ini(ensured ? L"a.ini" : L"b.ini");
    ASSERT_TRUE(WriteFileBytes(path, "[qz]\r\nMINE=\xE3\x81\x82\r\n"));
    if (ensured) {
      ASSERT_TRUE(EnsureIniFile(path));
    }
    IniSettingsStore ini(Language::Japanese, path);
    Settings s = DefaultSettings(Language::Japanese);
    ASSERT_TRUE(SaveSettings(s, ini, 4));
    Settings back = DefaultSettings(Language::English);
    LoadSettings(back, ini, Language::Japanese);
    EXPECT_EQ(back.FORMATCPU, s.FORMATCPU);
    EXPECT_EQ(back.FORMAT, s.FORMAT);
    EXPECT_NE(Text(path).find(u"MINE=\u3042\r\n"), std::u16string::npos);
  }
}

TEST_F(IniFileTest, SaveKeepsUnknownKeysAndOtherSectionsOfAHugeFile) {
  std::u16string filler;
  for (int i = 0; i < 40000; ++i) {
    filler += u'K';
    filler += char16_t(u'a' + i % 26);
    filler += u"=xxxxxxxxxxxxxxxxxxxxxxxxxxxxxx\r\n";
  }
  const std::u16string before = u"[shared]\r\n" + filler + u"[qz]\r\nUNKNOWN=keep\r\nLEFT=5\r\n\r\n[tail]\r\n" + filler;
  const std::u16string path = place_.Ini();
  ASSERT_TRUE(WriteUtf16Ini(path, before));
  IniSettingsStore ini(Language::English, path);
  Settings s = DefaultSettings(Language::English);
  s.LEFT = 77;
  s.MEMO = u"two\r\nlines";
  const DWORD start = GetTickCount();
  ASSERT_TRUE(SaveSettings(s, ini, 0));
  std::printf("[ figures ] every group into a %zu-byte file: %lu ms\n", before.size() * 2,
              static_cast<unsigned long>(GetTickCount() - start));
  const std::u16string after = Text(path);
  EXPECT_EQ(after.substr(0, 10 + filler.size()), u"[shared]\r\n" + filler);
  EXPECT_NE(after.find(u"[qz]\r\nUNKNOWN=keep\r\nLEFT=77\r\n"), std::u16string::npos);
  EXPECT_EQ(after.substr(after.size() - filler.size() - 8), u"[tail]\r\n" + filler);
  Settings back = DefaultSettings(Language::English);
  LoadSettings(back, ini, Language::English);
  EXPECT_EQ(back.LEFT, 77);
  EXPECT_EQ(back.MEMO, u"two\r\nlines");
}

TEST_F(IniFileTest, FailureBeforeTheReplaceLeavesTheOldFileWhole) {
  const std::u16string path = place_.Ini();
  ASSERT_TRUE(WriteUtf16Ini(path, u"[qz]\r\nLEFT=5\r\nUNKNOWN=1\r\n"));
  const std::string old_bytes = ReadFileBytes(path);
  IniSettingsStore ini(Language::English, path);
  Settings s = DefaultSettings(Language::English);
  s.LEFT = 99;

  // Each group fails at the last moment: the temporary file is complete.
  static int checks = 0;
  checks = 0;
  SetIniReplaceCheckForTest([] {
    ++checks;
    return false;
  });
  EXPECT_FALSE(SaveSettings(s, ini, 0));
  EXPECT_EQ(checks, 1);  // all groups in one step
  EXPECT_FALSE(SaveSettings(s, ini, 4));
  EXPECT_EQ(checks, 2);
  CollectedSaveErrorNotices().pop_back();
  EXPECT_EQ(ReadFileBytes(path), old_bytes);
  EXPECT_FALSE(Exists(path + u".tmp"));
  // The failed groups name all their keys, as the per-key writes did.
  ASSERT_EQ(CollectedSaveErrorNotices().size(), 1u);
  MemoryStore counter(MemoryStore::Kind::Ini, Language::English);
  SaveSettings(s, counter, 0);
  std::u16string expected;
  for (const std::u16string& key : counter.write_log()) {
    AppendErrorLine(expected, IniWriteErrorLine(path, key, Language::English));
  }
  EXPECT_EQ(CollectedSaveErrorNotices()[0], expected);

  SetIniReplaceCheckForTest(nullptr);
  EXPECT_TRUE(SaveSettings(s, ini, 1));
  EXPECT_EQ(ini.ReadInteger(u"LEFT", 0), 99);
  EXPECT_NE(Text(path).find(u"UNKNOWN=1\r\n"), std::u16string::npos);
}

TEST_F(IniFileTest, WritesOutsideAGroupAndTheColourTableAreStoredAtOnce) {
  const std::u16string path = place_.Ini();
  ASSERT_TRUE(EnsureIniFile(path));
  IniSettingsStore ini(Language::English, path);
  std::u16string errors;
  EXPECT_TRUE(ini.WriteString(u"cbq_alarm0", u"12:00", errors));
  ini.BeginWrites();
  EXPECT_TRUE(ini.WriteInteger(u"LEFT", 3, errors));
  EXPECT_EQ(ini.ReadInteger(u"LEFT", -1), -1);  // held until the commit
  EXPECT_TRUE(ini.CommitWrites(errors));
  EXPECT_EQ(ini.ReadInteger(u"LEFT", -1), 3);
  CustomColors colors{};
  colors[0] = 0x00123456;
  EXPECT_TRUE(ini.WriteColorTable(colors));
  CustomColors back{};
  ASSERT_TRUE(ini.ReadColorTable(back));
  EXPECT_EQ(back[0], 0x00123456u);
  std::u16string text;
  ASSERT_TRUE(ini.ReadString(u"cbq_alarm0", 64, text));
  EXPECT_EQ(text, u"12:00");
  EXPECT_TRUE(errors.empty());
}

}  // namespace
