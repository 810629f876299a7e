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

namespace {

// The conversions one code point at a time, as plainly as they can be said.
std::u16string ReferenceUtf16(const std::u32string& points) {
  std::u16string out;
  for (char32_t c : points) {
    if (c < 0x10000) {
      out += static_cast<char16_t>(c);
    } else {
      out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    }
  }
  return out;
}

std::string ReferenceUtf8(const std::u32string& points) {
  std::string out;
  for (char32_t c : points) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
    } else if (c < 0x10000) {
      out += {static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
              static_cast<char>(0x80 | (c & 0x3F))};
    } else {
      out += {static_cast<char>(0xF0 | (c >> 18)), static_cast<char>(0x80 | ((c >> 12) & 0x3F)),
              static_cast<char>(0x80 | ((c >> 6) & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
    }
  }
  return out;
}

}  // namespace

// Random texts mixing ASCII runs with characters of every length, at every
// length from empty up: both directions agree with the plain conversion, and
// a text whose last character is cut short ends in one U+FFFD.
TEST(Utf, RandomTextsConvertBothWays) {
  const char32_t samples[] = {'a', ' ', '~', 0x7F, 0x80, 0xE9, 0x7FF, 0x800, 0x3042, 0xFFFD, 0xFFFF, 0x10000, 0x1F600,
                              0x10FFFF};
  unsigned seed = 7;
  auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7FFF; };
  for (int round = 0; round < 400; ++round) {
    std::u32string points;
    const unsigned length = next() % 40;
    for (unsigned k = 0; k < length; ++k) points += next() % 3 ? char32_t('a' + next() % 26) : samples[next() % 14];
    const std::string utf8 = ReferenceUtf8(points);
    const std::u16string utf16 = ReferenceUtf16(points);
    ASSERT_EQ(Utf16ToUtf8(utf16), utf8);
    ASSERT_EQ(Utf8ToUtf16(utf8), utf16);
    if (!points.empty()) {
      // The last character cut short by one byte is one U+FFFD.
      const std::u32string kept = points.substr(0, points.size() - 1);
      const std::u16string expected = ReferenceUtf16(kept) + (points.back() < 0x80 ? u"" : u"\uFFFD");
      EXPECT_EQ(Utf8ToUtf16(utf8.substr(0, utf8.size() - 1)), expected) << round;
    }
  }
}

// Long ASCII runs are skipped eight bytes at a time: a bad or good sequence
// right after, across or at the end of such a run is still seen.
TEST(Utf, ValidityAroundLongAsciiRuns) {
  const std::string run = "abcdefghijklmnop";
  for (std::size_t cut = 0; cut <= run.size(); ++cut) {
    const std::string ascii = run.substr(0, cut);
    EXPECT_TRUE(IsValidUtf8(ascii + "\xE3\x81\x82" + ascii)) << cut;
    EXPECT_FALSE(IsValidUtf8(ascii + "\xFF" + ascii)) << cut;
    EXPECT_FALSE(IsValidUtf8(ascii + "\xE3\x81")) << cut;
    EXPECT_FALSE(IsValidUtf8(ascii + "\xE3\x81" + ascii)) << cut;
  }
}
