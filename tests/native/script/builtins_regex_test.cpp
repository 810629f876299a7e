#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "builtins_fixture.h"

namespace {

using RegexReplaceGroups = BuiltinsTest;

// Each replacement runs once on an ASCII subject (matched as bytes) and once
// on a subject with a two-byte character (matched wide); both must give the
// same text around the one group of "(b)" or "(é)".
TEST_F(RegexReplaceGroups, GroupReferencesReadAlikeOnBothPaths) {
  struct Case {
    std::string format;
    std::string expected;  // with "G" standing for the matched group
  };
  const std::vector<Case> cases = {
      {"$1", "G"},
      {"${1}", "G"},
      {"$0$&", "GG"},
      {"$2", ""},
      {"$2147483647", ""},
      {"${2147483647}", ""},
      {"$2147483648", ""},
      {"$4294967297", ""},
      {"${4294967297}", ""},
      {"$18446744073709551617", ""},
      {"$1$99$1", "GG"},
      {"$99x", "x"},
      {"$$99", "$99"},
      {"\\$99", "$99"},
      {"\\1\\2", "G"},
      // "\c" turns the next character, even a '$', into a control character.
      {"\\c$99", "\x04" "99"},
      {"\\c$1", "\x04" "1"},
      {"\\U$99x", "X"},
      {"$+{$2147483647}", ""},
      {"${99", "${99"},
      {"$ 1", "$ 1"},
      {"${ 2147483647}", "${ 2147483647}"},
      {"$", "$"},
      {"\\", "\\"},
  };
  auto with_group = [](const std::string& expected, const std::string& group) {
    std::string out;
    for (char c : expected) {
      if (c == 'G') {
        out += group;
      } else {
        out += c;
      }
    }
    return out;
  };
  for (const Case& c : cases) {
    const std::string ascii = with_group(c.expected, "b");
    const std::string wide = with_group(c.expected, "\xC3\xA9");
    EXPECT_EQ(CallText("REGEX_REPLACE", {S("abc"), S("(b)"), S(c.format)}), "a" + ascii + "c") << c.format;
    EXPECT_EQ(CallText("REGEX_REPLACE", {S("a\xC3\xA9" "c"), S("(\xC3\xA9)"), S(c.format)}), "a" + wide + "c")
        << c.format;
  }
  EXPECT_TRUE(errors().empty());
}

}  // namespace
