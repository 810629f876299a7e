#include "clipboard/clipboard_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/settings.h"

namespace {

TEST(ClipboardWatchWanted, AnyClipboardOrMemoScriptFeatureWantsIt) {
  Settings s;
  s.CLIPBOARD = s.AUTO_PLAINER = s.AUTO_DEL_CLIP = s.MEMO_AS_SCRIPT = 0;
  EXPECT_FALSE(ClipboardWatchWanted(s));
  for (uint8_t Settings::*key : {&Settings::CLIPBOARD, &Settings::AUTO_PLAINER, &Settings::AUTO_DEL_CLIP,
                                 &Settings::MEMO_AS_SCRIPT}) {
    Settings one = s;
    one.*key = 1;
    EXPECT_TRUE(ClipboardWatchWanted(one));
  }
}

TEST(ClipboardReadDelay, FollowsTheTable) {
  struct Row {
    int32_t cbdelay;
    bool delayed;
    uint32_t ms;
  } rows[] = {{0, false, 625},  {1, true, 100},  {2, true, 200},       {3, true, 500},
              {4, true, 700},   {5, true, 1000}, {6, false, 625},      {-1, false, 625},
              {100, false, 625}, {INT32_MIN, false, 625}};
  for (const Row& r : rows) {
    EXPECT_EQ(ClipboardReadDelayed(r.cbdelay), r.delayed) << r.cbdelay;
    EXPECT_EQ(ClipboardReadDelayMs(r.cbdelay), r.ms) << r.cbdelay;
  }
}

TEST(ClipboardPlaceholder, OneTextPerLanguage) {
  EXPECT_EQ(ClipboardPlaceholder(Language::Japanese), u"<クリップボード情報取得中>");
  EXPECT_EQ(ClipboardPlaceholder(Language::English), u"<Clipboard Changed>");
}

TEST(ChooseClipboardContent, TextThenFilesThenNothingThenBitmap) {
  using C = ClipboardContent;
  struct Row {
    ClipboardFormatsPresent present;  // text, files, bitmap
    C want;
  } rows[] = {
      {{true, true, true}, C::kText},     {{true, false, false}, C::kText},  {{false, true, true}, C::kFiles},
      {{false, true, false}, C::kFiles},  {{false, false, true}, C::kBitmap}, {{false, false, false}, C::kNothing},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(ChooseClipboardContent(r.present), r.want)
        << r.present.text << r.present.files << r.present.bitmap;
  }
}

TEST(BoundedClipboardText, StopsAtTheTerminatorOrTheBlockEnd) {
  const char16_t terminated[] = u"abc\0def";
  EXPECT_EQ(BoundedClipboardText(terminated, 8), u"abc");
  // No terminator inside the block: the text ends with the block.
  const char16_t unterminated[4] = {u'w', u'x', u'y', u'z'};
  EXPECT_EQ(BoundedClipboardText(unterminated, 4), u"wxyz");
  EXPECT_EQ(BoundedClipboardText(unterminated, 2), u"wx");
  EXPECT_EQ(BoundedClipboardText(unterminated, 0), u"");
  EXPECT_EQ(BoundedClipboardText(nullptr, 10), u"");
}

std::u16string Compose(const std::vector<std::u16string>& paths) {
  TextBuffer cache;
  FileListComposer composer(cache);
  for (size_t i = 0; i < paths.size(); ++i) {
    if (!composer.Add(paths[i], i + 1 == paths.size())) break;
  }
  return std::u16string(cache.view());
}

TEST(FileListComposer, SeparatesPathsWithLineFeedsAndNoneAfterTheLast) {
  EXPECT_EQ(Compose({u"C:\\a.txt", u"C:\\dir", u"D:\\b c.png"}), u"C:\\a.txt\nC:\\dir\nD:\\b c.png");
  EXPECT_EQ(Compose({u"C:\\only"}), u"C:\\only");
  EXPECT_EQ(Compose({}), u"");
}

TEST(FileListComposer, ThePathThatWouldOverflowEndsTheList) {
  const std::u16string a(300, u'a'), b(216, u'b'), c(217, u'c'), d(5, u'd');
  // 300 + LF = 301; 301 + 216 + 2 = 519 still fits; 301 + 217 + 2 does not.
  EXPECT_EQ(Compose({a, b}), a + u"\n" + b);
  EXPECT_EQ(Compose({a, c, d}), a + u"\n") << "the overflowing path and every later one are left out";
  // A single path longer than the cache is left out as well.
  EXPECT_EQ(Compose({std::u16string(600, u'x'), d}), u"");
  EXPECT_EQ(Compose({std::u16string(517, u'x')}), std::u16string(517, u'x'));
  EXPECT_EQ(Compose({std::u16string(518, u'x')}), u"");
}

TEST(FilesAsText, EveryPathFollowedByCrLf) {
  const std::u16string paths[] = {u"C:\\a", u"C:\\b"};
  EXPECT_EQ(FilesAsText(paths, 2), u"C:\\a\r\nC:\\b\r\n");
  EXPECT_EQ(FilesAsText(paths, 0), u"");
}

TEST(PlanClipboardPicture, ScalesWhatIsTooLargeAndNamesWhatIsNot) {
  struct Row {
    int32_t w, h, max;
    bool usable;
    int32_t want_w, want_h;
    bool scaled, names_bitmap;
  } rows[] = {
      {640, 200, 320, true, 320, 100, true, false},
      {100, 50, 320, true, 100, 50, false, true},
      {320, 320, 320, true, 320, 320, false, true},
      {321, 10, 320, true, 320, 9, true, false},    // 10 * 320 / 321 = 9.97, toward zero
      {200, 999, 320, true, 64, 320, true, false},  // the taller side decides
      {10000, 1, 320, true, 320, 1, true, false},   // never scaled to no pixels
      {0, 50, 320, false, 0, 0, false, false},
      {50, 0, 320, false, 0, 0, false, false},
      {-5, 10, 320, false, 0, 0, false, false},
  };
  for (const Row& r : rows) {
    const PicturePlan p = PlanClipboardPicture(r.w, r.h, r.max);
    SCOPED_TRACE(testing::Message() << r.w << "x" << r.h << " at " << r.max);
    EXPECT_EQ(p.usable, r.usable);
    EXPECT_EQ(p.width, r.want_w);
    EXPECT_EQ(p.height, r.want_h);
    EXPECT_EQ(p.scaled, r.scaled);
    EXPECT_EQ(p.names_bitmap, r.names_bitmap);
  }
}

TEST(ViewerChainLooksBroken, ComparesTheCacheWithTheClipboard) {
  EXPECT_FALSE(ViewerChainLooksBroken(u"same", u"same", false));
  EXPECT_FALSE(ViewerChainLooksBroken(u"", u"", false));
  EXPECT_TRUE(ViewerChainLooksBroken(u"old", u"new", false));
  EXPECT_TRUE(ViewerChainLooksBroken(u"", u"new", false));
  EXPECT_TRUE(ViewerChainLooksBroken(u"HBITMAP", u"", false));
  // The placeholder of a pending read differs on purpose.
  EXPECT_FALSE(ViewerChainLooksBroken(u"<Clipboard Changed>", u"new", true));
}

TEST(HasFormattingToStrip, OnlyFormatsBeyondPlainText) {
  namespace f = clipboard_format;
  const uint32_t plain[] = {f::kUnicodeText, f::kLocale, f::kText, f::kOemText};
  EXPECT_FALSE(HasFormattingToStrip(plain, 4));
  EXPECT_FALSE(HasFormattingToStrip(plain, 0));
  const uint32_t html[] = {f::kUnicodeText, 0xC0A1, f::kText};
  EXPECT_TRUE(HasFormattingToStrip(html, 3));
  const uint32_t files[] = {f::kFileDrop};
  EXPECT_TRUE(HasFormattingToStrip(files, 1));
}

TEST(DecideReadFollowUp, DelayOrRetryShowsThePlaceholderElseClearingRestarts) {
  Settings s;
  s.CBDELAY = 3;
  s.AUTO_DEL_CLIP = 1;
  ReadFollowUp f = DecideReadFollowUp({true, false, false}, s);
  EXPECT_TRUE(f.start_delayed_read);
  EXPECT_EQ(f.delay_ms, 500u);
  EXPECT_FALSE(f.restart_auto_clear);

  s.CBDELAY = 0;
  f = DecideReadFollowUp({false, true, false}, s);
  EXPECT_TRUE(f.start_delayed_read);
  EXPECT_EQ(f.delay_ms, 625u) << "a retry without CBDELAY";

  f = DecideReadFollowUp({false, false, true}, s);
  EXPECT_FALSE(f.start_delayed_read);
  EXPECT_TRUE(f.restart_auto_clear);

  // Once the clipboard is empty, clearing it again would only churn.
  f = DecideReadFollowUp({false, false, false}, s);
  EXPECT_FALSE(f.restart_auto_clear);

  s.AUTO_DEL_CLIP = 0;
  f = DecideReadFollowUp({false, false, true}, s);
  EXPECT_FALSE(f.restart_auto_clear);
}

}  // namespace
