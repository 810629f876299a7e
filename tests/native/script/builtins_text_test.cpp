#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

#include "builtins_fixture.h"
#include "script/builtin_args.h"
#include "script/builtins_array.h"
#include "script/builtins_regex.h"
#include "script/builtins_text.h"

namespace {

TEST(BuiltinRows, CountsAndSharedHandlers) {
  struct Row {
    const char* name;
    uint16_t min;
    uint16_t max;
  };
  constexpr uint16_t any = kNoArgLimit;
  const std::vector<Row> rows = {
      {"ABS", 1, 1}, {"ARRAYADD", 1, any}, {"ARRAYINIT", 1, any}, {"ARRAYSIZE", 1, 1},
      {"ARRAYTOMULTILINESTRING", 1, 2}, {"ASCIICODE", 1, 1}, {"CHR", 1, 1}, {"CLAMP", 3, 3},
      {"CONVCHAR", 2, 2}, {"DELARRAYITEM", 2, 2}, {"DELCTRLC", 2, 2}, {"DELEMPTYARRAY", 1, 1},
      {"ENDSWITH", 2, 2}, {"FORMAT", 1, any}, {"GETASCIICODE", 2, 2}, {"INSCRLF", 3, 3},
      {"JOIN", 1, 2}, {"LCLITE", 2, 2}, {"LEFT", 2, 2}, {"LEN", 1, 1}, {"MAX", 1, any},
      {"MBLEFT", 2, 2}, {"MBMID", 3, 3}, {"MBRIGHT", 2, 2}, {"MBSTRLEN", 1, 1},
      {"MBSTRSTR", 2, 2}, {"MBSTRSTRI", 2, 2}, {"MBSUBSTR", 3, 3}, {"MBSUBSTRING", 3, 3},
      {"MID", 3, 3}, {"MIN", 1, any}, {"MULTILINETOSTRINGARRAY", 1, 1}, {"PADLEFT", 2, 3},
      {"PADRIGHT", 2, 3}, {"RAND", 0, 0}, {"REGEX_MATCH", 2, 3}, {"REGEX_REPLACE", 3, 4},
      {"REGEX_SEARCH", 2, 5}, {"REPLACE", 2, 3}, {"RESIZE", 2, 2}, {"RIGHT", 2, 2},
      {"SORTARRAY", 1, 1}, {"SORTARRAYDESC", 1, 1}, {"SPLIT", 3, 3}, {"SQRT", 1, 1},
      {"SRAND", 0, 1}, {"STARTSWITH", 2, 2}, {"STRCMP", 2, 2}, {"STRCMPI", 2, 2},
      {"STRLEN", 1, 1}, {"STRLWR", 1, 1}, {"STRSTR", 2, 2}, {"STRSTRI", 2, 2},
      {"STRUPR", 1, 1}, {"SUBSTR", 3, 3}, {"SUBSTRING", 3, 3}, {"TOINT", 1, 1},
      {"TOSTR", 1, 1}, {"TOSTR16", 1, 1}, {"TOSTR2", 1, 1}, {"TRIMLEFT", 1, 2},
      {"TRIMRIGHT", 1, 2}, {"TYPEOF", 1, 1}, {"UNIQARRAY", 1, 1},
  };
  ASSERT_EQ(rows.size(), kTextBuiltinRows.size() + kArrayBuiltinRows.size() + kRegexBuiltinRows.size());
  for (const Row& row : rows) {
    const BuiltinRow* found = FindBuiltin(row.name);
    ASSERT_NE(found, nullptr) << row.name;
    EXPECT_EQ(found->minArgs, row.min) << row.name;
    EXPECT_EQ(found->maxArgs, row.max) << row.name;
  }
  const std::vector<std::vector<const char*>> shared = {
      {"ARRAYSIZE", "LEN"}, {"ASCIICODE", "CHR"}, {"MID", "SUBSTR", "SUBSTRING"},
      {"MBMID", "MBSUBSTR", "MBSUBSTRING"}};
  for (const auto& group : shared) {
    for (const char* name : group) EXPECT_EQ(FindBuiltin(name)->handler, FindBuiltin(group[0])->handler) << name;
  }
}

TEST(ArrayNameRule, ValidAndInvalid) {
  const std::vector<std::pair<std::string, bool>> cases = {
      {"A", true},     {"_", true},    {"_9", true},   {"ABC_12", true}, {"", false},
      {"1A", false},   {"A B", false}, {"A$", false},  {"A-B", false},   {"É", false},
      {"A\nB", false}, {"9", false},   {"Z9Z", true},  {"a", true},
  };
  for (const auto& [name, valid] : cases) EXPECT_EQ(IsValidArrayName(name), valid) << name;
}

TEST(CharacterRule, LengthFromLeadByte) {
  const std::vector<std::pair<std::string, size_t>> cases = {
      {"a", 1},          {"\xC3\xA9", 2}, {"\xE3\x81\x82", 3}, {"\xF0\x9F\x98\x80", 4},
      {"\x80xyz", 1},    {"\xFF\xFF", 1}, {"\xF8\x80\x80", 1}, {"\xE3\x81", 2},
      {"\xF0\x9F", 2},   {"\xC3", 1},
  };
  for (const auto& [text, length] : cases) EXPECT_EQ(CharLengthAt(text, 0), length) << text;
}

using TextBuiltins = BuiltinsTest;

// Texts handed in by the host can hold zero bytes; the C-library style
// functions stop there while the byte functions count them.
TEST_F(TextBuiltins, ZeroBytes) {
  const std::string with_zero("ab\0c", 4);
  EXPECT_EQ(CallInt("STRLEN", {S(with_zero)}), 4);
  EXPECT_EQ(CallInt("STRCMP", {S(with_zero), S("ab")}), 0);
  EXPECT_EQ(CallInt("STRCMP", {S(with_zero), S("abc")}), -1);
  EXPECT_EQ(CallInt("STRCMPI", {S(with_zero), S("AB")}), 0);
  EXPECT_EQ(CallText("FORMAT", {S("[%s]"), S(with_zero)}), "[ab]");
  EXPECT_EQ(CallInt("STRSTR", {S(with_zero), S("c")}), 3);
}

TEST_F(TextBuiltins, CaseBlindCompareLowerCases) {
  // Lower-casing puts '_' (0x5F) before every letter.
  EXPECT_LT(CallInt("STRCMPI", {S("_"), S("A")}), 0);
  EXPECT_LT(CallInt("STRCMPI", {S("A"), S("b")}), 0);
  EXPECT_GT(CallInt("STRCMPI", {S("abd"), S("ABC")}), 0);
  EXPECT_LT(CallInt("STRCMPI", {S("ab"), S("abc")}), 0);
  EXPECT_GT(CallInt("STRCMPI", {S("\xC3\xA9"), S("z")}), 0);
}

// The range error must not be a std::runtime_error: the entry point would
// then report code 106 instead of the unknown-error code 199.
TEST_F(TextBuiltins, RightWithNegativeCountEndsTheRun) {
  try {
    Call("RIGHT", {S("abc"), I(-1)});
    FAIL() << "no exception";
  } catch (const std::runtime_error&) {
    FAIL() << "runtime_error";
  } catch (const std::out_of_range&) {
  }
  EXPECT_EQ(CallText("RIGHT", {S("abc"), I(2147483647)}), "abc");
}

TEST_F(TextBuiltins, ArgumentConversions) {
  ScriptValue array;
  array.isArray = true;
  array.text = "ARR";
  array.intValue = 7;
  EXPECT_EQ(CallInt("STRLEN", {array}), 3);  // an array's text is its name
  EXPECT_EQ(CallText("TOSTR", {array}), "ARR");
  EXPECT_EQ(CallInt("TOINT", {array}), 7);   // and its integer is intValue
  EXPECT_EQ(CallText("LEFT", {I(-123), S("2")}), "-1");
  EXPECT_EQ(CallText("MID", {S("abcdef"), S("  3x"), S("2")}), "cd");
  EXPECT_EQ(CallText("TOSTR16", {S("255")}), "FF");
}

TEST_F(TextBuiltins, LargeTexts) {
  std::string big;
  for (int i = 0; i < 200000; ++i) big += "ab,";
  EXPECT_EQ(CallText("REPLACE", {S(big), S(","), S(";;")}).size(), big.size() / 3 * 4);
  EXPECT_EQ(CallInt("SPLIT", {S(big), S(","), S("parts")}), 200001);
  EXPECT_EQ(variables().get("PARTS").elements.back().text, "");
  EXPECT_EQ(CallText("JOIN", {S("parts"), S(",")}), big);
  EXPECT_EQ(CallText("LCLITE", {S(std::string(100000, '\n')), S("ab")}).size(), 200000u);
}

TEST_F(TextBuiltins, SplitResetsTheVariable) {
  ScriptValue& old = variables().ref("V");
  old = MakeString("was a string");
  old.intValue = 9;
  EXPECT_EQ(CallInt("SPLIT", {S("x|y"), S("|"), S("v")}), 2);
  ScriptValue v = variables().get("V");
  EXPECT_TRUE(v.isArray);
  EXPECT_FALSE(v.isString);
  EXPECT_EQ(v.intValue, 0);
  EXPECT_EQ(v.text, "V");
  EXPECT_EQ(Texts("V"), (std::vector<std::string>{"x", "y"}));
  EXPECT_TRUE(v.elements[0].isString);
}

TEST_F(TextBuiltins, InvalidArrayNameReports) {
  struct Case {
    const char* function;
    std::vector<ScriptValue> args;
    ScriptValue result;
    const char* english;
  };
  const std::vector<Case> cases = {
      {"SPLIT", {S("a"), S(","), S("1x")}, I(-1), "The array variable name is invalid in function split()."},
      {"JOIN", {S("")}, S(""), "The array variable name is invalid in function join()."},
  };
  for (const Case& c : cases) {
    errors().clear();
    run().exitState = kRunning;
    ScriptValue result = Call(c.function, c.args);
    EXPECT_TRUE(StrictEquals(result, c.result)) << c.function;
    ASSERT_EQ(errors().size(), 1u) << c.function;
    EXPECT_EQ(errors()[0].code, 115);
    EXPECT_EQ(errors()[0].line, -1);
    EXPECT_EQ(errors()[0].text, c.english);
    EXPECT_EQ(run().exitState, kStopping) << c.function;
  }
  // TYPEOF answers "invalid" without any report.
  errors().clear();
  EXPECT_EQ(CallText("TYPEOF", {S("1x")}), "invalid");
  EXPECT_TRUE(errors().empty());
  run().japanese = true;
  Call("SPLIT", {S("a"), S(","), S("")});
  ASSERT_EQ(errors().size(), 1u);
  EXPECT_EQ(errors()[0].text, "split()で指定されている配列変数名が無効です。変数名を文字列で指定してください。");
}

TEST_F(TextBuiltins, NameLookupIgnoresConstants) {
  EXPECT_EQ(CallText("TYPEOF", {S("true")}), "undefined");
  EXPECT_EQ(CallText("JOIN", {S("TRUE")}), "");
  EXPECT_FALSE(variables().contains("TRUE"));
}

TEST(ScriptRandom, EachThreadStartsAtOne) {
  SeedScriptRandom(12345);
  int32_t first_on_new_thread = -1;
  std::thread([&] { first_on_new_thread = NextScriptRandom(); }).join();
  EXPECT_EQ(first_on_new_thread, 41);
  SeedScriptRandom(1);
  const std::vector<int32_t> expected = {41, 18467, 6334, 26500, 19169};
  for (int32_t value : expected) EXPECT_EQ(NextScriptRandom(), value);
}

}  // namespace
