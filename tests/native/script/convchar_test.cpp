#include "script/convchar.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

using Pairs = std::vector<std::pair<std::u16string, std::u16string>>;

const ConvCharTable& Table(char name) {
  for (const ConvCharTable& table : ConvCharTables())
    if (table.name == name) return table;
  throw std::logic_error("no such table");
}

// Expected contents, derived from the character rows rather than copied
// from the implementation's entries.
Pairs ExpectedHiragana() {
  const std::u16string hira =
      u"がぎぐげござじずぜぞだぢづでどばぱびぴぶぷべぺぼぽ"
      u"ぁあぃいぅうぇえぉおかきくけこさしすせそたちっつてとなにぬねのはひふへほまみむめもゃやゅゆょよらりるれろゎわゐゑをん";
  Pairs pairs;
  for (char16_t c : hira) pairs.push_back({std::u16string(1, c), std::u16string(1, char16_t(c + 0x60))});
  return pairs;
}

Pairs ExpectedKatakana() {
  const std::u16string voiced_full = u"ガギグゲゴザジズゼゾダヂヅデドバパビピブプベペボポ";
  const std::u16string voiced_base = u"ｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾊﾊﾋﾋﾌﾌﾍﾍﾎﾎ";
  const std::u16string voiced_mark = u"ﾞﾞﾞﾞﾞﾞﾞﾞﾞﾞﾞﾞﾞﾞﾞﾞﾟﾞﾟﾞﾟﾞﾟﾞﾟ";
  const std::u16string plain_full =
      u"ァアィイゥウェエォオカキクケコサシスセソタチッツテトナニヌネノハヒフヘホマミムメモャヤュユョヨラリルレロワヮヰヱヲン゛゜ー";
  const std::u16string plain_half =
      u"ｧｱｨｲｩｳｪｴｫｵｶｷｸｹｺｻｼｽｾｿﾀﾁｯﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓｬﾔｭﾕｮﾖﾗﾘﾙﾚﾛﾜﾜｲｴｦﾝﾞﾟｰ";
  Pairs pairs;
  for (size_t i = 0; i < voiced_full.size(); ++i)
    pairs.push_back({voiced_full.substr(i, 1), std::u16string{voiced_base[i], voiced_mark[i]}});
  for (size_t i = 0; i < plain_full.size(); ++i) pairs.push_back({plain_full.substr(i, 1), plain_half.substr(i, 1)});
  return pairs;
}

Pairs Run(char16_t from_left, char16_t from_right, int count) {
  Pairs pairs;
  for (int i = 0; i < count; ++i)
    pairs.push_back({std::u16string(1, char16_t(from_left + i)), std::u16string(1, char16_t(from_right + i))});
  return pairs;
}

Pairs Concat(Pairs a, const Pairs& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

Pairs ExpectedSymbols() {
  const std::u16string full = u"\u3000！”＃＄％＆’（）＊＋，－．／：；＜＝＞？＠［￥］＾＿｀｛｜｝～「」。、";
  const std::u16string half = u" !\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~｢｣｡､";
  Pairs pairs;
  for (size_t i = 0; i < full.size(); ++i) pairs.push_back({full.substr(i, 1), half.substr(i, 1)});
  return pairs;
}

Pairs ExpectedEscapes() {
  const std::map<int, std::u16string> named = {{7, u"\\a"}, {8, u"\\b"}, {9, u"\\t"},
                                                 {10, u"\\n"}, {12, u"\\f"}, {13, u"\\r"}};
  const char16_t* hex = u"0123456789abcdef";
  Pairs pairs;
  for (int c = 1; c <= 0x1A; ++c) {
    std::u16string control(1, char16_t(c));
    if (named.count(c)) pairs.push_back({control, named.at(c)});
    pairs.push_back({control, std::u16string{u'\\', u'x', hex[c >> 4], hex[c & 15]}});
  }
  return pairs;
}

Pairs ExpectedCarets() {
  Pairs pairs;
  for (int c = 1; c <= 0x1A; ++c) pairs.push_back({std::u16string(1, char16_t(c)), std::u16string{u'^', char16_t(u'@' + c)}});
  return pairs;
}

struct TableCase {
  char name;
  Pairs expected;
};

std::vector<TableCase> AllTables() {
  return {
      {'H', ExpectedHiragana()},
      {'K', ExpectedKatakana()},
      {'A', Concat(Run(u'Ａ', u'A', 26), Run(u'ａ', u'a', 26))},
      {'N', Run(u'０', u'0', 10)},
      {'S', ExpectedSymbols()},
      {'F', Run(u'Ａ', u'ａ', 26)},
      {'L', Run(u'A', u'a', 26)},
      {'E', ExpectedEscapes()},
      {'C', ExpectedCarets()},
  };
}

std::string Utf8(const std::u16string& s) {
  std::string out;
  for (char16_t c : s) out += (c < 0x80 ? std::string(1, char(c)) : "U+" + std::to_string(int(c)));
  return out;
}

TEST(ConvCharTables, EntriesInOrder) {
  const std::string order = "HKANSFLEC";
  ASSERT_EQ(ConvCharTables().size(), order.size());
  for (size_t t = 0; t < order.size(); ++t) EXPECT_EQ(ConvCharTables()[t].name, order[t]);
  const std::map<char, size_t> sizes = {{'H', 83}, {'K', 86}, {'A', 52}, {'N', 10}, {'S', 37},
                                        {'F', 26}, {'L', 26}, {'E', 32}, {'C', 26}};
  for (const TableCase& c : AllTables()) {
    const ConvCharTable& table = Table(c.name);
    ASSERT_EQ(c.expected.size(), sizes.at(c.name)) << c.name;
    ASSERT_EQ(table.entries.size(), c.expected.size()) << c.name;
    for (size_t i = 0; i < c.expected.size(); ++i) {
      EXPECT_EQ(table.entries[i].left, c.expected[i].first) << c.name << " entry " << i;
      EXPECT_EQ(table.entries[i].right, c.expected[i].second) << c.name << " entry " << i;
    }
  }
}

// Forward, every entry's left side becomes its right side unless an earlier
// entry for the same character already wins (\a before \x07).
TEST(ConvCharTables, EveryEntryForward) {
  for (const TableCase& c : AllTables()) {
    const ConvCharTable& table = Table(c.name);
    std::map<std::u16string, std::u16string> first;
    for (const auto& [left, right] : c.expected) first.emplace(left, right);
    for (const auto& [left, right] : c.expected) {
      EXPECT_EQ(ConvertCharacters(left, table.forward_flag), first.at(left))
          << c.name << " " << Utf8(left);
    }
  }
}

// Backward, every right side is recognised; where two entries share it, the
// earlier one decides (ﾜ becomes ワ, not ヮ; both \a and \x07 give BEL).
TEST(ConvCharTables, EveryEntryBackward) {
  for (const TableCase& c : AllTables()) {
    const ConvCharTable& table = Table(c.name);
    std::map<std::u16string, std::u16string> first;
    for (const auto& [left, right] : c.expected) first.emplace(right, left);
    for (const auto& [left, right] : c.expected) {
      EXPECT_EQ(ConvertCharacters(right, table.reverse_flag), first.at(right))
          << c.name << " " << Utf8(right);
    }
  }
}

TEST(ConvChar, PassOrderAndDirections) {
  struct Case {
    std::u16string in;
    uint32_t flags;
    std::u16string out;
  };
  const std::vector<Case> cases = {
      {u"が", 0x10 | 0x40, u"ｶﾞ"},           // two groups act on one character
      {u"ｶﾞ", 0x80, u"ガ"},                   // two-unit form first
      {u"ｶﾞｳﾞ", 0x80, u"ガウ゛"},             // no entry for ヴ: base and mark separately
      {u"ｶﾞ", 0x20 | 0x80, u"ガ"},            // H runs before K, so no hiragana
      {u"あア", 0x10 | 0x20, u"アア"},        // forward wins over reverse
      {u"ﾜｲｴ", 0x80, u"ワイエ"},
      {u"\x07", 0x40000, u"\\a"},
      {u"\\a\\x07\\x0A", 0x80000, u"\x07\x07\\x0A"},  // upper-case hex is not an escape
      {u"\t", 0x40000 | 0x100000, u"\\t"},           // escape before caret
      {u"^I^@", 0x200000, u"\t^@"},
      {u"Ａｂ１！", 0x100 | 0x400 | 0x1000, u"Ab1!"},
      {u"Ab1!", 0x200 | 0x800 | 0x2000, u"Ａｂ１！"},
      {u"Ａ", 0x100 | 0x4000, u"A"},          // A runs before F
      {u"ＡＢ", 0x4000 | 0x8000, u"ａｂ"},
      {u"aB", 0x20000, u"AB"},
      {u"", 0x3FFFF0, u""},
      {u"abc", 0, u"abc"},
  };
  for (const Case& c : cases) EXPECT_EQ(ConvertCharacters(c.in, c.flags), c.out) << Utf8(c.in);
}

TEST(ConvChar, TabExpansion) {
  struct Case {
    std::u16string in;
    uint32_t flags;
    std::u16string out;
  };
  const std::vector<Case> cases = {
      {u"ab\tc", 0x400000, u"ab  c"},
      {u"あ\tc", 0x400000, u"あ  c"},       // wide characters take two columns
      {u"ｱ\tc", 0x400000, u"ｱ   c"},        // half-width katakana take one
      {u"abcd\te", 0x400000, u"abcd    e"}, // a TAB at a stop still moves a full stop
      {u"ab\r\n\tc", 0x400000, u"ab\r\n    c"},
      {u"a\tb", 0x800000, u"a       b"},
      {u"a\tb", 0x400000 | 0x800000, u"a   b"},  // 4 wins over 8
      {u"\t\t", 0x800000, std::u16string(16, u' ')},
      {u"é\t", 0x400000, u"é   "},           // Latin-1 is narrow
  };
  for (const Case& c : cases) EXPECT_EQ(ConvertCharacters(c.in, c.flags), c.out) << Utf8(c.in);
}

TEST(ConvChar, TabExpansionAfterTables) {
  // The table pass runs first: full-width to half-width changes the columns.
  EXPECT_EQ(ConvertCharacters(u"ア\tx", 0x40 | 0x400000), u"ｱ   x");
  EXPECT_EQ(ConvertCharacters(u"ア\tx", 0x400000), u"ア  x");
}

TEST(ConvChar, Utf8Boundary) {
  EXPECT_EQ(ConvCharUtf8("が", 0x50), "ｶﾞ");
  EXPECT_EQ(ConvCharUtf8("ab\tc", 0x400000), "ab  c");
  EXPECT_EQ(ConvCharUtf8("", 0xFFFFFFFF), "");
}

TEST(ConvChar, LongText) {
  std::u16string text;
  for (int i = 0; i < 20000; ++i) text += u"がア";
  std::u16string out = ConvertCharacters(text, 0x10 | 0x40);
  EXPECT_EQ(out.size(), text.size() / 2 * 3);
  EXPECT_EQ(out.substr(0, 3), u"ｶﾞｱ");
}

}  // namespace
