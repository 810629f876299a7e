#include "display/clock_format.h"

#include <gtest/gtest.h>

#include <string>

#include "common/utf.h"

namespace {

TimeRecord At(uint16_t year, uint16_t month, uint16_t day, uint16_t dow, uint16_t hour,
              uint16_t minute, uint16_t second, uint16_t ms = 0) {
  return TimeRecord{year, month, dow, day, hour, minute, second, ms};
}

std::string Format(const TimeRecord& t, std::u16string_view pattern) {
  TextBuffer out;
  out.assign(u"stale text from an earlier cycle");
  FormatDateTime(out, t, pattern);
  return Utf16ToUtf8(out.view());
}

struct Case {
  const char* name;
  TimeRecord time;
  std::u16string_view pattern;
  const char* expected;
};

class ClockFormatTest : public ::testing::TestWithParam<Case> {};

TEST_P(ClockFormatTest, FormatsPattern) {
  const Case& c = GetParam();
  EXPECT_EQ(Format(c.time, c.pattern), c.expected) << c.name;
}

const TimeRecord kSunJan7 = At(2024, 1, 7, 0, 9, 5, 3);
const TimeRecord kFriMar1 = At(2024, 3, 1, 5, 23, 59, 59);

INSTANTIATE_TEST_SUITE_P(
    Tokens, ClockFormatTest,
    ::testing::Values(
        Case{"japanese default", kSunJan7, u"M/d [a] H:mm:ss", " 1/ 7 [Sun]  9:05:03"},
        Case{"english default", kFriMar1, u"a, d MMMM yyyy H:mm:ss",
             "Fri,  1 March 2024 23:59:59"},
        Case{"empty pattern", kSunJan7, u"", ""},
        Case{"years", At(2005, 6, 1, 3, 0, 0, 0), u"yyyy|yy|yyy", "2005|05|05y"},
        Case{"era 2019", At(2019, 5, 1, 3, 0, 0, 0), u"rr", "1"},
        Case{"era 2026", At(2026, 5, 1, 5, 0, 0, 0), u"rr", "8"},
        Case{"era before", At(2017, 5, 1, 1, 0, 0, 0), u"rr", "-1"},
        Case{"months", At(2024, 9, 1, 0, 0, 0, 0), u"MMMMM|MMMM|MMM|MM|M", "長月|September|Sep|09| 9"},
        Case{"six M", At(2024, 12, 1, 0, 0, 0, 0), u"MMMMMM", "師走12"},
        Case{"seven M", At(2024, 6, 1, 6, 0, 0, 0), u"MMMMMMM", "水無月06"},
        Case{"days", At(2024, 2, 5, 1, 0, 0, 0), u"dd|d", "05| 5"},
        Case{"weekdays", At(2024, 2, 7, 3, 0, 0, 0), u"aaa|aa|a", "水|Wednesday|Wed"},
        Case{"four a", At(2024, 2, 10, 6, 0, 0, 0), u"aaaa", "土Sat"},
        Case{"morning", At(2024, 2, 7, 3, 0, 30, 0), u"PP P p hh h ii i HH H",
             "午前 AM am 00  0 12 12 00  0"},
        Case{"noon", At(2024, 2, 7, 3, 12, 0, 0), u"PP P p hh ii", "午後 PM pm 00 12"},
        Case{"evening", At(2024, 2, 7, 3, 21, 7, 0), u"hh|h|ii|i|HH|H", "09| 9|09| 9|21|21"},
        Case{"minutes seconds", At(2024, 2, 7, 3, 1, 4, 8), u"mm m ss s", "04  4 08  8"},
        Case{"fractions", At(2024, 2, 7, 3, 1, 4, 8, 987), u"fff ff f", "987 98 9"},
        Case{"small fractions", At(2024, 2, 7, 3, 1, 4, 8, 7), u"fff|ff|f|ffff", "007|00|0|0070"},
        Case{"no escapes", kSunJan7, u"\\{x}\r\n%", "\\{x}\r\n%"},
        Case{"letters always start tokens", kSunJan7, u"Today: ", "To 7Suny: "},
        Case{"nul ends pattern", kSunJan7, std::u16string_view(u"HH\0mm", 5), "09"}),
    [](const auto& info) {
      std::string name = info.param.name;
      for (char& ch : name)
        if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
      return name;
    });

TEST(ClockFormat, DayOfYearFollowsLeapRule) {
  struct Row {
    TimeRecord time;
    const char* expected;
  } rows[] = {
      {At(2024, 2, 29, 4, 0, 0, 0), "060"},   // leap year
      {At(2023, 3, 1, 3, 0, 0, 0), "060"},    // common year
      {At(2024, 3, 1, 5, 0, 0, 0), "061"},
      {At(2024, 12, 31, 2, 0, 0, 0), "366"},
      {At(2023, 12, 31, 0, 0, 0, 0), "365"},
      {At(1900, 3, 1, 4, 0, 0, 0), "060"},    // divisible by 100: common
      {At(2000, 3, 1, 3, 0, 0, 0), "061"},    // divisible by 400: leap
      {At(2024, 1, 1, 1, 0, 0, 0), "001"},
  };
  for (const Row& row : rows)
    EXPECT_EQ(Format(row.time, u"ddd"), row.expected)
        << row.time.year << "-" << row.time.month << "-" << row.time.day;
}

TEST(ClockFormat, OutputStopsBeforeThe520thCharacter) {
  const TimeRecord t = kFriMar1;
  // 600 plain characters keep the first 519.
  std::u16string plain(600, u'x');
  for (size_t i = 0; i < plain.size(); ++i) plain[i] = u'0' + i % 10;
  TextBuffer out;
  FormatDateTime(out, t, plain);
  EXPECT_EQ(out.size(), 519u);
  EXPECT_EQ(out.view(), std::u16string_view(plain).substr(0, 519));

  // A piece that does not fit whole ends the scan, even when a shorter one
  // after it would have fitted.
  std::u16string pattern(517, u'.');
  pattern += u"yyyy:";
  FormatDateTime(out, t, pattern);
  EXPECT_EQ(out.size(), 517u);
  EXPECT_EQ(out.view(), std::u16string(517, u'.'));

  pattern.assign(515, u'.');
  pattern += u"yyyyZZ";
  FormatDateTime(out, t, pattern);
  EXPECT_EQ(Utf16ToUtf8(out.view().substr(515)), "2024");
  EXPECT_EQ(out.size(), 519u);
}

TEST(ClockFormat, OutOfRangeFieldsGiveEmptyNames) {
  // Never produced by the platform clock; must not read past the tables.
  const TimeRecord bad = At(2024, 13, 40, 9, 25, 61, 61, 1000);
  EXPECT_EQ(Format(bad, u"[MMM][MMMM][MMMMM][a][aa][aaa]"), "[][][][][][]");
  EXPECT_EQ(Format(At(2024, 0, 3, 0, 0, 0, 0), u"ddd|MM"), "003|00");
}

TEST(NumberPiece, RendersLikeWsprintf) {
  struct Row {
    int64_t value;
    int width;
    bool zero_pad;
    const char* expected;
  } rows[] = {
      {5, 2, false, " 5"},  {5, 2, true, "05"},     {123, 2, true, "123"},
      {-5, 3, true, "-05"}, {-5, 3, false, " -5"},  {0, 0, false, "0"},
      {-9223372036854775807LL - 1, 0, false, "-9223372036854775808"},
  };
  for (const Row& row : rows)
    EXPECT_EQ(Utf16ToUtf8(FormatSigned(row.value, row.width, row.zero_pad).view()), row.expected)
        << row.value;
  EXPECT_EQ(Utf16ToUtf8(FormatUnsigned(18446744073709551615ULL, 4, false).view()),
            "18446744073709551615");
  EXPECT_EQ(Utf16ToUtf8(FormatUnsigned(7, 4, false).view()), "   7");
}

}  // namespace
