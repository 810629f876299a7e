#include "app/hide_rule.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Records which queries the rule made, in order.
class FakeProbe : public HideProbe {
 public:
  bool cursor_hidden = false;
  std::u16string title;
  bool ibeam = false;
  std::string calls;

  bool CursorHidden() override {
    calls += 'c';
    return cursor_hidden;
  }
  void ForegroundTitle(TextBuffer& out) override {
    calls += 't';
    out.assign(title);
  }
  bool CursorIsIBeam() override {
    calls += 'i';
    return ibeam;
  }
};

TEST(TitleContainsAny, MatchesCommaSeparatedCaseSensitiveFragments) {
  struct Row {
    std::u16string_view title, list;
    bool match;
  } rows[] = {
      {u"Movie Player - film.mp4", u"Player", true},
      {u"Movie Player - film.mp4", u"player", false},  // case-sensitive
      {u"Movie Player", u"Game,Player", true},
      {u"Movie Player", u"Game,,Slides", false},
      {u"Movie Player", u"", false},                    // an empty setting never matches
      {u"", u"", false},
      {u"", u",", false},                               // only empty items
      {u"anything", u",,,", false},
      {u"Slide Show", u",Show", true},                  // leading empty item skipped
      {u"Slide Show", u"Show,", true},                  // trailing empty item skipped
      {u"a,b", u"x,b", true},                           // the comma always separates
      {u"PowerPoint スライド ショー", u"スライド", true},
      {u"Game", u" Game", false},                       // spaces are part of the fragment
  };
  for (const Row& r : rows) {
    EXPECT_EQ(TitleContainsAny(r.title, r.list), r.match)
        << std::string(r.title.begin(), r.title.end()) << " / " << std::string(r.list.begin(), r.list.end());
  }
}

TEST(DisplayHideReason, RunsTheTestsInOrderAndStopsAtTheFirstThatHolds) {
  struct Row {
    const char* name;
    bool hidden_flag;
    bool cursor_hidden;
    std::u16string_view title;
    std::u16string_view list;
    bool ibeam_hide;
    bool ibeam;
    HideReason reason;
    const char* calls;
  } rows[] = {
      {"flag beats everything", true, true, u"Game", u"Game", true, true, HideReason::kHiddenFlag, ""},
      {"hidden cursor before title", false, true, u"Game", u"Game", true, true, HideReason::kCursorHidden, "c"},
      {"title before I-beam", false, false, u"Game", u"Game", true, true, HideReason::kTitle, "ct"},
      {"I-beam last", false, false, u"Editor", u"Game", true, true, HideReason::kIBeam, "cti"},
      {"no list: title not read", false, false, u"Game", u"", true, true, HideReason::kIBeam, "ci"},
      {"IBEAMHIDE off: cursor shape not read", false, false, u"Editor", u"Game", false, true, HideReason::kNone, "ct"},
      {"nothing holds", false, false, u"Editor", u"Game", true, false, HideReason::kNone, "cti"},
  };
  for (const Row& r : rows) {
    FakeProbe probe;
    probe.cursor_hidden = r.cursor_hidden;
    probe.title = r.title;
    probe.ibeam = r.ibeam;
    const HideReason reason = DisplayHideReason(r.hidden_flag, {r.list, r.ibeam_hide}, probe);
    EXPECT_EQ(reason, r.reason) << r.name;
    EXPECT_EQ(probe.calls, r.calls) << r.name;
  }
}

TEST(DisplayHideReason, LooksOnlyAtTheFirst519CharactersOfTheTitle) {
  FakeProbe probe;
  probe.title = std::u16string(519, u'x') + u"SECRET";
  EXPECT_EQ(DisplayHideReason(false, {u"SECRET", false}, probe), HideReason::kNone);
  probe.title = std::u16string(513, u'x') + u"SECRET";
  EXPECT_EQ(DisplayHideReason(false, {u"SECRET", false}, probe), HideReason::kTitle);
}

}  // namespace
