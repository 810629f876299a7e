#include <gtest/gtest.h>

#include <boost/regex.hpp>

#include <random>
#include <string>
#include <vector>

#include "builtins_fixture.h"
#include "script/builtins_regex.h"

namespace {

using RegexBuiltins = BuiltinsTest;

// Positions are UTF-8 byte counts whatever the width of the characters in
// front: two, three and four bytes (a surrogate pair where wchar_t is 16-bit).
TEST_F(RegexBuiltins, PositionsInUtf8Bytes) {
  struct Case {
    std::string text;
    std::string expression;
    std::vector<std::string> starts;
    std::vector<std::string> lengths;
  };
  const std::vector<Case> cases = {
      {"\xC3\xA9x\xC3\xA9x", "x", {"2", "5"}, {"1", "1"}},
      {"\xE3\x81\x82x", "x", {"3"}, {"1"}},
      {"\xF0\x9F\x98\x80x\xF0\x9F\x98\x80", "x|\xF0\x9F\x98\x80", {"0", "4", "5"}, {"4", "1", "4"}},
      {"ab\xE3\x81\x82\xE3\x81\x84", "\xE3\x81\x82.", {"2"}, {"6"}},
      // A malformed byte is read as U+FFFD, three bytes in the converted text.
      {"\xFFx", "x", {"3"}, {"1"}},
  };
  for (const Case& c : cases) {
    variables().clear();
    EXPECT_EQ(CallInt("REGEX_SEARCH", {S(c.text), S(c.expression), S("st"), S("ln")}),
              static_cast<int32_t>(c.starts.size()));
    EXPECT_EQ(Texts("ST"), c.starts) << c.expression;
    EXPECT_EQ(Texts("LN"), c.lengths) << c.expression;
  }
}

// Matching is on UTF-16 units on every platform: a character outside the
// basic plane is two units, as in the Windows program.
TEST_F(RegexBuiltins, CharactersBeyondTheBasicPlaneAreTwoUnits) {
  const std::string smile = "\xF0\x9F\x98\x80";
  struct Case {
    std::string text, expression;
    int32_t matched;
  };
  const std::vector<Case> matches = {
      {smile, ".", 0}, {smile, "..", 1}, {smile, smile, 1}, {"a" + smile + "b", "a..b", 1}, {smile, "[^a]{2}", 1},
  };
  for (const Case& c : matches) {
    EXPECT_EQ(CallInt("REGEX_MATCH", {S(c.text), S(c.expression)}), c.matched) << c.expression;
  }
  EXPECT_EQ(CallText("REGEX_REPLACE", {S("a" + smile + "b"), S("."), S("x")}), "xxxx");
  EXPECT_EQ(CallText("REGEX_REPLACE", {S(smile + "ab"), S(".."), S("<$0>")}), "<" + smile + "><ab>");
  EXPECT_EQ(CallInt("REGEX_SEARCH", {S(smile + smile), S("."), S("st"), S("ln")}), 4);
  EXPECT_EQ(Texts("LN"), (std::vector<std::string>{"4", "0", "4", "0"}));
}

TEST_F(RegexBuiltins, SameArrayForStartsAndLengths) {
  EXPECT_EQ(CallInt("REGEX_SEARCH", {S("a--a"), S("a"), S("both"), S("BOTH")}), 2);
  // Each match writes its start, then its length, into the same elements.
  EXPECT_EQ(Texts("BOTH"), (std::vector<std::string>{"1", "1"}));
}

TEST_F(RegexBuiltins, LibraryFailuresBecomeResults) {
  const std::string many_a(40, 'a');
  const std::vector<std::string> bad = {"(a", "[z-a]", "a{2,1}", "\\", "*a", "(?<n", "a)"};
  for (const std::string& expression : bad) {
    EXPECT_EQ(CallInt("REGEX_MATCH", {S("abc"), S(expression)}), -1) << expression;
    EXPECT_EQ(CallText("REGEX_REPLACE", {S("abc"), S(expression), S("x")}), "") << expression;
    EXPECT_EQ(CallInt("REGEX_SEARCH", {S("abc"), S(expression)}), -1) << expression;
  }
  // The complexity limit of the matcher.
  EXPECT_EQ(CallInt("REGEX_MATCH", {S(many_a + "b"), S("(a*)*(a*)*c")}), -1);
  EXPECT_EQ(CallInt("REGEX_SEARCH", {S(many_a + "b"), S("(a*)*(a*)*c")}), -1);
  EXPECT_EQ(CallText("REGEX_REPLACE", {S(many_a + "b"), S("(a*)*(a*)*c"), S("x")}), "");
  EXPECT_TRUE(errors().empty());
  EXPECT_EQ(run().exitState, kRunning);
}

TEST_F(RegexBuiltins, OptionsAndFormat) {
  EXPECT_EQ(CallInt("REGEX_MATCH", {S("ABC"), S("abc"), S("-i-")}), 1);
  EXPECT_EQ(CallInt("REGEX_MATCH", {S("ABC"), S("abc"), S("x")}), 0);
  EXPECT_EQ(CallInt("REGEX_SEARCH", {S("a\nb"), S("$")}), 2);
  EXPECT_EQ(CallInt("REGEX_SEARCH", {S("a\nb"), S("$"), S("S")}), 1);
  EXPECT_EQ(CallText("REGEX_REPLACE", {S("2026-12-08"), S("(\\d+)-(\\d+)-(\\d+)"), S("$3.$2.$1")}), "08.12.2026");
  EXPECT_EQ(CallText("REGEX_REPLACE", {S("\xE3\x81\x82\xE3\x81\x84"), S("\xE3\x81\x84"), S("[$&]")}),
            "\xE3\x81\x82[\xE3\x81\x84]");
  EXPECT_EQ(CallText("REGEX_REPLACE", {S("\xF0\x9F\x98\x80!"), S("!"), S("?")}), "\xF0\x9F\x98\x80?");
}

// ASCII texts are matched as bytes; the results must be those of the wide
// matcher, including escapes that name characters beyond a byte.
TEST_F(RegexBuiltins, AsciiAndWideAgree) {
  struct Case {
    std::string text;
    std::string expression;
    int32_t matches;
  };
  const std::vector<Case> cases = {
      {"a", "\\x{3042}", 0},          {"\xE3\x81\x82", "\\x{3042}", 1},
      {"abc", "\\x{62}", 1},          {"abc", "[\\x{00}-\\x{1FF}]", 3},
      {"a-b", "[^a-z]", 1},             {"a\xC3\xA9" "b", "[^a-z]", 1},
      {"ab", ".", 2},                   {"a\xE3\x81\x82" "b", ".", 3},
      {"x_1 y", "\\w+", 2},           {"ABC", "(?i)abc", 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CallInt("REGEX_SEARCH", {S(c.text), S(c.expression)}), c.matches) << c.expression;
  }
  EXPECT_EQ(CallText("REGEX_REPLACE", {S("abc"), S("\\x{62}"), S("\xE3\x81\x82")}), "a\xE3\x81\x82" "c");
  EXPECT_EQ(CallInt("REGEX_MATCH", {S("a"), S("\\x{3042}|a")}), 1);
}

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

// Replacement texts built at random from the pieces that matter to the
// format, with group numbers short enough for the library to read safely:
// the built-in must write exactly what the library (with the C library's
// character traits, as the built-in uses) writes from the text as given.
TEST_F(RegexReplaceGroups, ShortReferencesWriteWhatTheLibraryWrites) {
  const std::vector<std::string> pieces = {"$", "$", "${", "{", "}", "\\", "\\c", "\\x", "0", "1", "3", "9",
                                           "12", "+", "&", "`", "'", "^N", "MATCH", "n", "a", "\\U"};
  std::mt19937 random(17);
  const boost::basic_regex<char, boost::c_regex_traits<char>> pattern("(b)(x)?(?<n>c)");
  int compared = 0;
  for (int i = 0; i < 3000; ++i) {
    std::string format;
    const size_t length = random() % 8;
    for (size_t k = 0; k < length; ++k) format += pieces[random() % pieces.size()];
    bool safe = true;
    for (size_t k = 0, run = 0; k < format.size(); ++k) {
      run = format[k] >= '0' && format[k] <= '9' ? run + 1 : 0;
      if (run > 4) safe = false;
    }
    if (!safe) continue;
    const std::string expected = boost::regex_replace(std::string("abcd"), pattern, format);
    EXPECT_EQ(CallText("REGEX_REPLACE", {S("abcd"), S("(b)(x)?(?<n>c)"), S(format)}), expected) << format;
    ++compared;
  }
  EXPECT_GT(compared, 2000);
}

}  // namespace

namespace {

using Pattern = boost::basic_regex<char, boost::c_regex_traits<char>>;

// Every match of `expression` in `text` as "start,length" of each group, or
// "error" when the library refuses the expression.
std::string AllMatches(const std::string& expression, const std::string& text, bool icase) {
  std::string out;
  try {
    const Pattern re(expression, icase ? boost::regex_constants::icase : boost::regex_constants::normal);
    using Iterator = boost::regex_iterator<std::string::const_iterator, char, boost::c_regex_traits<char>>;
    for (Iterator it(text.begin(), text.end(), re), end; it != end; ++it) {
      for (size_t g = 0; g < it->size(); ++g) {
        out += (*it)[g].matched ? std::to_string(it->position(g)) + "," + std::to_string(it->length(g)) : "-";
        out += ' ';
      }
      out += '|';
    }
  } catch (const boost::regex_error&) {
    return "error";
  }
  return out;
}

const std::vector<std::string> kSubjects = {
    "", "a", "abc 123 ABC", "x1y22z333", "  \t\n__..--", "[a]-[b]", "aaa+bbb", "Word, words; 42.5%",
};

}  // namespace

// A leading one-character repeat is split so that the library can skip to
// its first characters; everything else reaches the library unchanged.
TEST(RegexLeadingRepeat, SplitsOnlyWhatItReadsWithoutDoubt) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"[0-9]+", "[0-9][0-9]*"},
      {"\\d+x", "\\d\\d*x"},
      {"((a+)b)", "((aa*)b)"},
      {".+", "..*"},
      {"\\.+", "\\.\\.*"},
      {"[[:alpha:]_]+|x", "[[:alpha:]_][[:alpha:]_]*|x"},
      {"[^\\]a-]+", "[^\\]a-][^\\]a-]*"},
      {"a+?", "a+?"},
      {"a++", "a++"},
      {"a+{2}", "a+{2}"},
      {"a+*", "a+*"},
      {"(?i)a+", "(?i)a+"},
      {"(*ACCEPT)a+", "(*ACCEPT)a+"},
      {"[]a]+", "[]a]+"},
      {"[\\c]]+", "[\\c]]+"},
      {"[\\Q]\\E]+", "[\\Q]\\E]+"},
      {"[[=a=]]+", "[[=a=]]+"},
      {"\\x{41}+", "\\x{41}+"},
      {"\\<+", "\\<+"},
      {"\xC3\xA9+", "\xC3\xA9+"},
      {"[\xC3\xA9]+", "[\xC3\xA9]+"},
      {"ab+", "ab+"},
      {"a*", "a*"},
      {"+", "+"},
      {"[a", "[a"},
      {"", ""},
  };
  for (const auto& [expression, expected] : cases) {
    EXPECT_EQ(SplitLeadingRepeat(expression), expected) << expression;
    for (const std::string& text : kSubjects) {
      for (bool icase : {false, true}) {
        EXPECT_EQ(AllMatches(SplitLeadingRepeat(expression), text, icase), AllMatches(expression, text, icase))
            << expression << " on \"" << text << '"';
      }
    }
  }
}

// Expressions put together at random from atoms, repeats and tails: the split
// form finds exactly the matches and groups of the original, or both fail.
TEST(RegexLeadingRepeat, SplitFormMatchesLikeTheOriginal) {
  const std::vector<std::string> heads = {"", "(", "((", "(?:", "^"};
  const std::vector<std::string> atoms = {"a", "B", "1", ".", "\\d", "\\W", "\\s", "\\.", "\\-", "[a-c]",
                                          "[^0-9 ]", "[[:upper:]x]", "[\\d.]", "[\\]]", "\\+"};
  const std::vector<std::string> repeats = {"+", "+", "+?", "++", "*", "{2}", ""};
  const std::vector<std::string> tails = {"", ")", "))", "b", "\\b", "(c)?", "|x", "\\1", "$", "+", "){1,2}", "\\d*"};
  std::mt19937 random(29);
  int split = 0;
  for (int i = 0; i < 4000; ++i) {
    const std::string expression = heads[random() % heads.size()] + atoms[random() % atoms.size()] +
                                   repeats[random() % repeats.size()] + tails[random() % tails.size()] +
                                   tails[random() % tails.size()];
    const std::string rewritten = SplitLeadingRepeat(expression);
    if (rewritten == expression) continue;
    ++split;
    const std::string& text = kSubjects[random() % kSubjects.size()];
    const bool icase = random() % 2 == 0;
    EXPECT_EQ(AllMatches(rewritten, text, icase), AllMatches(expression, text, icase))
        << expression << " on \"" << text << '"';
  }
  EXPECT_GT(split, 500);
}

// A run keeps the expressions it compiled: every answer stays the one a
// fresh compile gives, whatever came before in the run — other options,
// other widths, more expressions than are kept, refusals and long ones.
TEST_F(RegexBuiltins, KeptExpressionsGiveTheAnswersOfAFreshCompile) {
  const std::string e_acute = "\xC3\xA9";
  std::string long_expression = "(?:";
  long_expression.append(1500, 'a');
  long_expression += ")?b+";
  struct Call {
    std::string text, expression, options;
    int32_t matches;
  };
  std::vector<Call> calls = {
      {"aAa", "a", "", 2},
      {"aAa", "a", "I", 3},
      {"a" + e_acute + "a", "a", "", 2},
      {"x", "\\x{3042}", "", 0},
      {"\xE3\x81\x82", "\\x{3042}", "", 1},
      {"x", "(", "", -1},
      {"bbb", long_expression, "", 1},
      {"b" + e_acute + "b", long_expression, "", 2},
  };
  for (int i = 0; i < 20; ++i) {
    const std::string number = std::to_string(i);
    calls.push_back({'k' + number + 'k', number, "", 1});
  }
  for (int round = 0; round < 3; ++round) {
    for (const Call& c : calls) {
      EXPECT_EQ(CallInt("REGEX_SEARCH", {S(c.text), S(c.expression), S(c.options)}), c.matches)
          << c.expression.substr(0, 20) << " round " << round;
    }
  }
  EXPECT_EQ(CallText("REGEX_REPLACE", {S("x1y"), S("("), S("z")}), "");
  EXPECT_EQ(CallInt("REGEX_MATCH", {S("x"), S("(")}), -1);
}
