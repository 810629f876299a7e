#include <gtest/gtest.h>

#include <climits>

#include "script/constant_table.h"
#include "script/value.h"

namespace {

ScriptValue Str(const char* s) { return MakeString(s); }
ScriptValue Int(int32_t n) { return MakeInteger(n); }

TEST(TextToInteger, FollowsTheDecimalTextRule) {
  struct Case {
    const char* text;
    int32_t expected;
  } cases[] = {
      {"", 0},          {" -12abc", -12},          {"99999999999", INT32_MAX},
      {"-99999999999", INT32_MIN}, {"2147483647", INT32_MAX}, {"-2147483648", INT32_MIN},
      {"2147483648", INT32_MAX}, {"+3", 3},       {"0x10", 0},
      {"\t\n\v\f\r 7", 7}, {"- 5", 0},           {"abc", 0},
      {"00012", 12},    {"123456789012345678901234567890", INT32_MAX},
  };
  for (const Case& c : cases) EXPECT_EQ(TextToInteger(c.text), c.expected) << '"' << c.text << '"';
}

TEST(ScriptValueConversions, ToStringAndToInteger) {
  EXPECT_EQ(ToString(Int(INT32_MIN)), "-2147483648");
  EXPECT_EQ(ToString(Int(0)), "0");
  EXPECT_EQ(ToString(Int(-7)), "-7");
  EXPECT_EQ(ToInteger(Str(" -12abc")), -12);
  ScriptValue array;
  ElementAt(array, 2) = Int(5);
  array.text = "X";
  array.intValue = 9;
  EXPECT_EQ(ToString(array), "X");  // an array shows its own name
  EXPECT_EQ(ToInteger(array), 9);
}

TEST(ScriptValueTruth, ConditionAndNumericTruthDifferForStrings) {
  struct Case {
    ScriptValue value;
    bool condition;
    bool numeric;
  } cases[] = {
      {Str("0"), true, false}, {Str("abc"), true, false}, {Str(""), false, false},
      {Str("3x"), true, true}, {Int(0), false, false},    {Int(-1), true, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ConditionTruth(c.value), c.condition) << ToString(c.value);
    EXPECT_EQ(NumericTruth(c.value), c.numeric) << ToString(c.value);
  }
}

TEST(ScriptValueCompare, EqualitiesAndOrdering) {
  EXPECT_TRUE(LooseEquals(Str("1"), Int(1)));
  EXPECT_FALSE(StrictEquals(Str("1"), Int(1)));
  EXPECT_TRUE(StrictEquals(Str("a"), Str("a")));
  EXPECT_FALSE(LooseEquals(Str("01"), Int(1)));
  EXPECT_LT(CompareOrder(Str("10"), Int(9)), 0);  // text order when a side is a string
  EXPECT_LT(CompareOrder(Int(2), Int(10)), 0);
  EXPECT_GT(CompareOrder(Str("b"), Str("abc")), 0);
  EXPECT_LT(CompareOrder(Str("ab"), Str("abc")), 0);  // a proper prefix sorts first
  EXPECT_GT(CompareOrder(Str("\xC3\xA9"), Str("z")), 0);  // bytes compare unsigned
  EXPECT_LT(CompareOrder(Int(INT32_MIN), Int(INT32_MAX)), 0);
  // strict equality looks at isString only, not at isArray
  ScriptValue array;
  ElementAt(array, 0);
  array.intValue = 4;
  EXPECT_TRUE(StrictEquals(array, Int(4)));
}

TEST(ScriptValueElements, AccessTurnsAValueIntoAnArray) {
  ScriptValue y = Str("abc");
  ElementAt(y, 2);
  EXPECT_TRUE(y.isArray);
  EXPECT_TRUE(y.isString);
  EXPECT_EQ(y.text, "abc");
  ASSERT_EQ(y.elements.size(), 3u);
  for (const ScriptValue& e : y.elements) EXPECT_FALSE(e.isString || e.isArray || e.intValue);
  ElementAt(y, 0) = Int(7);
  EXPECT_EQ(y.elements.size(), 3u);  // reading below the count does not shrink or grow
  EXPECT_EQ(y.elements[0].intValue, 7);
}

// Values keep everything through a move and through the moves of an array
// growing around them; the source keeps its flags and loses its text.
TEST(ScriptValueMove, KeepsEveryKindOfValue) {
  ScriptValue array = Str("name");
  ElementAt(array, 1) = Str("x");
  ElementAt(array, 2) = Int(-3);
  const std::string long_text(100, 'q');
  const std::vector<ScriptValue> values = {Int(0),  Int(42),        Str(""), Str("short"),
                                           Str(long_text.c_str()), array};
  auto same = [](const ScriptValue& a, const ScriptValue& b) {
    return a.isString == b.isString && a.isArray == b.isArray && a.intValue == b.intValue && a.text == b.text &&
           StrictEquals(a, b) && a.elements.size() == b.elements.size();
  };
  std::vector<ScriptValue> grown;
  for (const ScriptValue& original : values) {
    ScriptValue source = original;
    ScriptValue moved(std::move(source));
    EXPECT_TRUE(same(moved, original)) << original.text;
    EXPECT_TRUE(source.text.empty());
    EXPECT_EQ(source.isString, original.isString);
    ScriptValue assigned = Int(9);
    assigned = std::move(moved);
    EXPECT_TRUE(same(assigned, original)) << original.text;
    for (int i = 0; i < 20; ++i) grown.push_back(original);
  }
  for (std::size_t i = 0; i < grown.size(); ++i) EXPECT_TRUE(same(grown[i], values[i / 20])) << i;
  EXPECT_EQ(grown.back().elements[1].text, "x");
  EXPECT_EQ(grown.back().elements[2].intValue, -3);
}

TEST(VariableStoreTest, ExactNamesRefCreatesEraseAndClear) {
  VariableStore store;
  EXPECT_FALSE(store.contains("A"));
  EXPECT_EQ(store.get("A").intValue, 0);
  store.ref("A") = Int(1);
  store.ref("A$") = Str("x");
  EXPECT_TRUE(store.contains("A"));
  EXPECT_FALSE(store.contains("a"));  // names compare byte for byte
  EXPECT_EQ(store.size(), 2u);
  EXPECT_EQ(store.names(), (std::vector<std::string>{"A", "A$"}));
  VariableSlot& slot = store.slot("A");
  uint32_t generation = store.generation();
  EXPECT_TRUE(store.erase("A"));
  EXPECT_FALSE(store.erase("A"));
  EXPECT_FALSE(store.contains("A"));
  EXPECT_EQ(&store.slot("A"), &slot);  // erasing keeps the slot for cached readers
  EXPECT_EQ(store.generation(), generation);
  store.ref("A") = Int(2);
  EXPECT_EQ(slot.value.intValue, 2);
  store.clear();
  EXPECT_EQ(store.size(), 0u);
  EXPECT_NE(store.generation(), generation);  // cached slots are void now
}

TEST(VariableStoreTest, GenerationsNeverRepeatAcrossStores) {
  // A slot cache filled from one store must not look valid for another one,
  // whether that is a fresh store or an old one cleared.
  VariableStore first;
  VariableStore second;
  EXPECT_NE(first.generation(), second.generation());
  const uint32_t before = second.generation();
  first.clear();
  EXPECT_NE(first.generation(), before);
  EXPECT_NE(first.generation(), 0u);  // caches start out at 0, meaning empty
}

TEST(ConstantTableTest, SortedUniqueAndLookedUpCaseInsensitively) {
  for (std::size_t i = 1; i < kConstantTable.size(); ++i)
    EXPECT_LT(kConstantTable[i - 1].name, kConstantTable[i].name) << kConstantTable[i].name;
  struct Case {
    const char* name;
    int32_t value;
  } cases[] = {
      {"TRUE", 1},           {"isnt", 1},           {"NULL", 0},          {"MaxInteger", INT32_MAX},
      {"MININTEGER", INT32_MIN}, {"CC_TAB_8SP", 0x800000}, {"CC_HIRA_KATA", 0x10}, {"VK_0", 0x30},
      {"VK_Z", 0x5A},        {"VK_HANGEUL", 0x15},  {"VK_HANGUL", 0x15},  {"VK_KANA", 0x15},
      {"VK_HANJA", 0x19},    {"VK_KANJI", 0x19},    {"VK_OEM_FJ_JISHO", 0x92}, {"VK_OEM_NEC_EQUAL", 0x92},
      {"SM_CXSCREEN", 0},    {"SM_CMETRICS", 97},   {"vk_f24", 0x87},
  };
  for (const Case& c : cases) {
    auto value = LookupConstant(c.name);
    ASSERT_TRUE(value.has_value()) << c.name;
    EXPECT_EQ(*value, c.value) << c.name;
  }
  EXPECT_FALSE(LookupConstant("VK_").has_value());
  EXPECT_FALSE(LookupConstant("TRUE$").has_value());
  EXPECT_FALSE(LookupConstant("").has_value());
}

TEST(ConstantTableTest, GroupSizes) {
  std::size_t sm = 0, vk = 0, cc = 0;
  for (const ConstantRow& row : kConstantTable) {
    sm += row.name.starts_with("SM_");
    vk += row.name.starts_with("VK_");
    cc += row.name.starts_with("CC_");
  }
  EXPECT_EQ(sm, 99u);
  EXPECT_EQ(vk, 196u);
  EXPECT_EQ(cc, 20u);
  EXPECT_EQ(kConstantTable.size() - sm - vk - cc, 12u);
}

}  // namespace
