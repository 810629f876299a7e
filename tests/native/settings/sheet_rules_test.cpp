#include "settings/sheet_rules.h"

#include <gtest/gtest.h>

namespace {

TEST(SheetRules, ReadUnsignedField) {
  const struct {
    std::u16string_view text;
    uint32_t value;
  } cases[] = {{u"0", 0},     {u"23", 23},  {u" 24 ", 24},  {u"", 0},
               {u"-1", 0},    {u"12a", 0},  {u"4294967295", 4294967295u},
               {u"99999999999", 4294967295u}};
  for (const auto& c : cases) {
    EXPECT_EQ(ReadUnsignedField(c.text), c.value) << std::string(c.text.begin(), c.text.end());
  }
}

// Each case breaks one field of otherwise valid input; the first failing
// check in order wins, so earlier fields hide later ones.
TEST(SheetRules, GeneralChecksInOrderWithTheirTexts) {
  const GeneralChecks valid{};
  EXPECT_EQ(FirstFailedCheck(valid), nullptr);
  const GeneralChecks edge{23, 59, 59, 500, 59, 59, 9999};
  EXPECT_EQ(FirstFailedCheck(edge), nullptr);

  struct Case {
    GeneralChecks fields;
    std::u16string_view ja;
    std::u16string_view en;
  };
  GeneralChecks hour = valid, minute = valid, second = valid, low = valid, high = valid, alarm = valid,
                chime = valid, clear0 = valid, clear_big = valid, all = {24, 60, 60, 19, 60, 60, 0};
  hour.hour = 24;
  minute.minute = 60;
  second.second = 60;
  low.interval = 19;
  high.interval = 501;
  alarm.alarm_before = 60;
  chime.chime_before = 60;
  clear0.clear_seconds = 0;
  clear_big.clear_seconds = 10000;
  const Case cases[] = {
      {hour, u"アラームの時は 0～23 で入力してください。", u"You must input 0-23 in Hour of Alarm."},
      {minute, u"アラームの分は 0～59 で入力してください。", u"You must input 0-59 in Minute of Alarm."},
      {second, u"アラームの秒は 0～59 で入力してください。", u"You must input 0-59 in Second of Alarm."},
      {low, u"「時計がマウスを追いかける間隔」は 20～500 で入力してください。",
       u"You must input 20-500 in Refresh[msec]."},
      {high, u"「時計がマウスを追いかける間隔」は 20～500 で入力してください。",
       u"You must input 20-500 in Refresh[msec]."},
      {alarm, u"アラームの「○秒前から」は 0～59 で入力してください。", u"You must input 0-59 in before ** sec."},
      {chime, u"時報の「○秒前から」は 0～59 で入力してください。", u"You must input 0-59 in before ** sec."},
      {clear0, u"クリップボードクリアまでの秒数は 1～9999 で入力してください。",
       u"You must input 1-9999 in Empties Clipboard[sec]."},
      {clear_big, u"クリップボードクリアまでの秒数は 1～9999 で入力してください。",
       u"You must input 1-9999 in Empties Clipboard[sec]."},
      {all, u"アラームの時は 0～23 で入力してください。", u"You must input 0-23 in Hour of Alarm."},
  };
  for (const Case& c : cases) {
    const TextPair* failed = FirstFailedCheck(c.fields);
    ASSERT_NE(failed, nullptr);
    EXPECT_EQ(failed->In(Language::Japanese), c.ja);
    EXPECT_EQ(failed->In(Language::English), c.en);
  }
  // The chime message differs from the alarm one only in Japanese.
  EXPECT_NE(FirstFailedCheck(chime), FirstFailedCheck(GeneralChecks{0, 0, 0, 20, 60, 0, 1}));
}

TEST(SheetRules, NumericFieldFilter) {
  EXPECT_TRUE(IsSignedDigitsText(u"-12"));
  EXPECT_TRUE(IsSignedDigitsText(u""));
  EXPECT_TRUE(IsSignedDigitsText(u"-"));
  EXPECT_TRUE(IsSignedDigitsText(u"0"));
  EXPECT_FALSE(IsSignedDigitsText(u"1-2"));
  EXPECT_FALSE(IsSignedDigitsText(u"--1"));
  EXPECT_FALSE(IsSignedDigitsText(u"+1"));
  EXPECT_FALSE(IsSignedDigitsText(u"1 "));
  EXPECT_FALSE(IsSignedDigitsText(u"１"));  // full-width digit
}

TEST(SheetRules, CountdownCarries) {
  const struct {
    TimeOfDay now, duration, target;
  } cases[] = {
      {{23, 50, 20}, {0, 30, 45}, {0, 21, 5}},
      {{10, 0, 0}, {0, 0, 0}, {10, 0, 0}},
      {{10, 59, 59}, {0, 0, 1}, {11, 0, 0}},
      {{22, 0, 0}, {23, 59, 59}, {21, 59, 59}},
      {{0, 0, 0}, {99, 99, 99}, {4, 40, 39}},  // two-digit fields at their most
  };
  for (const auto& c : cases) {
    const TimeOfDay t = CountdownTarget(c.now, c.duration);
    EXPECT_EQ(t.hour, c.target.hour);
    EXPECT_EQ(t.minute, c.target.minute);
    EXPECT_EQ(t.second, c.target.second);
  }
}

TEST(SheetRules, FontFacesAndSizes) {
  EXPECT_EQ(FilterFontFaces({u"Arial", u"@MS Gothic", u"MS Gothic", u"Arial", u""}),
            (std::vector<std::u16string>{u"Arial", u"MS Gothic"}));
  EXPECT_FALSE(IsValidFontSize(4));
  EXPECT_TRUE(IsValidFontSize(5));
  EXPECT_TRUE(IsValidFontSize(1638));
  EXPECT_FALSE(IsValidFontSize(1639));
  const std::vector<int>& sizes = FontSizeList();
  EXPECT_EQ(sizes.size(), 30u);
  EXPECT_EQ(sizes.front(), 5);
  EXPECT_EQ(sizes[12], 18);
  EXPECT_EQ(sizes.back(), 96);
}

TEST(SheetRules, CornerList) {
  const auto en = CornerListTexts(2, Language::English);
  ASSERT_EQ(en.size(), 16u);
  EXPECT_EQ(en[0], u"Right Bottom Corner of Workarea on the Monitor No.1");
  EXPECT_EQ(en[7], u"Left Top Corner of Screen on the Monitor No.1");
  EXPECT_EQ(en[9], u"Left Bottom Corner of Workarea on the Monitor No.2");
  EXPECT_EQ(CornerListTexts(1, Language::Japanese)[4], u"第1モニタの画面の右下");
  EXPECT_EQ(CornerListIndex(0, 1), 0);
  EXPECT_EQ(CornerListIndex(8, 1), 7);
  EXPECT_EQ(CornerListIndex(9, 1), 0);   // the second monitor is gone
  EXPECT_EQ(CornerListIndex(9, 2), 8);
  EXPECT_EQ(CornerListIndex(-3, 2), 0);
}

TEST(SheetRules, ClipboardDelay) {
  EXPECT_EQ(ClipboardDelayIndex(5), 5);
  EXPECT_EQ(ClipboardDelayIndex(6), 0);
  EXPECT_EQ(ClipboardDelayIndex(-1), 0);
  EXPECT_EQ(ClipboardDelayTexts(Language::English)[3], u"0.5 sec");
  EXPECT_EQ(ClipboardDelayTexts(Language::Japanese)[0], u"遅延しない");
}

TEST(SheetRules, DriveEntriesAndPercentClamp) {
  EXPECT_EQ(DriveEntryText(2, 0, 2, Language::English), u"Drive C - Do not monitor");
  EXPECT_EQ(DriveEntryText(0, 0, 0, Language::Japanese), u"ドライブA - 設定なし");
  EXPECT_EQ(DriveEntryText(3, 500, 2, Language::English), u"Drive D - Warning when free space is less than 500MB");
  EXPECT_EQ(DriveEntryText(25, 10, 0, Language::Japanese), u"ドライブZ - 空き容量が 10%未満になったら警告する");
  EXPECT_EQ(ClampThreshold(150, kPercentUnit), 100);
  EXPECT_EQ(ClampThreshold(100, kPercentUnit), 100);
  EXPECT_EQ(ClampThreshold(150, 2), 150);
  EXPECT_EQ(ClampThreshold(5000000000LL, 3), 2147483647);
  EXPECT_EQ(ClampThreshold(-4, 1), 0);
  EXPECT_EQ(ThresholdAfterUnitChange(150, kPercentUnit), 0);
  EXPECT_EQ(ThresholdAfterUnitChange(99, kPercentUnit), 99);
  EXPECT_EQ(ThresholdAfterUnitChange(150, 4), 150);
}

TEST(SheetRules, ColorTextIsRedGreenBlue) {
  EXPECT_EQ(ColorText(0x000000), u"[000000]");
  EXPECT_EQ(ColorText(0x0000FF), u"[FF0000]");   // COLORREF red
  EXPECT_EQ(ColorText(0xAB00CD), u"[CD00AB]");
  EXPECT_EQ(ColorText(0x00FF00), u"[00FF00]");
  EXPECT_EQ(ColorText(0x123456), u"[563412]");
}

TEST(SheetRules, HotkeyDuplicates) {
  const uint32_t ctrl_alt_k = 0x064B;
  EXPECT_TRUE(HasDuplicateHotkey({0, ctrl_alt_k, 0, 0, ctrl_alt_k}));
  EXPECT_FALSE(HasDuplicateHotkey({0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_FALSE(HasDuplicateHotkey({ctrl_alt_k, 0x064C, 0, 0}));
  EXPECT_FALSE(HasDuplicateHotkey({ctrl_alt_k, 0x034B}));  // modifiers differ
}

}  // namespace
