#include "app/notice.h"

#include <gtest/gtest.h>

namespace {

TEST(PendingNotice, JoinsTextsAndKeepsTheHighestLevel) {
  struct Step {
    const char16_t* text;
    int level;
    std::u16string_view joined;
    int pending_level;
  } steps[] = {
      {u"one", 1, u"one", 1},
      {u"two", 3, u"one\r\n-----\r\ntwo", 3},
      {u"three", 2, u"one\r\n-----\r\ntwo\r\n-----\r\nthree", 3},
  };
  PendingNotice n;
  for (const Step& s : steps) {
    EXPECT_TRUE(ApplyNotify(n, true, s.text, s.level));
    EXPECT_EQ(n.text(), s.joined);
    EXPECT_EQ(n.level(), s.pending_level);
  }
}

TEST(ApplyNotify, FollowsTheNotifyRule) {
  PendingNotice n;
  // Text without a window: collected, not shown.
  EXPECT_FALSE(ApplyNotify(n, false, u"a", 2));
  EXPECT_EQ(n.text(), u"a");
  // Window without text: shows what pends, and showing keeps it.
  EXPECT_TRUE(ApplyNotify(n, true, nullptr, 0));
  EXPECT_TRUE(ApplyNotify(n, true, nullptr, 0));
  EXPECT_EQ(n.text(), u"a");
  EXPECT_EQ(n.level(), 2);
  // No window and no text: reset.
  EXPECT_FALSE(ApplyNotify(n, false, nullptr, 0));
  EXPECT_TRUE(n.empty());
  EXPECT_EQ(n.level(), 0);
  // Nothing pending: nothing to show.
  EXPECT_FALSE(ApplyNotify(n, true, nullptr, 0));
  // An empty text is appended (with its separator) yet nothing shows while all is empty.
  EXPECT_FALSE(ApplyNotify(n, true, u"", 1));
  EXPECT_EQ(n.level(), 1);
}

TEST(PendingNotice, LowerLevelDoesNotLowerAndResetClearsLevel) {
  PendingNotice n;
  n.Append(u"x", 3);
  n.Append(u"y", 1);
  EXPECT_EQ(n.level(), 3);
  n.Reset();
  n.Append(u"z", 1);
  EXPECT_EQ(n.level(), 1);
  EXPECT_EQ(n.text(), u"z");
}

TEST(PendingNotice, BalloonShowsAtMost255Characters) {
  PendingNotice n;
  n.Append(std::u16string(300, u'a'), 1);
  EXPECT_EQ(n.BalloonText().size(), 255u);
  EXPECT_EQ(n.text().size(), 300u);  // the pending text itself is kept whole

  PendingNotice short_one;
  short_one.Append(u"short", 1);
  EXPECT_EQ(short_one.BalloonText(), u"short");

  // A surrogate pair straddling the limit is left out rather than cut in two.
  PendingNotice pair;
  pair.Append(std::u16string(254, u'a') + u"\U0001F600" + u"b", 1);
  EXPECT_EQ(pair.BalloonText().size(), 254u);
  PendingNotice exact;
  exact.Append(std::u16string(253, u'a') + u"\U0001F600" + u"b", 1);
  EXPECT_EQ(exact.BalloonText().size(), 255u);
}

}  // namespace

namespace {

TEST(ExitSaveFailureText, NamesEveryFailedKeyInBothLanguages) {
  const std::u16string lines = u".\\kirabi.ini[qz] - LEFT write error.\r\n-----\r\n.\\kirabi.ini[qz] - TOP write error.";
  const struct {
    Language language;
    std::u16string_view intro;
  } cases[] = {
      {Language::English, u"The settings could not be saved at exit. Changes made since the start were not saved."},
      {Language::Japanese, u"終了時に設定を保存できませんでした。起動後の変更は保存されていません。"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ExitSaveFailureText(c.language, lines), std::u16string(c.intro) + u"\r\n\r\n" + lines);
  }
}

TEST(ExitSaveFailureText, CountsTheKeysBeyondTheFirstTen) {
  std::u16string lines;
  std::u16string first_ten;
  for (int i = 0; i < 25; ++i) {
    std::u16string line = u"K";
    line += char16_t(u'A' + i);
    line += u" write error.";
    if (i > 0) lines += kNoticeSeparator;
    lines += line;
    if (i > 0 && i < 10) first_ten += kNoticeSeparator;
    if (i < 10) first_ten += line;
  }
  const std::u16string en = ExitSaveFailureText(Language::English, lines);
  EXPECT_EQ(en.substr(en.find(u"\r\n\r\n") + 4), first_ten + u"\r\n-----\r\nand 15 more keys");
  const std::u16string ja = ExitSaveFailureText(Language::Japanese, lines);
  const std::u16string_view ja_end = u"\r\n-----\r\nほか 15 個のキー";
  EXPECT_EQ(ja.substr(ja.size() - ja_end.size()), ja_end);
  // Exactly ten lines are all listed.
  EXPECT_EQ(ExitSaveFailureText(Language::English, first_ten).find(u"more keys"), std::u16string::npos);
}

}  // namespace
