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

}  // namespace
