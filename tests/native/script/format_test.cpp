#include "script/format.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

FormatArgument Int(int32_t n) { return {n, std::to_string(n)}; }
FormatArgument Str(std::string s) { return {0, std::move(s)}; }

struct Case {
  std::string format;
  std::vector<FormatArgument> args;
  std::string expected;
};

TEST(FormatText, Conversions) {
  const std::vector<Case> cases = {
      {"%5.2d|%-4s|%c|%", {Int(3), Str("ab"), Int(65)}, "   03|ab  |%c|%"},
      {"100%%", {}, "100%"},
      {"%d%%%d", {Int(1), Int(2)}, "1%2"},
      {"%i %u %o %x %X", {Int(-1), Int(-1), Int(8), Int(255), Int(255)}, "-1 4294967295 10 ff FF"},
      {"%+d % d %05d %-5d|", {Int(5), Int(5), Int(-42), Int(7)}, "+5  5 -0042 7    |"},
      {"%#x %#o", {Int(255), Int(8)}, "0xff 010"},
      {"%.3s|%5.1s|%-3s|", {Str("abcdef"), Str("xyz"), Str("q")}, "abc|    x|q  |"},
      {"%s", {Int(-12)}, "-12"},    // an integer's text
      {"%d %d", {Int(1)}, "1 %d"},   // no argument left: copied
      {"%s", {}, "%s"},
      {"%ld", {Int(5)}, "%ld"},  // a length modifier is not a conversion
      {"%*d", {Int(5)}, "%*d"},
      {"%f|%d", {Int(1), Int(2)}, "%f|1"},  // unknown conversions use no argument
      {"abc%", {}, "abc%"},
      {"%-5", {Int(1)}, "%-5"},
      {"%5.", {Int(1)}, "%5."},
      {"%d", {Int(1), Int(2), Int(3)}, "1"},  // surplus ignored
      {"%05s", {Str("ab")}, "   ab"},
      {"%-%", {Int(1)}, "%-%"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatText(c.format, c.args), c.expected) << c.format;
}

TEST(FormatText, TextEndsAtZeroByte) {
  std::vector<FormatArgument> args = {Str(std::string("ab\0cd", 5))};
  EXPECT_EQ(FormatText("[%s]", args), "[ab]");
}

// Each conversion keeps at most 4095 bytes, whatever width or precision
// asks for, and never takes time or memory in proportion to them.
TEST(FormatText, ConversionCap) {
  struct CapCase {
    std::string format;
    FormatArgument arg;
    char first;
    char last;
  };
  const std::vector<CapCase> cases = {
      {"%99999d", Int(7), ' ', ' '},
      {"%099999d", Int(-7), '-', '0'},
      {"%-99999d", Int(7), '7', ' '},
      {"%.99999d", Int(7), '0', '0'},
      {"%2147483647d", Int(7), ' ', ' '},
      {"%99999999999999999999d", Int(7), ' ', ' '},
      {"%9999s", Str("x"), ' ', ' '},
      {"%-9999s", Str("x"), 'x', ' '},
      {"%s", Str(std::string(5000, 'y')), 'y', 'y'},
  };
  for (const CapCase& c : cases) {
    std::string out = FormatText(c.format, std::vector<FormatArgument>{c.arg});
    ASSERT_EQ(out.size(), kFormatConversionLimit) << c.format;
    EXPECT_EQ(out.front(), c.first) << c.format;
    EXPECT_EQ(out.back(), c.last) << c.format;
  }
  // The cap is per conversion, not for the whole result.
  std::vector<FormatArgument> two = {Int(1), Int(2)};
  EXPECT_EQ(FormatText("%9999d%9999d", two).size(), 2 * kFormatConversionLimit);
}

// A reduced huge width must leave the kept bytes exactly as the full width
// would: right-justified digits far past the cut are not visible, but a
// width just over the limit still shows its tail.
TEST(FormatText, WidthNearCapKeepsContent) {
  std::vector<FormatArgument> one = {Int(123)};
  struct NearCase {
    std::string format;
    size_t at;
    std::string piece;
  };
  const std::vector<NearCase> cases = {
      {"%4098d", 4092, "   "},
      {"%4097d", 4092, "  1"},
      {"%4096d", 4093, "12"},
      {"%6000.5000d", 999, " 0"},   // precision reduced together with the width
      {"%-6000.5000d", 4090, "00000"},
  };
  for (const NearCase& c : cases) {
    std::string out = FormatText(c.format, one);
    ASSERT_EQ(out.size(), kFormatConversionLimit) << c.format;
    EXPECT_EQ(out.substr(c.at, c.piece.size()), c.piece) << c.format;
  }
}

}  // namespace

namespace {

// Decimal conversions without a precision are written without the C library;
// they must read exactly as the library writes them, at every width and with
// every flag, the extremes of the range included.
TEST(FormatText, DecimalsReadAsTheLibraryWritesThem) {
  const int32_t values[] = {0, 7, -7, 42, -42, 99999, 2147483647, -2147483647 - 1};
  const char* shapes[] = {"%d", "%i", "%1d", "%2d", "%05d", "%011d", "%012d", "%64d", "%064d", "%65d",
                          "%-5d", "%+d", "% d", "%.3d", "%5.3d", "%00d", "%0i"};
  for (const char* shape : shapes) {
    for (int32_t value : values) {
      char expected[128];
      std::snprintf(expected, sizeof expected, shape, static_cast<int>(value));
      EXPECT_EQ(FormatText(shape, std::vector<FormatArgument>{Int(value)}), expected) << shape << ' ' << value;
    }
  }
}

}  // namespace
