#include "display/clock_format.h"

#include <algorithm>
#include <array>

namespace {

NumberPiece Render(bool negative, uint64_t magnitude, int width, bool zero_pad) {
  char16_t digits[24];
  size_t count = 0;
  do {
    digits[count++] = static_cast<char16_t>(u'0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);

  NumberPiece piece;
  const size_t body = count + (negative ? 1 : 0);
  const size_t wanted = width > 0 ? static_cast<size_t>(width) : 0;
  // Widths used by the patterns are at most 4; the piece holds 23 characters.
  const size_t padding = wanted > body ? std::min(wanted - body, size_t{22} - body) : 0;
  if (!zero_pad)
    for (size_t i = 0; i < padding; ++i) piece.text[piece.size++] = u' ';
  if (negative) piece.text[piece.size++] = u'-';
  if (zero_pad)
    for (size_t i = 0; i < padding; ++i) piece.text[piece.size++] = u'0';
  while (count > 0) piece.text[piece.size++] = digits[--count];
  piece.text[piece.size] = u'\0';
  return piece;
}

enum class Field {
  Year4, Year2, EraYear,
  MonthTraditional, MonthFull, MonthShort, Month2, Month,
  DayOfYear, Day2, Day,
  WeekdayJapanese, WeekdayFull, WeekdayShort,
  HalfJapanese, HalfUpper, HalfLower,
  Hour2, Hour, Hour12Zero2, Hour12Zero, Hour12_2, Hour12,
  Minute2, Minute, Second2, Second,
  Milliseconds, Hundredths, Tenths,
};

struct Token {
  std::u16string_view text;
  Field field;
};

// Tried in this order at every position; longer runs of a letter come first
// so that the longest token wins.
constexpr std::array<Token, 30> kTokens = {{
    {u"yyyy", Field::Year4},
    {u"yy", Field::Year2},
    {u"rr", Field::EraYear},
    {u"MMMMM", Field::MonthTraditional},
    {u"MMMM", Field::MonthFull},
    {u"MMM", Field::MonthShort},
    {u"MM", Field::Month2},
    {u"M", Field::Month},
    {u"ddd", Field::DayOfYear},
    {u"dd", Field::Day2},
    {u"d", Field::Day},
    {u"aaa", Field::WeekdayJapanese},
    {u"aa", Field::WeekdayFull},
    {u"a", Field::WeekdayShort},
    {u"PP", Field::HalfJapanese},
    {u"P", Field::HalfUpper},
    {u"p", Field::HalfLower},
    {u"HH", Field::Hour2},
    {u"H", Field::Hour},
    {u"hh", Field::Hour12Zero2},
    {u"h", Field::Hour12Zero},
    {u"ii", Field::Hour12_2},
    {u"i", Field::Hour12},
    {u"mm", Field::Minute2},
    {u"m", Field::Minute},
    {u"ss", Field::Second2},
    {u"s", Field::Second},
    {u"fff", Field::Milliseconds},
    {u"ff", Field::Hundredths},
    {u"f", Field::Tenths},
}};

constexpr std::array<std::u16string_view, 7> kWeekdayShort = {
    u"Sun", u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"};
constexpr std::array<std::u16string_view, 7> kWeekdayFull = {
    u"Sunday", u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday"};
constexpr std::array<std::u16string_view, 7> kWeekdayJapanese = {
    u"日", u"月", u"火", u"水", u"木", u"金", u"土"};
constexpr std::array<std::u16string_view, 12> kMonthShort = {
    u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
    u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"};
constexpr std::array<std::u16string_view, 12> kMonthFull = {
    u"January", u"February", u"March", u"April", u"May", u"June",
    u"July", u"August", u"September", u"October", u"November", u"December"};
constexpr std::array<std::u16string_view, 12> kMonthTraditional = {
    u"睦月", u"如月", u"弥生", u"卯月", u"皐月", u"水無月",
    u"文月", u"葉月", u"長月", u"神無月", u"霜月", u"師走"};
constexpr std::array<uint16_t, 12> kDaysBeforeMonth = {
    0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
constexpr std::array<uint16_t, 12> kDaysBeforeMonthLeap = {
    0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335};

// Out-of-range fields (never produced by the platform's clock) give an empty
// name rather than reading past a table.
template <size_t N>
std::u16string_view Name(const std::array<std::u16string_view, N>& table, size_t index) {
  return index < N ? table[index] : std::u16string_view();
}

bool IsLeapYear(unsigned year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

unsigned DayOfYear(const TimeRecord& t) {
  if (t.month < 1 || t.month > 12) return t.day;
  const auto& table = IsLeapYear(t.year) ? kDaysBeforeMonthLeap : kDaysBeforeMonth;
  return t.day + table[t.month - 1];
}

// Writes the piece for `field` into `number` or returns it as a name.
std::u16string_view Piece(Field field, const TimeRecord& t, NumberPiece& number) {
  auto num = [&number](int64_t value, int width, bool zero_pad) {
    number = FormatSigned(value, width, zero_pad);
    return number.view();
  };
  const bool afternoon = t.hour >= 12;
  const int hour12 = t.hour % 12;
  switch (field) {
    case Field::Year4: return num(t.year, 4, false);
    case Field::Year2: return num(t.year % 100, 2, true);
    case Field::EraYear: return num(int64_t{t.year} - 2018, 0, false);
    case Field::MonthTraditional: return Name(kMonthTraditional, t.month - 1u);
    case Field::MonthFull: return Name(kMonthFull, t.month - 1u);
    case Field::MonthShort: return Name(kMonthShort, t.month - 1u);
    case Field::Month2: return num(t.month, 2, true);
    case Field::Month: return num(t.month, 2, false);
    case Field::DayOfYear: return num(DayOfYear(t), 3, true);
    case Field::Day2: return num(t.day, 2, true);
    case Field::Day: return num(t.day, 2, false);
    case Field::WeekdayJapanese: return Name(kWeekdayJapanese, t.day_of_week);
    case Field::WeekdayFull: return Name(kWeekdayFull, t.day_of_week);
    case Field::WeekdayShort: return Name(kWeekdayShort, t.day_of_week);
    case Field::HalfJapanese: return afternoon ? u"午後" : u"午前";
    case Field::HalfUpper: return afternoon ? u"PM" : u"AM";
    case Field::HalfLower: return afternoon ? u"pm" : u"am";
    case Field::Hour2: return num(t.hour, 2, true);
    case Field::Hour: return num(t.hour, 2, false);
    case Field::Hour12Zero2: return num(hour12, 2, true);
    case Field::Hour12Zero: return num(hour12, 2, false);
    case Field::Hour12_2: return num(hour12 == 0 ? 12 : hour12, 2, true);
    case Field::Hour12: return num(hour12 == 0 ? 12 : hour12, 2, false);
    case Field::Minute2: return num(t.minute, 2, true);
    case Field::Minute: return num(t.minute, 2, false);
    case Field::Second2: return num(t.second, 2, true);
    case Field::Second: return num(t.second, 2, false);
    case Field::Milliseconds: return num(t.milliseconds, 3, true);
    case Field::Hundredths: return num(t.milliseconds / 10, 2, true);
    case Field::Tenths: return num(t.milliseconds / 100, 0, false);
  }
  return {};
}

}  // namespace

NumberPiece FormatSigned(int64_t value, int width, bool zero_pad) {
  const bool negative = value < 0;
  const uint64_t magnitude =
      negative ? uint64_t{0} - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  return Render(negative, magnitude, width, zero_pad);
}

NumberPiece FormatUnsigned(uint64_t value, int width, bool zero_pad) {
  return Render(false, value, width, zero_pad);
}

void FormatDateTime(TextBuffer& out, const TimeRecord& time, std::u16string_view pattern) {
  out.clear();
  const size_t end = std::min(pattern.find(u'\0'), pattern.size());
  pattern = pattern.substr(0, end);

  size_t pos = 0;
  while (pos < pattern.size()) {
    const std::u16string_view rest = pattern.substr(pos);
    NumberPiece number;
    std::u16string_view piece = rest.substr(0, 1);
    size_t consumed = 1;
    for (const Token& token : kTokens) {
      if (rest.starts_with(token.text)) {
        piece = Piece(token.field, time, number);
        consumed = token.text.size();
        break;
      }
    }
    // The scan ends at the first piece that would reach the 520th character.
    if (!out.append(piece)) return;
    pos += consumed;
  }
}
