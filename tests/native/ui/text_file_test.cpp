#include "ui/text_file.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

// Stands in for the system's ANSI code page: Shift-JIS "\x82\xa0" is あ.
bool FakeShiftJis(std::string_view bytes, std::u16string& out) {
  out.clear();
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (uint8_t(bytes[i]) == 0x82 && i + 1 < bytes.size() && uint8_t(bytes[i + 1]) == 0xA0) {
      out += u'あ';
      ++i;
    } else if (uint8_t(bytes[i]) < 0x80) {
      out += char16_t(bytes[i]);
    } else {
      return false;
    }
  }
  return true;
}

struct DecodeCase {
  const char* name;
  std::string bytes;
  std::u16string text;
};

TEST(TextFileDecode, MarksDetectionLineEndsAndNul) {
  const DecodeCase cases[] = {
      {"UTF-8 without mark, LF becomes CR LF", "a\nb\n", u"a\r\nb\r\n"},
      {"LF at the very start", "\nx", u"\r\nx"},
      {"CR LF stays, lone CR stays", "a\r\nb\rc", u"a\r\nb\rc"},
      {"UTF-8 with mark", "\xEF\xBB\xBF\xE3\x81\x82\n", u"あ\r\n"},
      {"UTF-16LE with mark keeps its line ends", "\xFF\xFE" "a\0\n\0b\0"s, u"a\nb"},
      {"UTF-16BE with mark", "\xFE\xFF\0a\0\n"s, u"a\r\n"},
      {"empty file", "", u""},
      {"only a mark", "\xEF\xBB\xBF", u""},
      {"Shift-JIS (invalid UTF-8) goes to the ANSI page", "\x82\xA0\nz", u"あ\r\nz"},
      {"NUL in the middle ends the text", "ab\0cd"s, u"ab"},
      {"NUL in UTF-16LE ends the text", "\xFF\xFE" "a\0\0\0b\0"s, u"a"},
      {"odd trailing byte of UTF-16 is dropped", "\xFF\xFE" "a\0b"s, u"a"},
  };
  for (const DecodeCase& c : cases) {
    std::u16string text = u"old";
    EXPECT_EQ(DecodeTextFile(c.bytes, FakeShiftJis, text), kLoadOk) << c.name;
    EXPECT_EQ(text, c.text) << c.name;
  }
}

TEST(TextFileDecode, AFailedLegacyConversionIsCodeSix) {
  std::u16string text;
  EXPECT_EQ(DecodeTextFile("\xFF\x80", nullptr, text), kLoadConversionFailed);
  EXPECT_EQ(DecodeTextFile("\x99\x99", FakeShiftJis, text), kLoadConversionFailed);
}

TEST(TextFileDecode, ChoosesByMarkThenByValidity) {
  EXPECT_EQ(ChooseEncoding("\xFF\xFE").encoding, TextEncoding::kUtf16Le);
  EXPECT_EQ(ChooseEncoding("\xFE\xFF").mark_size, 2u);
  EXPECT_EQ(ChooseEncoding("\xEF\xBB\xBFx").mark_size, 3u);
  EXPECT_EQ(ChooseEncoding("plain").encoding, TextEncoding::kUtf8);
  EXPECT_EQ(ChooseEncoding("\x82\xA0").encoding, TextEncoding::kAnsi);
}

TEST(TextFileDecode, Utf8Validity) {
  EXPECT_TRUE(IsValidUtf8(""));
  EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x98\x80"));
  EXPECT_FALSE(IsValidUtf8("\xE3\x81"));          // cut short
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));          // overlong
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // a surrogate
  EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // beyond U+10FFFF
  EXPECT_FALSE(IsValidUtf8("\x80"));
}

TEST(TextFileEncode, MarkThenUtf8) {
  EXPECT_EQ(EncodeUtf8WithMark(u"abc"), "\xEF\xBB\xBF" "abc");
  EXPECT_EQ(EncodeUtf8WithMark(u""), "\xEF\xBB\xBF");
  EXPECT_EQ(EncodeUtf8WithMark(u"あ\r\n"), "\xEF\xBB\xBF\xE3\x81\x82\r\n");
}

TEST(TextFileRoundTrip, SavedTextLoadsBackUnchanged) {
  const std::u16string text = u"line 1\r\n二行目\r\n😀";
  std::u16string back;
  ASSERT_EQ(DecodeTextFile(EncodeUtf8WithMark(text), nullptr, back), kLoadOk);
  EXPECT_EQ(back, text);
}

}  // namespace
