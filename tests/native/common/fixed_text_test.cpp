#include "common/fixed_text.h"

#include <gtest/gtest.h>

#include <string>

TEST(FixedText, AppendTakesWholePiecesOnlyAndStopsAtTheLastThatFits) {
  FixedText<6> t;  // five characters and the terminator
  EXPECT_TRUE(t.append(u"ab"));
  EXPECT_TRUE(t.append(u"cd"));
  EXPECT_FALSE(t.append(u"ef"));  // would make six
  EXPECT_EQ(t.view(), u"abcd");
  EXPECT_TRUE(t.append(u"e"));
  EXPECT_EQ(t.size(), 5u);
  EXPECT_EQ(t.c_str()[5], u'\0');
  EXPECT_FALSE(t.push_back(u'x'));
}

TEST(FixedText, AssignCutsAtCapacityAndSaysSo) {
  TextBuffer t;
  const std::u16string long_text(600, u'x');
  EXPECT_FALSE(t.assign(long_text));
  EXPECT_EQ(t.size(), 519u);
  EXPECT_TRUE(t.assign(u"short"));
  EXPECT_EQ(t, std::u16string_view(u"short"));
}

TEST(FixedText, SyncSizeTerminatesAnUnterminatedPlatformWrite) {
  FixedText<4> t;
  for (int i = 0; i < 4; ++i) t.data()[i] = u'z';  // no terminator at all
  t.sync_size();
  EXPECT_EQ(t.view(), u"zzz");
  t.data()[1] = 0;
  t.sync_size();
  EXPECT_EQ(t.view(), u"z");
}
