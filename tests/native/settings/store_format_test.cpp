#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "settings/ini_format.h"
#include "settings/interface_language.h"
#include "settings/memory_store.h"
#include "settings/registry_value.h"
#include "settings/store_messages.h"
#include "settings/store_selection.h"

namespace {

TEST(IniLineBreaks, EncodeAndDecode) {
  const struct {
    std::u16string text, encoded, decoded;
  } cases[] = {
      {u"a\r\nb\nc", u"a\x0001\x0001" u"b\x0001" u"c", u"a\r\nb\nc"},
      {u"lone\rcr", u"lone\x0001" u"cr", u"lone\ncr"},
      {u"\n\r", u"\x0001\x0001", u"\r\n"},  // LF CR reads back as CR LF
      {u"plain", u"plain", u"plain"},
      {u"", u"", u""},
      {u"\r\n\r\n", u"\x0001\x0001\x0001\x0001", u"\r\n\r\n"},
      {u"\r\r\r", u"\x0001\x0001\x0001", u"\r\n\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EncodeIniLineBreaks(c.text), c.encoded);
    EXPECT_EQ(DecodeIniLineBreaks(c.encoded), c.decoded);
  }
}

TEST(IniQuoting, ValuesWithBlankEdgesOrQuotesSurviveTheReader) {
  const struct {
    std::u16string text, written;
  } cases[] = {
      {u"plain", u"plain"},           {u"", u""},
      {u" a ", u"\" a \""},          {u"\ta", u"\"\ta\""},
      {u"x\x1a", u"\"x\x1a\""},      {u"\"q\"", u"\"\"q\"\""},
      {u"'s'", u"\"'s'\""},           {u"\"x", u"\"x"},
      {u"a\"", u"a\""},               {u"\"", u"\""},
      {u"in side", u"in side"},       {u"\x0001x\x0001", u"\x0001x\x0001"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(QuoteIniValue(c.text), c.written);
    EXPECT_EQ(IniValueAsRead(QuoteIniValue(c.text)), c.text);
  }
  // Unquoted, the reader loses what stood at the edges.
  EXPECT_EQ(IniValueAsRead(u"  a b\t"), u"a b");
  EXPECT_EQ(IniValueAsRead(u"'s'"), u"s");
}

TEST(ProfileInt, ReadsLikeThePlatform) {
  const struct {
    std::u16string text;
    int32_t expected;
  } cases[] = {
      {u"-12", -12},  {u"12a", 12},  {u" 7", 7},       {u"+3", 3},          {u"0x10", 16},
      {u"0X1f", 31},  {u"abc", 0},   {u"-", 0},        {u"\t-5", -5},       {u"2147483647", 2147483647},
      {u"-2147483648", INT32_MIN},   {u"4294967295", -1}, {u"0", 0},       {u"007", 7},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseProfileInt(c.text, 99), c.expected) << std::string(c.text.begin(), c.text.end());
  EXPECT_EQ(ParseProfileInt(u"", 99), 99);
  // Only the first 29 characters count.
  EXPECT_EQ(ParseProfileInt(std::u16string(28, u'0') + u"12", 5), 1);
}

TEST(ProfileStruct, RoundTripAndRejectsDamage) {
  const uint8_t bytes[4] = {0x01, 0xAB, 0xFF, 0x00};
  const std::u16string text = EncodeProfileStruct(bytes, 4);
  EXPECT_EQ(text, u"01ABFF00AB");  // checksum 0x1AB & 0xFF
  uint8_t back[4] = {};
  ASSERT_TRUE(DecodeProfileStruct(text, back, 4));
  EXPECT_EQ(std::memcmp(back, bytes, 4), 0);

  uint8_t untouched[4] = {9, 9, 9, 9};
  for (const std::u16string bad : {u"01ABFF00AC", u"01ABFF00", u"01ABFF00AB00", u"0GABFF00AB", u""}) {
    EXPECT_FALSE(DecodeProfileStruct(bad, untouched, 4));
  }
  EXPECT_EQ(untouched[0], 9) << "a damaged value leaves the bytes alone";
}

std::vector<uint8_t> Utf16Bytes(std::u16string_view text, bool terminator) {
  std::vector<uint8_t> bytes;
  for (char16_t c : text) {
    bytes.push_back(uint8_t(c));
    bytes.push_back(uint8_t(c >> 8));
  }
  if (terminator) bytes.insert(bytes.end(), {0, 0});
  return bytes;
}

TEST(RegistryInteger, ConvertsByValueType) {
  const struct {
    uint32_t type;
    std::vector<uint8_t> bytes;
    int32_t expected;
  } cases[] = {
      {kRegSz, Utf16Bytes(u"-12", true), -12},
      {kRegSz, Utf16Bytes(u"12a", true), 77},
      {kRegSz, Utf16Bytes(u"", true), 77},
      {kRegSz, Utf16Bytes(u"+", true), 0},
      {kRegSz, Utf16Bytes(u"-", true), 0},
      {kRegSz, Utf16Bytes(u"+45", false), 45},
      // A last odd byte is read as a character with a zero high byte.
      {kRegSz, {'1', 0, '2'}, 12},
      {kRegSz, {'-', 0, '3'}, -3},
      {kRegSz, {'7'}, 7},
      {kRegSz, {'1', 0, 0, 0, '2'}, 1},
      {kRegSz, {'1', 0, 'x'}, 77},
      {kRegSz, Utf16Bytes(u" 4", true), 77},
      {kRegSz, Utf16Bytes(u"99999999999", true), INT32_MAX},
      {kRegSz, Utf16Bytes(u"-99999999999", true), INT32_MIN},
      {kRegExpandSz, Utf16Bytes(u"8", true), 8},
      {kRegMultiSz, Utf16Bytes(u"9\0" u"5", true), 9},
      {kRegDword, {0x78, 0x56, 0x34, 0x12}, 0x12345678},
      {kRegDword, {0xFF, 0xFF, 0xFF, 0xFF}, -1},
      {kRegBinary, {0x05}, 5},
      {kRegBinary, {}, 0},
      {kRegQword, {1, 0, 0, 0, 9, 9, 9, 9}, 1},
      {kRegDwordBigEndian, {0x12, 0x34, 0x56, 0x78}, 0x12345678},
      {kRegNone, {1, 0, 0, 0}, 77},
      {kRegLink, {1, 0, 0, 0}, 77},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RegistryIntegerFromValue(c.type, c.bytes.data(), c.bytes.size(), 77), c.expected)
        << "case " << (&c - cases);
  }
}

TEST(RegistryString, NeverReadsPastTheValueOrTheCapacity) {
  std::u16string out = u"before";
  const struct {
    uint32_t type;
    std::vector<uint8_t> bytes;
    std::size_t capacity;
    bool ok;
    std::u16string expected;
  } cases[] = {
      {kRegSz, Utf16Bytes(u"abc", true), 4, true, u"abc"},
      {kRegSz, Utf16Bytes(u"abcd", true), 4, false, u""},
      {kRegSz, Utf16Bytes(u"abcd", false), 4, false, u""},  // fits the bytes but has no room for the end
      {kRegSz, Utf16Bytes(u"abc", false), 4, true, u"abc"},
      {kRegSz, Utf16Bytes(u"", true), 4, true, u""},
      {kRegSz, {}, 4, true, u""},
      {kRegSz, {0x41, 0x00, 0x42}, 4, true, u"A"},  // odd byte count
      {kRegSz, Utf16Bytes(std::u16string(u"ab\0cd", 5), true), 8, true, u"ab"},
      {kRegExpandSz, Utf16Bytes(u"%x%", true), 8, true, u"%x%"},
      {kRegDword, {1, 0, 0, 0}, 8, false, u""},
      {kRegBinary, Utf16Bytes(u"hi", true), 8, false, u""},
      {kRegSz, Utf16Bytes(u"x", true), 0, false, u""},
  };
  for (const auto& c : cases) {
    out = u"before";
    EXPECT_EQ(RegistryStringFromValue(c.type, c.bytes.data(), c.bytes.size(), c.capacity, out), c.ok)
        << "case " << (&c - cases);
    EXPECT_EQ(out, c.ok ? c.expected : u"before") << "case " << (&c - cases);
  }
}

TEST(StoreSelection, ExecutableNameAndSwitch) {
  const struct {
    std::u16string path;
    bool ini;
  } cases[] = {
      {u"C:\\Tools\\kirabi_o.exe", true}, {u"C:\\Tools\\KIRABI_O.EXE", true}, {u"C:\\x_O.eXe", true},
      {u"C:\\x_o.exe2", false},           {u"C:\\x_o.exe\\kirabi.exe", false}, {u"C:\\kirabi.exe", false},
      {u"C:\\x-o.exe", false},             {u"C:\\x_o,exe", false},              {u"a_o.exe", false},
      {u"ab_o.exe", true},                 {u"", false},                        {u"C:\\x_0.exe", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PathSelectsIniStore(c.path), c.ini) << std::string(c.path.begin(), c.path.end());
    EXPECT_EQ(SelectStoreMode(c.path, false), c.ini ? StoreMode::Ini : StoreMode::Registry);
    EXPECT_EQ(SelectStoreMode(c.path, true), StoreMode::Ini);
  }
  EXPECT_FALSE(CopyCommandsAllowed(SelectStoreMode(u"C:\\k_o.exe", false)));
  EXPECT_TRUE(CopyCommandsAllowed(SelectStoreMode(u"C:\\k.exe", false)));
}

TEST(InterfaceLanguageRule, EnvironmentBeforeSystemLanguage) {
  const struct {
    std::optional<std::u16string_view> qz_lang;
    uint16_t system;
    Language expected;
  } cases[] = {
      {std::nullopt, 0x0411, Language::Japanese},  // ja-JP
      {std::nullopt, 0x0011, Language::Japanese},
      {std::nullopt, 0x0409, Language::English},
      {std::nullopt, 0x0811, Language::Japanese},  // sublanguage bits ignored
      {std::nullopt, 0x0412, Language::English},
      {u"ja", 0x0409, Language::Japanese},
      {u"JA", 0x0409, Language::Japanese},
      {u"jA", 0x0409, Language::Japanese},
      {u"EN", 0x0411, Language::English},
      {u"", 0x0411, Language::English},
      {u"JAP", 0x0411, Language::English},
      {u"ja ", 0x0411, Language::English},
  };
  for (const auto& c : cases) EXPECT_EQ(InterfaceLanguage(c.qz_lang, c.system), c.expected) << (&c - cases);
}

TEST(StoreMessages, CopyResultsAndRegistryWarnings) {
  EXPECT_EQ(CopyResultText(StoreCopy::IniToRegistry, true, Language::Japanese).text,
            u"iniファイルからレジストリへ設定をコピーしました。");
  EXPECT_EQ(CopyResultText(StoreCopy::IniToRegistry, false, Language::English).text,
            u"Setting copying from the ini file to the registry - failed.");
  EXPECT_EQ(CopyResultText(StoreCopy::IniToRegistry, false, Language::English).icon, MessageIcon::Error);
  EXPECT_EQ(CopyResultText(StoreCopy::RegistryToIni, false, Language::English).icon, MessageIcon::Information);
  EXPECT_EQ(CopyResultText(StoreCopy::RegistryToIni, true, Language::English).text,
            u"Setting copying from the registry to the ini file has been completed.");

  const std::u16string request =
      u"このメッセージが表示されたら、現在編集している/していたダイアログの名前を、メッセージの内容と共に正確に作者まで報告して下さい。";
  const RegwWarning all[] = {RegwWarning::AutoClose,   RegwWarning::MultipleOpen, RegwWarning::ReadString,
                             RegwWarning::ReadInteger, RegwWarning::WriteString,  RegwWarning::WriteInteger,
                             RegwWarning::WriteBinary, RegwWarning::MultipleClose};
  for (RegwWarning w : all) {
    const std::u16string ja = RegwWarningText(w, Language::Japanese);
    ASSERT_GT(ja.size(), request.size());
    EXPECT_EQ(ja.substr(ja.size() - request.size() - 1), u"\n" + request);
    EXPECT_EQ(RegwWarningText(w, Language::English).rfind(u"An error has occurred in ", 0), 0u);
  }
  EXPECT_EQ(RegwWarningText(RegwWarning::MultipleClose, Language::English),
            u"An error has occurred in REGW::CloseKey().");
  EXPECT_EQ(RegwWarningText(RegwWarning::ReadInteger, Language::Japanese),
            u"開かれていないキーを対象に ReadIntegerW が行われようとしたので保護します。\n" + request);
}

TEST(MemoryStoreColorTable, BothKindsRoundTripAndRejectOtherForms) {
  CustomColors colors{};
  for (std::size_t i = 0; i < colors.size(); ++i) colors[i] = uint32_t(0x010203 * (i + 1));
  for (const auto kind : {MemoryStore::Kind::Ini, MemoryStore::Kind::Registry}) {
    MemoryStore store(kind, Language::English);
    CustomColors out = DefaultCustomColors();
    EXPECT_FALSE(store.ReadColorTable(out));
    EXPECT_EQ(out, DefaultCustomColors());
    ASSERT_TRUE(store.WriteColorTable(colors));
    ASSERT_TRUE(store.ReadColorTable(out));
    EXPECT_EQ(out, colors);
  }
  MemoryStore reg(MemoryStore::Kind::Registry, Language::English);
  Settings s = DefaultSettings(Language::English);
  reg.SetRegistryValue(u"CUSTCOLORS", kRegBinary, std::vector<uint8_t>(63, 1));
  LoadCustomColors(s, reg);
  EXPECT_EQ(s.CUSTCOLORS, DefaultCustomColors()) << "a short table keeps the slots";
  reg.SetRegistryString(u"CUSTCOLORS", std::u16string(31, u'a'));
  LoadCustomColors(s, reg);
  EXPECT_EQ(s.CUSTCOLORS, DefaultCustomColors()) << "a text value keeps the slots";
  MemoryStore ini(MemoryStore::Kind::Ini, Language::English);
  ini.SetIniText(u"CUSTCOLORS", u"00");
  LoadCustomColors(s, ini);
  EXPECT_EQ(s.CUSTCOLORS, DefaultCustomColors());
  s.CUSTCOLORS[15] = 0x00FFFFFF;
  ASSERT_TRUE(SaveCustomColors(s, ini));
  Settings fresh = DefaultSettings(Language::English);
  LoadCustomColors(fresh, ini);
  EXPECT_EQ(fresh.CUSTCOLORS[15], 0x00FFFFFFu);
}

}  // namespace
