#include "settings/combo_history.h"

#include <gtest/gtest.h>

namespace {

using Texts = std::vector<std::u16string>;

TEST(ComboHistory, MostRecentFirstAndMoveToFront) {
  ComboHistory h;
  EXPECT_TRUE(h.Record(u"A"));
  EXPECT_TRUE(h.Record(u"B"));
  EXPECT_TRUE(h.Record(u"C"));
  EXPECT_EQ(h.entries(), (Texts{u"C", u"B", u"A"}));
  EXPECT_TRUE(h.Record(u"B"));
  EXPECT_EQ(h.entries(), (Texts{u"B", u"C", u"A"}));
  // Already first: nothing changes, nothing is to be written.
  EXPECT_FALSE(h.Record(u"B"));
  EXPECT_EQ(h.entries(), (Texts{u"B", u"C", u"A"}));
  // Exact comparison: case differs, so it is a new entry.
  EXPECT_TRUE(h.Record(u"b"));
  EXPECT_EQ(h.entries().front(), u"b");
  EXPECT_EQ(h.entries().size(), 4u);
}

TEST(ComboHistory, SeventeenthDropsTheOldest) {
  ComboHistory h;
  for (int i = 0; i < 17; ++i) h.Record(std::u16string(1, char16_t(u'a' + i)));
  ASSERT_EQ(h.entries().size(), ComboHistory::kCapacity);
  EXPECT_EQ(h.entries().front(), u"q");
  EXPECT_EQ(h.entries().back(), u"b");  // "a" went
}

TEST(ComboHistory, EmptyTextIsNotRecorded) {
  ComboHistory h;
  h.Record(u"x");
  EXPECT_FALSE(h.Record(u""));
  EXPECT_EQ(h.entries(), (Texts{u"x"}));
}

TEST(ComboHistory, LoadStopsAtFirstEmptyAndAtCapacity) {
  ComboHistory h;
  // An INI section with keys 0, 1 and 3 reads as "0", "1", "" (key 2), "3".
  h.Load({u"zero", u"one", u"", u"three"});
  EXPECT_EQ(h.entries(), (Texts{u"zero", u"one"}));
  Texts many;
  for (int i = 0; i < 20; ++i) many.push_back(std::u16string(1, char16_t(u'a' + i)));
  h.Load(many);
  EXPECT_EQ(h.entries().size(), ComboHistory::kCapacity);
  EXPECT_EQ(h.entries().back(), u"p");
}

TEST(ComboHistory, MultiStringRoundTrip) {
  const Texts entries{u"C:\\a.wav", u"b", u"日本語"};
  const std::u16string data = JoinMultiString(entries);
  // Total length = 1 + sum of (entry length + 1).
  EXPECT_EQ(data.size(), 1u + (8 + 1) + (1 + 1) + (3 + 1));
  EXPECT_EQ(SplitMultiString(data), entries);
  EXPECT_EQ(JoinMultiString({}), std::u16string(1, u'\0'));
  EXPECT_TRUE(SplitMultiString(std::u16string(1, u'\0')).empty());
  // Without the final terminators the last string still counts; after an
  // empty string nothing is taken.
  EXPECT_EQ(SplitMultiString(std::u16string(u"x\0y", 3)), (Texts{u"x", u"y"}));
  EXPECT_EQ(SplitMultiString(std::u16string(u"x\0\0y\0", 5)), (Texts{u"x"}));
}

}  // namespace
