#include "common/utf.h"

#include <gtest/gtest.h>

TEST(Utf, RoundTripsEveryPlane) {
  const std::u16string text = u"a\u00e9\u3042\U0001F600z";
  EXPECT_EQ(Utf16ToUtf8(text), "a\xC3\xA9\xE3\x81\x82\xF0\x9F\x98\x80z");
  EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(text)), text);
}

TEST(Utf, MalformedInputBecomesReplacementCharacters) {
  struct Case {
    const char* utf8;
    std::u16string expected;
  } cases[] = {
      {"\xFF", u"\uFFFD"},               // never a lead byte
      {"\xE3\x81", u"\uFFFD"},           // cut short at the end
      {"\xE3\x41", u"\uFFFDA"},          // continuation missing
      {"\xC0\xAF", u"\uFFFD"},           // overlong
      {"\xED\xA0\x80", u"\uFFFD"},       // encoded surrogate
      {"\xF4\x90\x80\x80", u"\uFFFD"},   // above U+10FFFF
  };
  for (const Case& c : cases) EXPECT_EQ(Utf8ToUtf16(c.utf8), c.expected) << c.utf8;
}

TEST(Utf, LoneSurrogatesBecomeReplacementCharacters) {
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800)) + u"x"), "\xEF\xBF\xBDx");
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xDC00))), "\xEF\xBF\xBD");
}

TEST(ByteOrderMark, FoundOnlyAtTheStart) {
  const struct {
    std::string_view bytes;
    ByteOrderMark kind;
    std::size_t size;
  } cases[] = {
      {std::string_view("\xFF\xFE" "a", 3), ByteOrderMark::kUtf16Le, 2},
      {std::string_view("\xFE\xFF", 2), ByteOrderMark::kUtf16Be, 2},
      {"\xEF\xBB\xBFx", ByteOrderMark::kUtf8, 3},
      {"\xEF\xBB", ByteOrderMark::kNone, 0},  // cut short
      {"x\xFF\xFE", ByteOrderMark::kNone, 0},
      {"", ByteOrderMark::kNone, 0},
  };
  for (const auto& c : cases) {
    const FoundMark mark = FindByteOrderMark(c.bytes);
    EXPECT_EQ(mark.kind, c.kind) << c.bytes;
    EXPECT_EQ(mark.size, c.size) << c.bytes;
  }
}

TEST(Utf16FromBytes, BothOrdersOddTailAndNul) {
  const std::string_view le("a\0\x42\x30" "b\0\0\0c\0z", 11);
  EXPECT_EQ(Utf16FromBytes(le, false, false), std::u16string(u"a\u3042b\0c", 5));  // odd "z" dropped
  EXPECT_EQ(Utf16FromBytes(le, false, true), u"a\u3042b");
  EXPECT_EQ(Utf16FromBytes(std::string_view("\0a\x30\x42", 4), true, false), u"a\u3042");
  EXPECT_EQ(Utf16FromBytes("", true, true), u"");
}
