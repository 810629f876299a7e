#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "settings/registry_store_win.h"
#include "settings_test_support_win.h"

namespace {

class RegwTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetMessageBoxCollector(CollectMessage);
    ShownMessages().clear();
    subkey_ = TempPlace::W(place_.Subkey());
  }
  void TearDown() override { SetMessageBoxCollector(nullptr); }

  void SetRaw(const wchar_t* name, DWORD type, const void* data, DWORD size) {
    REGW reg(Language::English);
    ASSERT_TRUE(reg.OpenKey(subkey_.c_str(), REGW::kCreate));
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, subkey_.c_str(), 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    RegCloseKey(key);
    reg.CloseKey();
  }

  TempPlace place_;
  std::wstring subkey_;
};

TEST_F(RegwTest, ProtectiveChecksWarnWithTheirTexts) {
  const struct {
    Language language;
    const char16_t* expected_start;
  } languages[] = {{Language::English, u"An error has occurred in "}, {Language::Japanese, u""}};
  for (const auto& l : languages) {
    ShownMessages().clear();
    {
      REGW reg(l.language);
      EXPECT_EQ(reg.ReadIntegerW(L"X", 42), 42);
      std::u16string text = u"unchanged";
      EXPECT_FALSE(reg.ReadStringW(L"X", 8, text));
      EXPECT_EQ(text, u"unchanged");
      EXPECT_FALSE(reg.WriteStringW(L"X", u"v"));
      EXPECT_FALSE(reg.WriteIntegerW(L"X", 1));
      EXPECT_FALSE(reg.WriteBinaryW(L"X", CustomColors{}));
      EXPECT_FALSE(reg.CloseKey());
      ASSERT_TRUE(reg.OpenKey(subkey_.c_str(), REGW::kCreate));
      ASSERT_TRUE(reg.OpenKey(subkey_.c_str(), REGW::kReadOnly));  // multiple open: closes and warns
    }  // destructor with a key still open
    const RegwWarning expected[] = {RegwWarning::ReadInteger,   RegwWarning::ReadString,   RegwWarning::WriteString,
                                    RegwWarning::WriteInteger,  RegwWarning::WriteBinary,  RegwWarning::MultipleClose,
                                    RegwWarning::MultipleOpen,  RegwWarning::AutoClose};
    ASSERT_EQ(ShownMessages().size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
      EXPECT_EQ(ShownMessages()[i].text, RegwWarningText(expected[i], l.language)) << i;
      EXPECT_EQ(ShownMessages()[i].caption, u"Registory Class");
      EXPECT_EQ(ShownMessages()[i].type & MB_ICONMASK, UINT(MB_ICONWARNING));
    }
  }
  EXPECT_EQ(ShownMessages()[7].text.rfind(u"レジストリを自動クローズしました。\n", 0), 0u);
}

TEST_F(RegwTest, ReadingNeverCreatesTheKey) {
  REGW reg(Language::English);
  EXPECT_FALSE(reg.OpenKey(subkey_.c_str(), REGW::kReadOnly));
  EXPECT_FALSE(reg.is_open());
  RegistrySettingsStore store(Language::English, place_.Subkey());
  std::u16string out;
  EXPECT_FALSE(store.ReadString(u"FONTNAME", 64, out));
  EXPECT_EQ(store.ReadInteger(u"LEFT", 5), 5);
  EXPECT_FALSE(reg.OpenKey(subkey_.c_str(), REGW::kReadOnly));
  EXPECT_TRUE(ShownMessages().empty());
}

TEST_F(RegwTest, IntegerConversionsByStoredType) {
  const uint8_t big_endian[4] = {0x00, 0x00, 0x01, 0x02};
  const uint8_t one_byte[1] = {7};
  const uint64_t qword = 0x1111111100000010ull;
  SetRaw(L"BE", REG_DWORD_BIG_ENDIAN, big_endian, 4);
  SetRaw(L"BIN1", REG_BINARY, one_byte, 1);
  SetRaw(L"QW", REG_QWORD, &qword, 8);
  SetRaw(L"EXP", REG_EXPAND_SZ, L"-8", 6);
  SetRaw(L"NONE", REG_NONE, one_byte, 1);
  REGW reg(Language::English);
  ASSERT_TRUE(reg.OpenKey(subkey_.c_str(), REGW::kReadOnly));
  EXPECT_EQ(reg.ReadIntegerW(L"BE", 0), 0x0102);
  EXPECT_EQ(reg.ReadIntegerW(L"BIN1", 0), 7);
  EXPECT_EQ(reg.ReadIntegerW(L"QW", 0), 0x10);
  EXPECT_EQ(reg.ReadIntegerW(L"EXP", 0), -8);
  EXPECT_EQ(reg.ReadIntegerW(L"NONE", 99), 99);
  EXPECT_EQ(reg.ReadIntegerW(L"MISSING", 99), 99);
  reg.CloseKey();
}

// A buffer with guard characters beyond the capacity the reader is given.
struct GuardedBuffer {
  static constexpr std::size_t kCapacity = 8;
  static constexpr std::size_t kGuard = 8;
  wchar_t chars[kCapacity + kGuard];
  GuardedBuffer() {
    for (wchar_t& c : chars) c = L'#';
  }
  bool guard_intact() const {
    for (std::size_t i = kCapacity; i < kCapacity + kGuard; ++i) {
      if (chars[i] != L'#') return false;
    }
    return true;
  }
};

TEST_F(RegwTest, StringValuesOfAnyFormStayInsideTheBuffer) {
  const wchar_t fits[] = L"1234567";         // 7 + terminator
  const wchar_t exact[] = L"12345678";       // 8 + terminator: one too many
  const wchar_t unterminated[] = L"ABCDEFGH";
  const uint8_t binary[40] = {0x41, 0, 0x42, 0, 0x43, 0};
  const DWORD dword = 0x00410041;
  const std::wstring long_text(3000, L'L');
  SetRaw(L"FITS", REG_SZ, fits, sizeof fits);
  SetRaw(L"EXACT", REG_SZ, exact, sizeof exact);
  SetRaw(L"UNTERM", REG_SZ, unterminated, 16);
  SetRaw(L"ODD", REG_SZ, unterminated, 7);
  SetRaw(L"BIN", REG_BINARY, binary, sizeof binary);
  SetRaw(L"DW", REG_DWORD, &dword, 4);
  SetRaw(L"LONG", REG_SZ, long_text.c_str(), DWORD((long_text.size() + 1) * 2));
  SetRaw(L"EMPTY", REG_SZ, L"", 2);
  SetRaw(L"ZERO", REG_SZ, nullptr, 0);
  const struct {
    const wchar_t* name;
    bool ok;
    const wchar_t* expected;
  } cases[] = {
      {L"FITS", true, L"1234567"}, {L"EXACT", false, L""}, {L"UNTERM", false, L""}, {L"ODD", true, L"ABC"},
      {L"BIN", false, L""},        {L"DW", false, L""},    {L"LONG", false, L""},   {L"EMPTY", true, L""},
      {L"ZERO", true, L""},        {L"MISSING", false, L""},
  };
  REGW reg(Language::English);
  ASSERT_TRUE(reg.OpenKey(subkey_.c_str(), REGW::kReadOnly));
  for (const auto& c : cases) {
    GuardedBuffer buffer;
    EXPECT_EQ(reg.ReadStringW(c.name, buffer.chars, GuardedBuffer::kCapacity), c.ok) << c.name;
    EXPECT_STREQ(buffer.chars, c.expected) << c.name;
    EXPECT_TRUE(buffer.guard_intact()) << c.name;
  }
  reg.CloseKey();
  EXPECT_TRUE(ShownMessages().empty());

  // Through the store, a damaged FONTNAME keeps the previous name.
  SetRaw(L"FONTNAME", REG_BINARY, binary, sizeof binary);
  SetRaw(L"FORMAT", REG_SZ, long_text.c_str(), DWORD((long_text.size() + 1) * 2));
  RegistrySettingsStore store(Language::English, place_.Subkey());
  Settings s = DefaultSettings(Language::English);
  LoadSettings(s, store, Language::English);
  EXPECT_EQ(s.FONTNAME, u"MS Sans Serif");
  EXPECT_EQ(s.FORMAT, u"a, d MMMM yyyy H:mm:ss");
}

TEST_F(RegwTest, WrittenValuesHaveTheirTypesAndSizes) {
  RegistrySettingsStore store(Language::English, place_.Subkey());
  std::u16string errors;
  ASSERT_TRUE(store.WriteString(u"S", u"ab", errors));
  ASSERT_TRUE(store.WriteInteger(u"I", -2, errors));
  CustomColors colors{};
  colors[0] = 0x00010203;
  ASSERT_TRUE(store.WriteColorTable(colors));
  EXPECT_TRUE(errors.empty());
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, subkey_.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
  const struct {
    const wchar_t* name;
    DWORD type, size;
  } cases[] = {{L"S", REG_SZ, 6}, {L"I", REG_DWORD, 4}, {L"CUSTCOLORS", REG_BINARY, 64}};
  for (const auto& c : cases) {
    DWORD type = 0, size = 0;
    EXPECT_EQ(RegQueryValueExW(key, c.name, nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, c.type) << c.name;
    EXPECT_EQ(size, c.size) << c.name;
  }
  RegCloseKey(key);
  CustomColors back{};
  ASSERT_TRUE(store.ReadColorTable(back));
  EXPECT_EQ(back, colors);
}

TEST_F(RegwTest, KeyThatCannotBeCreatedGivesTheOpenErrorPerKey) {
  RegistrySettingsStore bad(Language::English, std::u16string(300, u'k'));  // longer than a key name may be
  std::u16string errors;
  EXPECT_FALSE(bad.WriteInteger(u"LEFT", 1, errors));
  EXPECT_FALSE(bad.WriteString(u"FONTNAME", u"x", errors));
  const std::u16string open_line = u"Cannot open - HKEY_CURRENT_USER\\" + std::u16string(300, u'k');
  EXPECT_EQ(errors, open_line + u"\r\n-----\r\n" + open_line);
}

}  // namespace
