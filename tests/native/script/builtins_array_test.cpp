#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "builtins_fixture.h"

namespace {

using ArrayBuiltins = BuiltinsTest;

TEST_F(ArrayBuiltins, SortOrdersByUnsignedTextShorterFirst) {
  SetArray("A", {I(10), I(9), S("b"), S("B"), S("\xC3\xA9"), S(""), I(-1), S("ab"), S("a")});
  EXPECT_EQ(CallInt("SORTARRAY", {S("a")}), 1);
  EXPECT_EQ(Texts("A"), (std::vector<std::string>{"", "-1", "10", "9", "B", "a", "ab", "b", "\xC3\xA9"}));
  ScriptValue sorted = variables().get("A");
  EXPECT_FALSE(sorted.elements[2].isString);  // 10 is still an integer
  EXPECT_EQ(sorted.elements[2].intValue, 10);
  EXPECT_EQ(CallInt("SORTARRAYDESC", {S("A")}), 1);
  EXPECT_EQ(Texts("A"), (std::vector<std::string>{"\xC3\xA9", "b", "ab", "a", "B", "9", "10", "-1", ""}));
}

// Sorting must agree with a plain sort of the texts on a large shuffled
// array (the keys are built once, not per comparison).
TEST_F(ArrayBuiltins, SortMatchesReferenceOnManyElements) {
  std::mt19937 random(7);
  std::vector<ScriptValue> elements;
  std::vector<std::string> reference;
  for (int i = 0; i < 20000; ++i) {
    int32_t n = static_cast<int32_t>(random() % 100000) - 50000;
    std::string key = "s";
    key += std::to_string(n);
    elements.push_back(i % 2 ? I(n) : S(key));
    reference.push_back(ToString(elements.back()));
  }
  SetArray("BIG", elements);
  Call("SORTARRAY", {S("big")});
  std::sort(reference.begin(), reference.end());
  EXPECT_EQ(Texts("BIG"), reference);
}

TEST_F(ArrayBuiltins, StatusResults) {
  variables().ref("STR") = S("abc");
  struct Case {
    const char* function;
    std::vector<ScriptValue> args;
    int32_t result;
  };
  const std::vector<Case> cases = {
      {"SORTARRAY", {S("absent")}, 0},      {"SORTARRAY", {S("str")}, 0},
      {"SORTARRAYDESC", {S("absent")}, 0},  {"UNIQARRAY", {S("str")}, 0},
      {"DELEMPTYARRAY", {S("absent")}, 0},  {"DELARRAYITEM", {S("str"), I(0)}, 0},
      {"ARRAYTOMULTILINESTRING", {S("str")}, 0},
      {"MULTILINETOSTRINGARRAY", {S("absent")}, 0},
      {"ARRAYSIZE", {S("str")}, 0},         {"ARRAYSIZE", {S("1x")}, -1},
  };
  for (const Case& c : cases) EXPECT_EQ(CallInt(c.function, c.args), c.result) << c.function;
  EXPECT_FALSE(variables().contains("ABSENT"));
  EXPECT_EQ(ToString(variables().get("STR")), "abc");
  EXPECT_TRUE(errors().empty());
}

TEST_F(ArrayBuiltins, EveryInvalidNameReportsItsFunction) {
  const std::vector<std::pair<std::vector<ScriptValue>, const char*>> cases = {
      {{S("SORTARRAY"), S("1")}, "SortArray"},
      {{S("SORTARRAYDESC"), S("1")}, "SortArrayDesc"},
      {{S("UNIQARRAY"), S("1")}, "UniqArray"},
      {{S("DELEMPTYARRAY"), S("1")}, "DelEmptyArray"},
      {{S("DELARRAYITEM"), S("1"), I(0)}, "DelArrayItem"},
      {{S("RESIZE"), S("1"), I(2)}, "Resize"},
      {{S("ARRAYINIT"), S("1"), I(2)}, "ArrayInit"},
      {{S("ARRAYADD"), S("1")}, "ArrayAdd"},
      {{S("MULTILINETOSTRINGARRAY"), S("1")}, "MultiLineToStringArray"},
      {{S("ARRAYTOMULTILINESTRING"), S("1")}, "ArrayToMultiLineString"},
      {{S("REGEX_SEARCH"), S("abc"), S("b"), S("ok"), S("1")}, "Regex_Search"},
      {{S("REGEX_SEARCH"), S("abc"), S("b"), S("i"), S("1"), S("ok")}, "Regex_Search"},
  };
  for (const auto& [call, function] : cases) {
    errors().clear();
    std::vector<ScriptValue> args(call.begin() + 1, call.end());
    EXPECT_EQ(CallInt(call[0].text, args), -1) << function;
    ASSERT_EQ(errors().size(), 1u) << function;
    EXPECT_EQ(errors()[0].code, 115);
    EXPECT_EQ(errors()[0].line, -1);
    EXPECT_EQ(errors()[0].text, std::string("The array variable name is invalid in function ") + function + "().");
  }
  EXPECT_FALSE(variables().contains("OK"));
}

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

}  // namespace
