#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <random>
#include <string>

#include "settings/ini_format.h"
#include "settings/ini_store_win.h"
#include "settings/memory_store.h"
#include "settings/interface_language_win.h"
#include "settings/registry_store_win.h"
#include "settings/settings_store_win.h"
#include "settings_test_support_win.h"

namespace {

class StoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetMessageBoxCollector(CollectMessage);
    ShownMessages().clear();
    SetSettingsHooks({});
    CollectedSaveErrorNotices().clear();
  }
  void TearDown() override { SetMessageBoxCollector(nullptr); }

  void SetRegistryRaw(const wchar_t* name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, TempPlace::W(place_.Subkey()).c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    RegCloseKey(key);
  }
  void SetRegistryText(const wchar_t* name, const std::wstring& text) {
    SetRegistryRaw(name, REG_SZ, text.c_str(), DWORD((text.size() + 1) * 2));
  }
  void SetRegistryDword(const wchar_t* name, DWORD v) { SetRegistryRaw(name, REG_DWORD, &v, 4); }

  // Every key=value of the [qz] section.
  std::map<std::u16string, std::u16string> IniSection(const std::u16string& path) {
    std::vector<wchar_t> buffer(1 << 20);
    const DWORD n = GetPrivateProfileSectionW(L"qz", buffer.data(), DWORD(buffer.size()), TempPlace::W(path).c_str());
    std::map<std::u16string, std::u16string> lines;
    for (DWORD i = 0; i < n;) {
      const std::wstring line(&buffer[i]);
      const std::size_t eq = line.find(L'=');
      lines[TempPlace::U16(line.substr(0, eq))] = TempPlace::U16(eq == std::wstring::npos ? L"" : line.substr(eq + 1));
      i += DWORD(line.size() + 1);
    }
    return lines;
  }

  TempPlace place_;
};

TEST_F(StoreTest, EmptyStoresYieldTheDefaultsInBothLanguages) {
  for (const Language language : {Language::Japanese, Language::English}) {
    const std::u16string ini_path = place_.Ini(language == Language::Japanese ? L"ja.ini" : L"en.ini");
    ASSERT_TRUE(EnsureIniFile(ini_path));
    EXPECT_EQ(ReadFileBytes(ini_path), std::string("\xFF\xFE\x0D\x00\x0A\x00", 6));
    IniSettingsStore ini(language, ini_path);
    RegistrySettingsStore registry(language, place_.Subkey());
    for (SettingsStore* store : {static_cast<SettingsStore*>(&ini), static_cast<SettingsStore*>(&registry)}) {
      Settings loaded = DefaultSettings(language);
      LoadSettings(loaded, *store, language);
      Settings expected = DefaultSettings(language);
      expected.HIDESTOP = 1;  // the fade-key rule turns fading on for an empty store
      MemoryStore a(MemoryStore::Kind::Registry, language), b(MemoryStore::Kind::Registry, language);
      ASSERT_TRUE(SaveSettings(loaded, a, 0));
      ASSERT_TRUE(SaveSettings(expected, b, 0));
      for (const std::u16string& key : a.write_log()) {
        const auto* x = a.FindRegistryValue(key);
        const auto* y = b.FindRegistryValue(key);
        ASSERT_TRUE(x && y);
        EXPECT_EQ(x->bytes, y->bytes) << TempPlace::W(key).c_str();
      }
      EXPECT_EQ(loaded.FORMAT, DefaultFormat(language));
      EXPECT_EQ(loaded.FORMATCPU, DefaultFormatCpu(language));
      EXPECT_EQ(loaded.FONTNAME, DefaultFontName(language));
    }
    EXPECT_EQ(ReadFileBytes(ini_path).size(), 6u) << "loading never writes";
  }
  HKEY key = nullptr;
  EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, TempPlace::W(place_.Subkey()).c_str(), 0, KEY_READ, &key),
            ERROR_SUCCESS)
      << "reading does not create the key";
  EXPECT_TRUE(ShownMessages().empty());
}

TEST_F(StoreTest, EnsureIniFileLeavesAnExistingFileAlone) {
  const std::u16string path = place_.Ini();
  ASSERT_TRUE(WriteFileBytes(path, "[qz]\r\nLEFT=5\r\n"));
  ASSERT_TRUE(EnsureIniFile(path));
  EXPECT_EQ(ReadFileBytes(path), "[qz]\r\nLEFT=5\r\n");
  EXPECT_FALSE(EnsureIniFile(place_.Ini(L"missing\\kirabi.ini")));
}

TEST_F(StoreTest, LoadRuleEdgeCasesInBothStores) {
  const std::u16string path = place_.Ini();
  ASSERT_TRUE(WriteUtf16Ini(path,
                            u"[qz]\r\nFONTSIZE=1639\r\nDEF_MAX_WND_WIDTH=0\r\nALARM=3\r\nTEXTCOLOR_R=256\r\n"
                            u"TEXTCOLOR_G=-1\r\nWATCHDRIVEFREE_UNIT_C=262\r\nWATCHDRIVEFREE_UNIT_D=7\r\n"
                            u"GAP_BETWEEN_ITEMS=-5\r\nHOTKEY_HIDE=577\r\nHOTKEY_MEMO=372\r\nFADEOUTSEC=3\r\n"));
  SetRegistryDword(L"FONTSIZE", 1639);
  SetRegistryDword(L"DEF_MAX_WND_WIDTH", 0);
  SetRegistryDword(L"ALARM", 3);
  SetRegistryDword(L"TEXTCOLOR_R", 256);
  SetRegistryDword(L"TEXTCOLOR_G", DWORD(-1));
  SetRegistryDword(L"WATCHDRIVEFREE_UNIT_C", 262);
  SetRegistryDword(L"WATCHDRIVEFREE_UNIT_D", 7);
  SetRegistryDword(L"GAP_BETWEEN_ITEMS", DWORD(-5));
  SetRegistryDword(L"HOTKEY_HIDE", 0x0241);
  SetRegistryDword(L"HOTKEY_MEMO", 0x0174);
  SetRegistryDword(L"FADEOUTSEC", 3);
  IniSettingsStore ini(Language::English, path);
  RegistrySettingsStore registry(Language::English, place_.Subkey());
  for (SettingsStore* store : {static_cast<SettingsStore*>(&ini), static_cast<SettingsStore*>(&registry)}) {
    Settings s = DefaultSettings(Language::English);
    LoadSettings(s, *store, Language::English);
    EXPECT_EQ(s.FONTSIZE, 10);
    EXPECT_EQ(s.DEF_MAX_WND_WIDTH, 16);
    EXPECT_EQ(s.ALARM, 0);
    EXPECT_EQ(s.TEXTCOLOR, MakeColor(0, 255, 0));
    EXPECT_EQ(s.WATCHDRIVEFREE_UNIT[2], 6);
    EXPECT_EQ(s.WATCHDRIVEFREE_UNIT[3], 2);
    EXPECT_EQ(s.GAP_BETWEEN_ITEMS, 0);
    EXPECT_EQ(s.HOTKEY_HIDE, 0x0641u);
    EXPECT_EQ(s.HOTKEY_MEMO, 0x0174u);
    EXPECT_EQ(s.HIDESTOP, 1);
    EXPECT_EQ(s.FADEOUTMSEC, 3000);
  }
}

TEST_F(StoreTest, RegistryTextNumbers) {
  RegistrySettingsStore registry(Language::English, place_.Subkey());
  const struct {
    const wchar_t* text;
    int32_t expected;
  } cases[] = {{L"-12", -12}, {L"12a", 33}, {L"", 33}, {L"+", 0}, {L"4096", 4096}};
  for (const auto& c : cases) {
    SetRegistryText(L"LEFT", c.text);
    EXPECT_EQ(registry.ReadInteger(u"LEFT", 33), c.expected) << c.text;
  }
  // The same texts in the INI file follow the profile reader instead.
  const std::u16string path = place_.Ini();
  ASSERT_TRUE(WriteUtf16Ini(path, u"[qz]\r\nA=-12\r\nB=12a\r\nC=\r\nD=+\r\n"));
  IniSettingsStore ini(Language::English, path);
  EXPECT_EQ(ini.ReadInteger(u"A", 33), -12);
  EXPECT_EQ(ini.ReadInteger(u"B", 33), 12);
  EXPECT_EQ(ini.ReadInteger(u"C", 33), 33);
  EXPECT_EQ(ini.ReadInteger(u"D", 33), 0);
  EXPECT_EQ(ini.ReadInteger(u"MISSING", 33), 33);
}

TEST_F(StoreTest, ProfileIntegerModelMatchesThePlatform) {
  const std::u16string texts[] = {u"-12", u"12a", u" 7", u"+3", u"0x10", u"abc", u"-", u"4294967295", u"0b101", u"0o17"};
  std::u16string file = u"[qz]\r\n";
  for (std::size_t i = 0; i < std::size(texts); ++i) file += u"K" + std::u16string(1, char16_t(u'A' + i)) + u"=" + texts[i] + u"\r\n";
  const std::u16string path = place_.Ini();
  ASSERT_TRUE(WriteUtf16Ini(path, file));
  IniSettingsStore ini(Language::English, path);
  for (std::size_t i = 0; i < std::size(texts); ++i) {
    const std::u16string key = u"K" + std::u16string(1, char16_t(u'A' + i));
    EXPECT_EQ(ini.ReadInteger(key, 33), ParseProfileInt(texts[i], 33)) << TempPlace::W(texts[i]).c_str();
  }
}

TEST_F(StoreTest, MemoLineBreaksInTheIniFile) {
  const std::u16string path = place_.Ini();
  ASSERT_TRUE(EnsureIniFile(path));
  IniSettingsStore ini(Language::English, path);
  Settings s = DefaultSettings(Language::English);
  s.MEMO = u"a\r\nb\nc";
  ASSERT_TRUE(SaveSettings(s, ini, 2));
  const std::string raw = ReadFileBytes(path);
  const std::string encoded("M\0E\0M\0O\0=\0a\0\x01\0\x01\0b\0\x01\0c\0", 22);
  EXPECT_NE(raw.find(encoded), std::string::npos) << "stored as a, 1, 1, b, 1, c in a UTF-16 file";
  Settings back = DefaultSettings(Language::English);
  LoadSettings(back, ini, Language::English);
  EXPECT_EQ(back.MEMO, u"a\r\nb\nc");

  s.MEMO = u"x\ry";
  ASSERT_TRUE(SaveSettings(s, ini, 2));
  LoadSettings(back, ini, Language::English);
  EXPECT_EQ(back.MEMO, u"x\ny") << "a lone carriage return reads back as a line feed";

  RegistrySettingsStore registry(Language::English, place_.Subkey());
  s.MEMO = u"x\ry\r\n";
  ASSERT_TRUE(SaveSettings(s, registry, 2));
  LoadSettings(back, registry, Language::English);
  EXPECT_EQ(back.MEMO, u"x\ry\r\n") << "the registry keeps line breaks as they are";
}

TEST_F(StoreTest, InMemoryIniStoreReadsLikeTheProfileFunctions) {
  const std::u16string texts[] = {
      u"plain", u" lead", u"trail ", u"\ttab", u"\"quoted\"", u"'single'", u"\"half", u"a\r\nb",
      u"\r\nstarts", u"ends\n", u"lone\rcr", u"\n\r", u"  \"  ", u"x\x1a", u"=eq=", u"[qz]", u";semi",
      u"\x3000wide\x3000", std::u16string(600, u'n'),
  };
  const std::u16string path = place_.Ini();
  ASSERT_TRUE(EnsureIniFile(path));
  IniSettingsStore real(Language::English, path);
  MemoryStore model(MemoryStore::Kind::Ini, Language::English);
  for (std::size_t i = 0; i < std::size(texts); ++i) {
    const std::u16string key = u"T" + std::u16string(1, char16_t(u'A' + i));
    std::u16string errors;
    ASSERT_TRUE(real.WriteString(key, texts[i], errors));
    ASSERT_TRUE(model.WriteString(key, texts[i], errors));
    std::u16string from_real = u"-", from_model = u"-";
    const bool real_ok = real.ReadString(key, 520, from_real);
    const bool model_ok = model.ReadString(key, 520, from_model);
    EXPECT_EQ(real_ok, model_ok) << i;
    EXPECT_EQ(from_real, from_model) << i;
    const bool line_breaks_change = texts[i].find(u'\r') != std::u16string::npos &&
                                    texts[i].find(u"\r\n") == std::u16string::npos;
    if (texts[i].size() < 520 && !line_breaks_change) {
      EXPECT_EQ(from_real, texts[i]) << i;
    }
  }
}

TEST_F(StoreTest, IniColourTableUsesTheProfileStructForm) {
  const std::u16string path = place_.Ini();
  ASSERT_TRUE(EnsureIniFile(path));
  IniSettingsStore ini(Language::English, path);
  Settings s = DefaultSettings(Language::English);
  s.CUSTCOLORS[15] = 0x00ABCDEF;
  ASSERT_TRUE(SaveCustomColors(s, ini));
  wchar_t raw[256] = {};
  GetPrivateProfileStringW(L"qz", L"CUSTCOLORS", L"", raw, 256, TempPlace::W(path).c_str());
  MemoryStore model(MemoryStore::Kind::Ini, Language::English);
  ASSERT_TRUE(model.WriteColorTable(s.CUSTCOLORS));
  EXPECT_EQ(std::u16string(U16View(raw)), model.IniText(u"CUSTCOLORS").value());
  Settings back = DefaultSettings(Language::English);
  LoadCustomColors(back, ini);
  EXPECT_EQ(back.CUSTCOLORS, s.CUSTCOLORS);

  // A damaged checksum or length keeps the slots held.
  for (const wchar_t* damaged : {L"00FF", L"", L"zz"}) {
    ASSERT_TRUE(WritePrivateProfileStringW(L"qz", L"CUSTCOLORS", damaged, TempPlace::W(path).c_str()));
    Settings kept = DefaultSettings(Language::English);
    LoadCustomColors(kept, ini);
    EXPECT_EQ(kept.CUSTCOLORS, DefaultCustomColors()) << damaged;
  }
}

TEST_F(StoreTest, EmptyFontNameDiffersBetweenStores) {
  const std::u16string path = place_.Ini();
  ASSERT_TRUE(WriteUtf16Ini(path, u"[qz]\r\nFONTNAME=\r\nFORMAT=\r\n"));
  IniSettingsStore ini(Language::Japanese, path);
  Settings a = DefaultSettings(Language::Japanese);
  LoadSettings(a, ini, Language::Japanese);
  EXPECT_EQ(a.FONTNAME, u"MS UI Gothic");
  EXPECT_EQ(a.FORMAT, u"M/d [a] H:mm:ss");

  SetRegistryText(L"FONTNAME", L"");
  RegistrySettingsStore registry(Language::Japanese, place_.Subkey());
  Settings b = DefaultSettings(Language::Japanese);
  LoadSettings(b, registry, Language::Japanese);
  EXPECT_EQ(b.FONTNAME, u"");
}

TEST_F(StoreTest, UnwritableIniFileCollectsOneLinePerKeyAndKeepsMemory) {
  // As root under Wine read-only bits do not stop writes; a handle that
  // shares nothing does, and so does a folder that does not exist.
  const std::u16string locked_path = place_.Ini();
  ASSERT_TRUE(EnsureIniFile(locked_path));
  HANDLE lock = CreateFileW(TempPlace::W(locked_path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  for (const std::u16string& path : {locked_path, place_.Ini(L"no_such_folder\\kirabi.ini")}) {
    CollectedSaveErrorNotices().clear();
    IniSettingsStore ini(Language::English, path);
    Settings s = DefaultSettings(Language::English);
    s.MEMO = u"keep me";
    s.LEFT = 123;
    EXPECT_FALSE(SaveSettings(s, ini, 0));
    ASSERT_EQ(CollectedSaveErrorNotices().size(), 1u);
    const std::u16string& text = CollectedSaveErrorNotices()[0];
    MemoryStore counter(MemoryStore::Kind::Ini, Language::English);
    SaveSettings(s, counter, 0);
    std::size_t lines = 1;
    for (std::size_t at = text.find(u"\r\n-----\r\n"); at != std::u16string::npos;
         at = text.find(u"\r\n-----\r\n", at + 1)) {
      ++lines;
    }
    EXPECT_EQ(lines, counter.write_log().size());
    EXPECT_EQ(text.rfind(path + u"[qz] - DEF_MAX_WND_WIDTH write error.", 0), 0u);
    EXPECT_EQ(s.MEMO, u"keep me");
    EXPECT_EQ(s.LEFT, 123);
  }
  CloseHandle(lock);
  EXPECT_EQ(ReadFileBytes(locked_path).size(), 6u);
}

TEST_F(StoreTest, HandDamagedIniFilesLoad) {
  std::mt19937 random(12345);
  std::string noise;
  for (int i = 0; i < 20000; ++i) noise += char(random() & 0xFF);
  std::string ansi = "[qz]\r\nFONTSIZE=12abc\r\nLEFT=-7\r\nFONTNAME=Arial\r\nHOTKEY_HIDE=65\r\n";
  std::u16string huge = u"[qz]\r\nALARM_WAV=" + std::u16string(10000, u'w') + u"\r\nFONTNAME=" +
                        std::u16string(10000, u'f') + u"\r\nMEMO=" + std::u16string(10000, u'\x0001') + u"\r\n";
  const struct {
    const wchar_t* name;
    std::string bytes;
    bool utf16;
    std::u16string text;
  } files[] = {
      {L"noise.ini", noise, false, u""},
      {L"ansi.ini", ansi, false, u""},
      {L"huge.ini", "", true, huge},
      {L"nosection.ini", "", true, u"FONTSIZE=20\r\n[other]\r\nLEFT=9\r\n"},
      {L"utf16_noise.ini", "", true, u"[qz]\r\nFONTSIZE=\xD800\xFFFF\r\n\xDC00=5\r\nTOP=+\r\n"},
  };
  for (const auto& f : files) {
    const std::u16string path = place_.Ini(f.name);
    ASSERT_TRUE(f.utf16 ? WriteUtf16Ini(path, f.text) : WriteFileBytes(path, f.bytes));
    IniSettingsStore ini(Language::English, path);
    Settings s = DefaultSettings(Language::English);
    LoadSettings(s, ini, Language::English);
    EXPECT_GE(s.FONTSIZE, 5) << f.name;
    EXPECT_LE(s.FONTSIZE, 1638) << f.name;
    EXPECT_GE(s.DEF_MAX_WND_WIDTH, 16) << f.name;
    EXPECT_LT(s.FONTNAME.size(), 64u) << f.name;
    if (std::wstring(f.name) == L"ansi.ini") {
      EXPECT_EQ(s.FONTSIZE, 12);
      EXPECT_EQ(s.LEFT, -7);
      EXPECT_EQ(s.FONTNAME, u"Arial");
      EXPECT_EQ(s.HOTKEY_HIDE, 0x0641u);
    }
    if (std::wstring(f.name) == L"huge.ini") {
      EXPECT_EQ(s.ALARM_WAV, std::u16string(519, u'w'));
      EXPECT_EQ(s.FONTNAME, std::u16string(63, u'f'));
      std::u16string pairs;
      for (int i = 0; i < 5000; ++i) pairs += u"\r\n";
      EXPECT_EQ(s.MEMO, pairs);
    }
    if (std::wstring(f.name) == L"nosection.ini") {
      EXPECT_EQ(s.FONTSIZE, 10);
      EXPECT_EQ(s.LEFT, 0);
    }
  }
}

TEST_F(StoreTest, CopyIniToRegistryAndBackCarriesEveryKey) {
  const std::u16string path = place_.Ini();
  SetSettingsLocations(path, place_.Subkey());
  ASSERT_EQ(InitSettingsStoreIn(Language::English, u"C:\\apps\\kirabi.exe", false), StoreMode::Registry);

  ASSERT_TRUE(EnsureIniFile(path));
  IniSettingsStore ini(Language::English, path);
  Settings original = DefaultSettings(Language::English);
  original.MEMO = u"first\r\nsecond";
  original.FONTNAME.assign(u"VL Gothic");
  original.LEFT = -30;
  original.HOTKEY_CLEARCLIPBOARD = 0x0644;
  original.WATCHDRIVEFREE_SIZE[2] = 10;
  original.WATCHDRIVEFREE_UNIT[2] = 3;
  original.CUSTCOLORS[9] = 0x00123456;
  ASSERT_TRUE(SaveSettings(original, ini, 0));
  ASSERT_TRUE(ini.WriteColorTable(original.CUSTCOLORS));
  const auto before = IniSection(path);

  Settings working = DefaultSettings(Language::English);
  EXPECT_TRUE(CopyIniToRegistry(working));
  EXPECT_EQ(CurrentStoreMode(), StoreMode::Registry);
  ASSERT_EQ(ShownMessages().size(), 1u);
  EXPECT_EQ(ShownMessages()[0].text, u"Setting copying from the ini file to the registry has been completed.");
  EXPECT_EQ(ShownMessages()[0].caption, u"Kirabi");
  EXPECT_EQ(ShownMessages()[0].type & MB_ICONMASK, UINT(MB_ICONINFORMATION));

  ASSERT_TRUE(DeleteFileW(TempPlace::W(path).c_str()));
  Settings other = DefaultSettings(Language::English);
  EXPECT_TRUE(CopyRegistryToIni(other));
  EXPECT_EQ(CurrentStoreMode(), StoreMode::Ini);
  ASSERT_EQ(ShownMessages().size(), 2u);
  EXPECT_EQ(ShownMessages()[1].text, u"Setting copying from the registry to the ini file has been completed.");
  EXPECT_EQ(ReadFileBytes(path).substr(0, 2), "\xFF\xFE") << "recreated as UTF-16";

  EXPECT_EQ(IniSection(path), before);
  EXPECT_EQ(other.MEMO, u"first\r\nsecond");
  EXPECT_EQ(other.CUSTCOLORS[9], 0x00123456u);
  SetSettingsLocations(std::u16string(kIniFilePath), std::u16string(kRegistrySubkey));
}

TEST_F(StoreTest, FailedCopyReportsFailure) {
  SetRegistryDword(L"LEFT", 5);
  SetSettingsLocations(place_.Ini(L"no_such_folder\\kirabi.ini"), place_.Subkey());
  InitSettingsStoreIn(Language::Japanese, u"C:\\apps\\kirabi.exe", false);
  Settings s = DefaultSettings(Language::Japanese);
  EXPECT_FALSE(CopyRegistryToIni(s));
  ASSERT_EQ(ShownMessages().size(), 1u);
  EXPECT_EQ(ShownMessages()[0].text, u"レジストリからiniファイルへ設定をコピーできませんでした。");
  EXPECT_EQ(ShownMessages()[0].caption, u"キラビ");
  EXPECT_EQ(ShownMessages()[0].type & MB_ICONMASK, UINT(MB_ICONINFORMATION));
  EXPECT_EQ(CollectedSaveErrorNotices().size(), 1u);
  SetSettingsLocations(std::u16string(kIniFilePath), std::u16string(kRegistrySubkey));
  InitSettingsStoreIn(Language::English, u"C:\\apps\\kirabi.exe", false);
}

// A copy whose source store does not exist would write nothing but defaults
// over the other store; it fails instead and leaves the other store alone.
TEST_F(StoreTest, CopyFromAMissingStoreFailsAndWritesNothing) {
  const std::u16string path = place_.Ini();
  SetSettingsLocations(path, place_.Subkey());
  InitSettingsStoreIn(Language::English, u"C:\\apps\\kirabi.exe", false);

  SetRegistryDword(L"LEFT", 88);
  Settings s = DefaultSettings(Language::English);
  EXPECT_FALSE(CopyIniToRegistry(s));
  EXPECT_EQ(CurrentStoreMode(), StoreMode::Registry);
  RegistrySettingsStore registry(Language::English, place_.Subkey());
  EXPECT_EQ(registry.ReadInteger(u"LEFT", 0), 88);
  EXPECT_EQ(registry.ReadInteger(u"TOP", -1), -1) << "no default was written";
  EXPECT_EQ(GetFileAttributesW(TempPlace::W(path).c_str()), INVALID_FILE_ATTRIBUTES);
  ASSERT_EQ(ShownMessages().size(), 1u);
  EXPECT_EQ(ShownMessages()[0].text, u"Setting copying from the ini file to the registry - failed.");
  EXPECT_EQ(ShownMessages()[0].type & MB_ICONMASK, UINT(MB_ICONERROR));

  ASSERT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, TempPlace::W(place_.Subkey()).c_str()), ERROR_SUCCESS);
  ASSERT_TRUE(WriteFileBytes(path, "[qz]\r\nLEFT=5\r\n"));
  EXPECT_FALSE(CopyRegistryToIni(s));
  EXPECT_EQ(ReadFileBytes(path), "[qz]\r\nLEFT=5\r\n");
  HKEY key = nullptr;
  EXPECT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, TempPlace::W(place_.Subkey()).c_str(), 0, KEY_READ, &key),
            ERROR_SUCCESS);
  ASSERT_EQ(ShownMessages().size(), 2u);
  EXPECT_EQ(ShownMessages()[1].text, u"Setting copying from the registry to the ini file - failed.");
  EXPECT_TRUE(CollectedSaveErrorNotices().empty());
  SetSettingsLocations(std::u16string(kIniFilePath), std::u16string(kRegistrySubkey));
}

TEST_F(StoreTest, StartUpSelectionCreatesTheIniFileOnlyInIniMode) {
  const std::u16string path = place_.Ini();
  SetSettingsLocations(path, place_.Subkey());
  EXPECT_EQ(InitSettingsStoreIn(Language::English, u"C:\\apps\\kirabi.exe", false), StoreMode::Registry);
  EXPECT_EQ(GetFileAttributesW(TempPlace::W(path).c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(InitSettingsStoreIn(Language::English, u"C:\\apps\\KIRABI_O.EXE", false), StoreMode::Ini);
  EXPECT_EQ(ReadFileBytes(path).size(), 6u);
  EXPECT_EQ(&ActiveSettingsStore(), &ActiveSettingsStore());
  Settings s = DefaultSettings(Language::English);
  s.TOP = 44;
  EXPECT_TRUE(SaveSettings(s, 1));
  Settings back = DefaultSettings(Language::English);
  LoadSettings(back);
  EXPECT_EQ(back.TOP, 44);
  EXPECT_EQ(InitSettingsStoreIn(Language::English, u"C:\\apps\\kirabi.exe", true), StoreMode::Ini);
  SetSettingsLocations(std::u16string(kIniFilePath), std::u16string(kRegistrySubkey));
  InitSettingsStoreIn(Language::English, u"C:\\apps\\kirabi.exe", false);
}

TEST_F(StoreTest, InterfaceLanguageFromTheEnvironment) {
  const struct {
    const wchar_t* value;
    Language expected;
  } cases[] = {{L"ja", Language::Japanese}, {L"JA", Language::Japanese}, {L"EN", Language::English},
               {L"japanese", Language::English}, {L"", Language::English}};
  for (const auto& c : cases) {
    SetEnvironmentVariableW(L"QZ_LANG", c.value);
    EXPECT_EQ(DetectInterfaceLanguage(), c.expected) << c.value;
  }
  SetEnvironmentVariableW(L"QZ_LANG", nullptr);
  const Language system = (GetSystemDefaultLangID() & 0x3FF) == 17 ? Language::Japanese : Language::English;
  EXPECT_EQ(DetectInterfaceLanguage(), system);
}

}  // namespace
