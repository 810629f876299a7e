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
