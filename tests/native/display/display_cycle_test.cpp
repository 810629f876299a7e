#include "display/display_cycle.h"

#include <gtest/gtest.h>

#include "display/alarm.h"
#include "native/display/display_fakes.h"
#include "display/system_sampler.h"
#include "settings/settings.h"

namespace {

using fakes::kCharWidth;
using fakes::kRowHeight;
using fakes::TextCall;

// Every line off; each test switches on what it looks at.
Settings QuietSettings() {
  Settings s;
  s.SHOW_CLOCK = 0;
  s.CLIPBOARD = 0;
  s.GAIBU = 0;
  s.CPUMEM = 0;
  s.IMESTATE = 0;
  s.ALARM_NOKORI = 0;
  s.MEMO.clear();
  s.FORMAT.assign(u"HH:mm:ss");
  s.FORMATCPU.assign(u"cpu");
  s.INVERT_COLOR_DARKMODE = 1;
  return s;
}

class DisplayCycleTest : public ::testing::Test {
 protected:
  DisplayCycleTest() : settings(QuietSettings()), sampler(system) {
    sources.now = TimeRecord{2026, 12, 2, 8, 3, 20, 5, 250};
    sources.tick = 5000;
  }

  bool Run(bool force = true) {
    DisplayContext context{settings, Language::English, state, sources, windows, alarm, &sampler};
    provider.canvas = fakes::FakeCanvas{};
    return DisplayCycle(context, provider, force);
  }

  const std::vector<TextCall>& Draws() const { return provider.canvas.texts; }

  int32_t ClockWidth() {
    TextBuffer clock;
    FormatDateTime(clock, sources.now, settings.FORMAT.view());
    return static_cast<int32_t>(clock.size()) * kCharWidth;
  }

  Settings settings;
  DisplayState state;
  fakes::FakeSources sources;
  fakes::FakeWindows windows;
  AlarmMachine alarm;
  fakes::FakeSystemSources system;
  SystemSampler sampler;
  fakes::FakeProvider provider;
};

TEST_F(DisplayCycleTest, StacksTheSevenLinesInOrderWithTheirColorsAndFlags) {
  settings.SHOW_CLOCK = 1;
  settings.IMESTATE = 1;
  sources.ime = ImeReading{ImeReading::Kind::Open, 9};
  settings.ALARM_NOKORI = 1;
  settings.MEMO = u"memo";
  settings.GAIBU = 1;
  SetExternalText(state, u"ext", 77);
  sources.live_window = 77;
  settings.CPUMEM = 1;
  settings.CLIPBOARD = 1;
  sources.watching = true;
  sources.clipboard_text = u"clip";
  settings.TEXTCOLOR = MakeColor(1, 2, 3);
  settings.IMESTATE_COLOR = MakeColor(4, 5, 6);
  settings.ALARM_NOKORI_COLOR = MakeColor(7, 8, 9);
  settings.MEMO_COLOR = MakeColor(10, 11, 12);
  settings.GAIBU_COLOR = MakeColor(13, 14, 15);
  settings.CPUMEM_COLOR = MakeColor(16, 17, 18);
  settings.CLIPBOARD_COLOR = MakeColor(19, 20, 21);

  ASSERT_TRUE(Run());  // opens the processor counter: no system line yet
  ASSERT_EQ(Draws().size(), 6u);
  ASSERT_TRUE(Run());

  TextBuffer clock;
  FormatDateTime(clock, sources.now, settings.FORMAT.view());
  TextBuffer countdown;
  FormatCountdown(countdown, alarm.remaining());
  struct Expected {
    std::u16string text;
    Color color;
    uint32_t flags;
  };
  const Expected expected[] = {
      {std::u16string(clock.view()), settings.TEXTCOLOR, text_flags::kSingle},
      {u"IME ON : [ZEN_H][KANA]", settings.IMESTATE_COLOR, text_flags::kSingle},
      {std::u16string(countdown.view()), settings.ALARM_NOKORI_COLOR, text_flags::kSingle},
      {u"memo", settings.MEMO_COLOR, text_flags::kWrapped},
      {u"ext", settings.GAIBU_COLOR, text_flags::kSingle},
      {u"cpu", settings.CPUMEM_COLOR, text_flags::kWrapped},
      {u"clip", settings.CLIPBOARD_COLOR, text_flags::kWrapped},
  };
  ASSERT_EQ(Draws().size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(Draws()[i].text, expected[i].text);
    EXPECT_EQ(Draws()[i].color, expected[i].color);
    EXPECT_EQ(Draws()[i].flags, expected[i].flags);
    EXPECT_TRUE(Draws()[i].opaque);
    EXPECT_EQ(Draws()[i].area.top, static_cast<int32_t>(i) * kRowHeight);
  }
  // Every drawn line was measured with the same flags plus the measuring flag.
  ASSERT_EQ(provider.canvas.measured_flags.size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(provider.canvas.measured_flags[i], expected[i].flags | text_flags::kCalcRect);
  }
  EXPECT_EQ(provider.canvas.font_selected, 1);
  EXPECT_EQ(provider.canvas.font_restored, 1);
}

TEST_F(DisplayCycleTest, FillsTheWorkingAreaWithTheKeyColorFirst) {
  const struct {
    int32_t wnd_width, wnd_height;
    Rect fill;
  } cases[] = {
      {0, 0, Rect{0, 0, 500, 1000}},
      {120, 0, Rect{0, 0, 120, 1000}},
      {0, 64, Rect{0, 0, 500, 64}},
  };
  for (const auto& c : cases) {
    settings.WND_WIDTH = c.wnd_width;
    settings.WND_HEIGHT = c.wnd_height;
    Run();
    ASSERT_FALSE(provider.canvas.fills.empty());
    EXPECT_EQ(provider.canvas.fills.front().first, c.fill);
    EXPECT_EQ(provider.canvas.fills.front().second, kKeyColor);
  }
}

TEST_F(DisplayCycleTest, LinesAdvanceByTheirHeightPlusTheGap) {
  settings.SHOW_CLOCK = 1;
  settings.MEMO = u"one\ntwo";
  settings.GAIBU = 1;
  SetExternalText(state, u"gaibu text", 5);
  sources.live_window = 5;
  settings.GAP_BETWEEN_ITEMS = 4;
  Run();
  ASSERT_EQ(Draws().size(), 3u);
  EXPECT_EQ(Draws()[0].area, (Rect{0, 0, 500, 1000}));
  EXPECT_EQ(Draws()[1].area, (Rect{0, 14, 500, 1000}));
  EXPECT_EQ(Draws()[2].area, (Rect{0, 38, 500, 1000}));
  // Final height includes one trailing gap; width is the widest line.
  EXPECT_EQ(windows.text_size, (Size{10 * kCharWidth, 38 + kRowHeight + 4}));
}

TEST_F(DisplayCycleTest, SeparatorRulesSitAroundEachBottomButTheLast) {
  const struct {
    int32_t gap;
    int32_t light_y, dark_y;  // for the first line's bottom (10)
  } cases[] = {{0, 9, 10}, {1, 9, 10}, {5, 11, 12}, {8, 13, 14}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.gap);
    settings = QuietSettings();
    settings.SHOW_CLOCK = 1;
    settings.MEMO = u"memo";
    settings.SHOW_LINE = 1;
    settings.GAP_BETWEEN_ITEMS = c.gap;
    Run();
    const auto& rows = provider.canvas.rows;
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].y, c.light_y);
    EXPECT_EQ(rows[0].color, MakeColor(190, 190, 190));
    EXPECT_EQ(rows[1].y, c.dark_y);
    EXPECT_EQ(rows[1].color, MakeColor(125, 125, 125));
    EXPECT_EQ(rows[0].width, ClockWidth());
    EXPECT_EQ(rows[1].width, ClockWidth());
  }
}

TEST_F(DisplayCycleTest, RulesNeedTwoLinesAndShowLine) {
  settings.SHOW_CLOCK = 1;
  settings.SHOW_LINE = 1;
  Run();
  EXPECT_TRUE(provider.canvas.rows.empty());
  settings.MEMO = u"memo";
  settings.SHOW_LINE = 0;
  Run();
  EXPECT_TRUE(provider.canvas.rows.empty());
}

TEST_F(DisplayCycleTest, RulesAreNotColorMappedInDarkMode) {
  sources.dark = true;
  settings.SHOW_CLOCK = 1;
  settings.MEMO = u"memo";
  settings.SHOW_LINE = 1;
  Run();
  ASSERT_EQ(provider.canvas.rows.size(), 2u);
  EXPECT_EQ(provider.canvas.rows[0].color, MakeColor(190, 190, 190));
  EXPECT_EQ(Draws()[0].color, MapColor(settings.TEXTCOLOR, true));
}

TEST_F(DisplayCycleTest, FinalSizeFollowsFixedSizesOrTheContent) {
  const struct {
    bool clock;
    int32_t wnd_width, wnd_height;
    uint8_t roundrect;
    Size text, background;
  } cases[] = {
      {false, 0, 0, 0, Size{0, 0}, Size{0, 0}},
      {false, 300, 40, 0, Size{300, 40}, Size{300, 40}},
      {false, 0, 0, 1, Size{0, 0}, Size{16, 16}},
      {true, 0, 0, 0, Size{8 * kCharWidth, kRowHeight}, Size{8 * kCharWidth, kRowHeight}},
      {true, 0, 0, 1, Size{8 * kCharWidth, kRowHeight}, Size{8 * kCharWidth + 16, kRowHeight + 16}},
      {true, 100, 0, 0, Size{100, kRowHeight}, Size{100, kRowHeight}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.clock << " " << c.wnd_width << "x" << c.wnd_height);
    settings.SHOW_CLOCK = c.clock;
    settings.WND_WIDTH = c.wnd_width;
    settings.WND_HEIGHT = c.wnd_height;
    settings.ROUNDRECT = c.roundrect;
    windows.text_size = Size{500, 1000};
    Run();
    EXPECT_EQ(windows.text_size, c.text);
    EXPECT_EQ(windows.background_size, c.background);
    EXPECT_EQ(state.last_second, kRedrawSecond);
  }
}

TEST(FixedWindowExtent, NegativesAreAutomaticAndHugeSizesAreHeld) {
  const struct {
    int32_t setting, extent;
  } cases[] = {{0, 0},   {-5, 0}, {INT32_MIN, 0}, {1, 1}, {300, 300}, {kMaxWindowExtent, kMaxWindowExtent},
               {40000, kMaxWindowExtent}, {INT32_MAX, kMaxWindowExtent}};
  for (const auto& c : cases) EXPECT_EQ(FixedWindowExtent(c.setting), c.extent) << c.setting;
}

TEST_F(DisplayCycleTest, NegativeFixedSizeIsAutomatic) {
  settings.SHOW_CLOCK = 1;
  settings.WND_WIDTH = -5;
  settings.WND_HEIGHT = -5;
  Run();
  EXPECT_EQ(windows.text_size, (Size{8 * kCharWidth, kRowHeight}));
}

TEST_F(DisplayCycleTest, SizeTheSystemCannotMakeIsAskedForOnce) {
  settings.SHOW_CLOCK = 1;
  settings.WND_WIDTH = 40000;
  windows.max_side = 2000;  // the window system stops short of the request
  for (int second = 0; second < 10; ++second) {
    sources.now.second = second;
    Run();
  }
  EXPECT_EQ(windows.resizes, 1);
  EXPECT_EQ(windows.text_size, (Size{2000, kRowHeight}));
  EXPECT_NE(state.last_second, kRedrawSecond);  // no full redraw forced by the size
  // Another request, or a window changed from outside, is tried again.
  windows.text_size = Size{10, 10};
  Run();
  EXPECT_EQ(windows.resizes, 2);
  settings.WND_WIDTH = 300;
  Run();
  EXPECT_EQ(windows.resizes, 3);
  EXPECT_EQ(windows.text_size, (Size{300, kRowHeight}));
}

TEST_F(DisplayCycleTest, AutomaticSizeStopsAtTheWorkingArea) {
  settings.DEF_MAX_WND_WIDTH = 60;
  settings.DEF_MAX_WND_HEIGHT = 25;
  settings.MEMO = std::u16string(40, u'x');  // wraps into 4 rows of 10
  settings.GAIBU = 1;
  SetExternalText(state, std::u16string(30, u'y'), 3);  // one row, 180 wide
  sources.live_window = 3;
  Run();
  EXPECT_EQ(windows.text_size, (Size{60, 25}));
}

TEST_F(DisplayCycleTest, ResizesOnlyWhenSizeOrRoundRectChanged) {
  settings.SHOW_CLOCK = 1;
  Run();
  ASSERT_EQ(windows.resizes, 1);
  Run();
  EXPECT_EQ(windows.resizes, 1);
  EXPECT_EQ(state.last_second, sources.now.second);
  settings.ROUNDRECT = 1;  // same content: the background still grows by 16
  Run();
  EXPECT_EQ(windows.resizes, 2);
  EXPECT_EQ(windows.background_size, (Size{windows.text_size.width + 16, windows.text_size.height + 16}));
  EXPECT_EQ(state.last_second, kRedrawSecond);
  EXPECT_TRUE(windows.moves.empty());  // WPOS 0: the next tick places
}

TEST_F(DisplayCycleTest, ResizeWithPinnedCornerPlacesAtOnce) {
  settings.SHOW_CLOCK = 1;
  settings.WPOS = 1;
  Run();
  ASSERT_EQ(windows.moves.size(), 1u);
  EXPECT_EQ(windows.moves[0].text, (Point{1280 - 8 * kCharWidth, 994 - kRowHeight}));
}

TEST_F(DisplayCycleTest, HeldBackMemoIsEmptyButKeepsItsSlot) {
  settings.SHOW_CLOCK = 1;
  settings.MEMO = u"script";
  settings.MEMO_AS_SCRIPT = 1;
  settings.GAIBU = 1;
  SetExternalText(state, u"ext", 9);
  sources.live_window = 9;
  settings.GAP_BETWEEN_ITEMS = 3;
  settings.SHOW_LINE = 1;
  sources.held_back = true;
  sources.script_output = u"output";
  Run();
  ASSERT_EQ(Draws().size(), 3u);
  EXPECT_EQ(Draws()[1].text, u"");
  EXPECT_EQ(Draws()[1].color, settings.MEMO_COLOR);
  EXPECT_EQ(Draws()[1].area.top, 13);
  EXPECT_EQ(Draws()[2].area.top, 16);
  EXPECT_EQ(sources.polls, 0);
  EXPECT_EQ(provider.canvas.rows.size(), 4u);  // rules under the clock and the memo

  sources.held_back = false;
  Run();
  EXPECT_EQ(sources.polls, 1);
  ASSERT_EQ(Draws().size(), 3u);
  EXPECT_EQ(Draws()[1].text, u"output");
}

TEST_F(DisplayCycleTest, MemoLineNeedsMemoText) {
  const struct {
    const char16_t* memo;
    uint8_t as_script;
    size_t draws;
    int polls;
  } cases[] = {
      {u"", 0, 0, 0},
      {u"", 1, 0, 0},
      {u"plain", 0, 1, 0},
      {u"script", 1, 1, 1},
  };
  for (const auto& c : cases) {
    settings.MEMO = c.memo;
    settings.MEMO_AS_SCRIPT = c.as_script;
    sources.polls = 0;
    sources.script_output = u"out";
    Run();
    EXPECT_EQ(Draws().size(), c.draws) << c.as_script;
    EXPECT_EQ(sources.polls, c.polls);
    if (c.draws == 1) {
      EXPECT_EQ(Draws()[0].text, c.as_script ? u"out" : c.memo);
    }
  }
}

TEST_F(DisplayCycleTest, ExternalTextGoesWithItsSender) {
  settings.GAIBU = 1;
  SetExternalText(state, u"hello", 42);
  sources.live_window = 42;
  Run();
  ASSERT_EQ(Draws().size(), 1u);
  EXPECT_EQ(Draws()[0].text, u"hello");

  settings.GAIBU = 0;  // kept while the line is off
  Run();
  EXPECT_TRUE(Draws().empty());
  EXPECT_EQ(state.external_text.view(), u"hello");

  settings.GAIBU = 1;
  sources.live_window = 0;  // the sender has closed
  Run();
  EXPECT_TRUE(Draws().empty());
  EXPECT_TRUE(state.external_text.empty());
  EXPECT_EQ(state.external_sender, 0u);
  for (char16_t c : std::u16string_view(state.external_text.c_str(), TextBuffer::kCapacity)) {
    ASSERT_EQ(c, u'\0');
  }
}

TEST(ExternalText, KeepsAtMost517CharactersAndClearsTheRest) {
  DisplayState state;
  SetExternalText(state, std::u16string(519, u'a'), 1);
  SetExternalText(state, std::u16string(600, u'b'), 2);
  EXPECT_EQ(state.external_text.view(), std::u16string(517, u'b'));
  EXPECT_EQ(state.external_sender, 2u);
  SetExternalText(state, u"cc", 3);
  EXPECT_EQ(state.external_text.view(), u"cc");
  EXPECT_EQ(state.external_text.c_str()[2], u'\0');
  EXPECT_EQ(state.external_text.c_str()[518], u'\0');
}

TEST_F(DisplayCycleTest, ClipboardTextIsCutToCbTextMaxAndColoredByKind) {
  settings.CLIPBOARD = 1;
  sources.watching = true;
  sources.clipboard_text = u"abcdefgh";
  const struct {
    int32_t max;
    bool files;
    const char16_t* drawn;
    Color color;
  } cases[] = {
      {0, false, u"abcdefgh", settings.CLIPBOARD_COLOR},
      {3, false, u"abc", settings.CLIPBOARD_COLOR},
      {8, false, u"abcdefgh", settings.CLIPBOARD_COLOR},
      {20, true, u"abcdefgh", settings.CLIPBOARD_COLOR_F},
      {-1, true, u"abcdefgh", settings.CLIPBOARD_COLOR_F},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.max);
    settings.CBTEXT_MAX = c.max;
    sources.clipboard_files = c.files;
    Run();
    ASSERT_EQ(Draws().size(), 1u);
    EXPECT_EQ(Draws()[0].text, c.drawn);
    EXPECT_EQ(Draws()[0].color, c.color);
    // The panel is as wide as what is shown.
    EXPECT_EQ(windows.text_size.width, static_cast<int32_t>(std::u16string_view(c.drawn).size()) * kCharWidth);
  }
}

TEST_F(DisplayCycleTest, ClipboardLineNeedsWatching) {
  settings.CLIPBOARD = 1;
  sources.clipboard_text = u"text";
  Run();
  EXPECT_TRUE(Draws().empty());
}

TEST_F(DisplayCycleTest, EmptyClipboardStillTakesItsSlot) {
  settings.SHOW_CLOCK = 1;
  settings.CLIPBOARD = 1;
  sources.watching = true;
  settings.SHOW_LINE = 1;
  settings.GAP_BETWEEN_ITEMS = 2;
  Run();
  ASSERT_EQ(Draws().size(), 2u);
  EXPECT_EQ(provider.canvas.rows.size(), 2u);
  EXPECT_EQ(windows.text_size.height, kRowHeight + 2 + 2);
}

TEST_F(DisplayCycleTest, PictureIsCopiedBelowTheLinesAndClipped) {
  settings.SHOW_CLOCK = 1;
  settings.CLIPBOARD = 1;
  sources.watching = true;
  sources.clipboard_text = u"HBITMAP";
  const struct {
    int32_t max_height;
    Picture picture;
    size_t copies;
    Size copied;
    Size final_size;
  } cases[] = {
      {1000, Picture{nullptr, 100, 50}, 1, Size{100, 50}, Size{100, 60}},
      {1000, Picture{nullptr, 20, 30}, 1, Size{20, 30}, Size{8 * kCharWidth, 40}},
      {30, Picture{nullptr, 100, 50}, 1, Size{100, 20}, Size{100, 30}},
      {1000, Picture{nullptr, 800, 10}, 1, Size{500, 10}, Size{500, 20}},
      {16, Picture{nullptr, 100, 50}, 1, Size{100, 6}, Size{100, 16}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.max_height);
    settings.DEF_MAX_WND_HEIGHT = c.max_height;
    sources.picture = &c.picture;
    Run();
    ASSERT_EQ(provider.canvas.pictures.size(), c.copies);
    EXPECT_EQ(provider.canvas.pictures[0].to, (Point{0, kRowHeight}));
    EXPECT_EQ(provider.canvas.pictures[0].size, c.copied);
    EXPECT_EQ(windows.text_size, c.final_size);
    EXPECT_EQ(Draws().size(), 1u);  // only the clock: the picture replaces the text
  }
}

TEST_F(DisplayCycleTest, PictureBelowTheWorkingAreaIsNotCopiedButTakesItsSlot) {
  settings.DEF_MAX_WND_HEIGHT = 16;
  settings.MEMO = u"a\nb";  // 20 high, past the working height
  settings.CLIPBOARD = 1;
  sources.watching = true;
  const Picture picture{nullptr, 40, 40};
  sources.picture = &picture;
  settings.SHOW_LINE = 1;
  Run();
  EXPECT_TRUE(provider.canvas.pictures.empty());
  EXPECT_EQ(provider.canvas.rows.size(), 2u);
  EXPECT_EQ(windows.text_size.height, 16);
}

TEST_F(DisplayCycleTest, InputMethodLineFollowsTheReading) {
  settings.IMESTATE = 1;
  const struct {
    ImeReading reading;
    const char16_t* text;  // null: no line
  } cases[] = {
      {ImeReading{ImeReading::Kind::Absent, 0}, nullptr},
      {ImeReading{ImeReading::Kind::Closed, 9}, u"IME OFF"},
      {ImeReading{ImeReading::Kind::Open, 27}, u"IME ON : [ZEN_K][R]"},
      {ImeReading{ImeReading::Kind::Open, 1}, u"IME ON : Unknown"},
  };
  for (const auto& c : cases) {
    sources.ime = c.reading;
    Run();
    if (c.text == nullptr) {
      EXPECT_TRUE(Draws().empty());
    } else {
      ASSERT_EQ(Draws().size(), 1u);
      EXPECT_EQ(Draws()[0].text, c.text);
    }
  }
}

TEST_F(DisplayCycleTest, SystemLineWaitsForTheCounterAndClosesItWhenOff) {
  settings.CPUMEM = 1;
  Run();
  EXPECT_TRUE(system.open);
  EXPECT_TRUE(Draws().empty());
  Run();
  ASSERT_EQ(Draws().size(), 1u);
  EXPECT_EQ(Draws()[0].text, u"cpu");
  settings.CPUMEM = 0;
  Run();
  EXPECT_FALSE(system.open);
  EXPECT_TRUE(Draws().empty());
}

TEST_F(DisplayCycleTest, TextBackgroundIsTheMappedBkColor) {
  settings.SHOW_CLOCK = 1;
  settings.MEMO = u"m";
  const struct {
    Color bk;
    bool dark;
    Color painted;
  } cases[] = {
      {kKeyColor, false, kKeyColor},
      {kKeyColor, true, kKeyColor},
      {MakeColor(10, 20, 30), false, MakeColor(10, 20, 30)},
      {MakeColor(10, 20, 30), true, MakeColor(245, 235, 225)},
  };
  for (const auto& c : cases) {
    settings.BKCOLOR = c.bk;
    sources.dark = c.dark;
    Run();
    ASSERT_EQ(Draws().size(), 2u);
    for (const TextCall& call : Draws()) {
      EXPECT_EQ(call.background, c.painted);
      EXPECT_TRUE(call.opaque);
    }
  }
}

TEST_F(DisplayCycleTest, ForcedAlarmBlinksTheClockAndMakesThePanelOpaque) {
  settings.SHOW_CLOCK = 1;
  settings.MEMO = u"m";
  settings.BKCOLOR = MakeColor(1, 1, 1);
  settings.ALARM_BK_COLOR = MakeColor(250, 0, 0);
  settings.BG_ALPHA = 128;
  state.forced_alarm = 1;
  state.opacity = 60;
  state.direction = FadeDirection::Out;

  sources.now.second = 6;  // even: the clock line on the alarm colour
  Run();
  ASSERT_EQ(Draws().size(), 2u);
  EXPECT_EQ(Draws()[0].background, settings.ALARM_BK_COLOR);
  EXPECT_EQ(Draws()[1].background, settings.BKCOLOR);
  EXPECT_TRUE(state.highlight);
  EXPECT_EQ(state.opacity.load(), 255);
  EXPECT_EQ(state.direction.load(), FadeDirection::In);
  ASSERT_FALSE(windows.opacities.empty());
  EXPECT_EQ(windows.opacities.back().text, 255);
  EXPECT_EQ(windows.opacities.back().background, 128);
  EXPECT_EQ(windows.opacities.back().key, kKeyColor);

  sources.now.second = 7;  // odd: no background colour all cycle
  Run();
  ASSERT_EQ(Draws().size(), 2u);
  for (const TextCall& call : Draws()) EXPECT_FALSE(call.background_set);
}

TEST_F(DisplayCycleTest, HiddenDisplayPaintsNothingAndAnAlarmShowsItAgain) {
  settings.SHOW_CLOCK = 1;
  settings.MEMO = u"memo";
  settings.MEMO_AS_SCRIPT = 1;
  state.hidden = true;
  EXPECT_TRUE(Run(false));
  EXPECT_EQ(provider.obtained, 0);
  EXPECT_EQ(sources.polls, 0);
  EXPECT_EQ(windows.resizes, 0);
  EXPECT_EQ(state.last_second, sources.now.second);
  EXPECT_TRUE(state.hidden);

  state.forced_alarm = 1;
  sources.now.second = 8;
  Run(false);
  EXPECT_FALSE(state.hidden);
  EXPECT_EQ(provider.obtained, 0);
}

TEST_F(DisplayCycleTest, HiddenDisplayStillSoundsTheAlarmAndTheChime) {
  const struct {
    const char* name;
    uint8_t alarm, jihou;
    uint16_t hour, minute, second;
    const char16_t* sound;  // null: nothing plays
    bool still_hidden;
  } cases[] = {
      // Early alarm sound, no pre-alarm colour: nothing un-hides the panel.
      {"early alarm sound", 1, 0, 6, 59, 55, u"alarm.wav", true},
      // At the alarm time the highlight shows the panel again, and rings.
      {"alarm time", 1, 0, 7, 0, 0, u"alarm.wav", false},
      {"chime", 0, 1, 9, 0, 0, u"chime.wav", true},
      {"quiet second", 1, 1, 8, 30, 0, nullptr, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    settings = QuietSettings();
    settings.ALARM = c.alarm;
    settings.ALARM_HOUR = 7;
    settings.ALARM_WAV.assign(u"alarm.wav");
    settings.ALARM_WAV_BSEC = c.hour == 7 ? 0 : 5;
    settings.JIHOU = c.jihou;
    settings.JIHOU_WAV.assign(u"chime.wav");
    alarm = AlarmMachine{};
    sources.played.clear();
    sources.now.hour = c.hour;
    sources.now.minute = c.minute;
    sources.now.second = c.second;
    state.hidden = true;
    state.last_second = kRedrawSecond;
    Run(false);
    if (c.sound == nullptr) {
      EXPECT_TRUE(sources.played.empty());
    } else {
      ASSERT_EQ(sources.played.size(), 1u);
      EXPECT_EQ(sources.played[0], c.sound);
    }
    EXPECT_EQ(state.hidden, c.still_hidden);
    EXPECT_EQ(provider.obtained, 0);
  }
}

TEST_F(DisplayCycleTest, MissingDrawingSurfaceKeepsBookkeepingAndSizes) {
  settings.MEMO = u"memo";
  settings.MEMO_AS_SCRIPT = 1;
  provider.available = false;
  EXPECT_TRUE(Run());
  EXPECT_EQ(sources.polls, 1);
  EXPECT_EQ(windows.resizes, 0);
  EXPECT_EQ(provider.released, 0);
}

// --- early exit ---

TEST(CanSkipCycle, SameSecondWithoutFractionsOrCursorTokens) {
  const struct {
    const char16_t* format;
    uint8_t cpumem;
    const char16_t* formatcpu;
    int32_t last_second;
    Point cursor;
    bool skip;
  } cases[] = {
      {u"HH:mm:ss", 0, u"", 5, Point{0, 0}, true},
      {u"HH:mm:ss", 0, u"", 4, Point{0, 0}, false},
      {u"HH:mm:ss", 0, u"", kRedrawSecond, Point{0, 0}, false},
      {u"HH:mm:ss.f", 0, u"", 5, Point{0, 0}, false},
      {u"'of' HH", 0, u"", 5, Point{0, 0}, false},  // any f, even as plain text
      {u"HH:mm:ss", 1, u"{MX}", 5, Point{0, 0}, true},  // cursor still
      {u"HH:mm:ss", 1, u"{MX}", 5, Point{3, 0}, false},
      {u"HH:mm:ss", 1, u"x {MY}", 5, Point{0, 9}, false},
      {u"HH:mm:ss", 0, u"{MX}", 5, Point{3, 0}, true},  // no system line
      {u"HH:mm:ss", 1, u"{c}", 5, Point{3, 0}, true},   // not following the cursor
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << static_cast<int>(&c - cases));
    Settings settings;
    settings.FORMAT.assign(c.format);
    settings.CPUMEM = c.cpumem;
    settings.FORMATCPU.assign(c.formatcpu);
    DisplayState state;
    state.last_second = c.last_second;
    TimeRecord now;
    now.second = 5;
    EXPECT_EQ(CanSkipCycle(settings, state, now, c.cursor), c.skip);
  }
}

TEST(PaintNeedsCycle, OnlyAnUnrequestedPaintRightAfterTheTicksDrawingIsLeftAlone) {
  const struct {
    bool force_redraw;
    int32_t last_second;
    bool drawn_this_tick;
    bool needs_cycle;
  } cases[] = {
      {false, 5, true, false},             // the window system exposing the tick's drawing
      {false, 5, false, true},             // the tick skipped or the panel was hidden
      {true, 5, true, true},               // a command asked for a redraw
      {false, kRedrawSecond, true, true},  // a resize or DPI change left a redraw pending
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << static_cast<int>(&c - cases));
    DisplayState state;
    state.force_redraw = c.force_redraw;
    state.last_second = c.last_second;
    state.drawn_this_tick = c.drawn_this_tick;
    EXPECT_EQ(PaintNeedsCycle(state), c.needs_cycle);
  }
}

TEST_F(DisplayCycleTest, AResizeLeavesTheNextPaintToDrawAgain) {
  settings.SHOW_CLOCK = 1;
  state.drawn_this_tick = Run();
  EXPECT_TRUE(state.drawn_this_tick);
  EXPECT_TRUE(PaintNeedsCycle(state)) << "the first cycle sized the window";
  state.drawn_this_tick = Run();
  EXPECT_FALSE(PaintNeedsCycle(state));
}

TEST_F(DisplayCycleTest, EarlyExitLeavesEverythingAlone) {
  settings.SHOW_CLOCK = 1;
  Run();  // resizes, so the next cycle draws in full
  EXPECT_TRUE(Run(false));
  const int obtained = provider.obtained;
  EXPECT_FALSE(Run(false));
  EXPECT_EQ(provider.obtained, obtained);
  EXPECT_TRUE(Draws().empty());
  EXPECT_TRUE(Run(true));  // force draws anyway
}

TEST_F(DisplayCycleTest, CursorMovesRedrawOnlyForCursorTokens) {
  settings.CPUMEM = 1;
  settings.FORMATCPU.assign(u"{MX},{MY}");
  Run();  // opens the counter
  Run();  // first system line: resized
  Run();
  EXPECT_FALSE(Run(false));
  sources.cursor = Point{10, 20};
  EXPECT_TRUE(Run(false));
  EXPECT_FALSE(Run(false));  // the cycle remembered the new position
}

// --- pieces ---

TEST(MapColor, InvertsEverythingButTheKeyColor) {
  const struct {
    Color in;
    bool invert;
    Color out;
  } cases[] = {
      {MakeColor(10, 20, 30), false, MakeColor(10, 20, 30)},
      {MakeColor(10, 20, 30), true, MakeColor(245, 235, 225)},
      {kKeyColor, true, kKeyColor},
      {MakeColor(255, 0, 255), true, MakeColor(1, 255, 1)},  // would become the key
      {MakeColor(255, 0, 255), false, MakeColor(255, 0, 255)},
      {MakeColor(0, 0, 0), true, MakeColor(255, 255, 255)},
  };
  for (const auto& c : cases) EXPECT_EQ(MapColor(c.in, c.invert), c.out) << std::hex << c.in;
}

TEST(DrawOutlinedText, DrawsOnceWithoutOutline) {
  fakes::FakeCanvas canvas;
  canvas.text_color = MakeColor(1, 2, 3);
  const Rect area{0, 10, 100, 200};
  EXPECT_EQ(DrawOutlinedText(canvas, u"abc", area, text_flags::kSingle, kKeyColor), kRowHeight);
  ASSERT_EQ(canvas.texts.size(), 1u);
  EXPECT_TRUE(canvas.texts[0].opaque);
  EXPECT_EQ(canvas.texts[0].area, area);
}

TEST(DrawOutlinedText, DrawsFourShiftedOutlinesThenTheTextAgain) {
  fakes::FakeCanvas canvas;
  const Color text = MakeColor(1, 2, 3);
  const Color outline = MakeColor(200, 100, 50);
  canvas.text_color = text;
  const Rect area{0, 10, 100, 200};
  EXPECT_EQ(DrawOutlinedText(canvas, u"a\nb", area, text_flags::kWrapped, outline), 2 * kRowHeight);
  const struct {
    int dx, dy;
    Color color;
    bool opaque;
  } expected[] = {{0, 0, text, true},      {-1, -1, outline, false}, {1, -1, outline, false},
                  {-1, 1, outline, false}, {1, 1, outline, false},   {0, 0, text, false}};
  ASSERT_EQ(canvas.texts.size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    SCOPED_TRACE(i);
    const TextCall& call = canvas.texts[i];
    EXPECT_EQ(call.area, (Rect{area.left + expected[i].dx, area.top + expected[i].dy,
                               area.right + expected[i].dx, area.bottom + expected[i].dy}));
    EXPECT_EQ(call.color, expected[i].color);
    EXPECT_EQ(call.opaque, expected[i].opaque);
  }
  EXPECT_EQ(canvas.text_color, text);
}

TEST(ImeModeTag, EveryListedModeInBothLanguages) {
  const struct {
    uint32_t mode;
    const char16_t* ja;
    const char16_t* en;
  } cases[] = {
      {0, u"[A][カナ]", u"[A][KANA]"},       {3, u"[ｱ][カナ]", u"[HAN][KANA]"},
      {8, u"「Ａ」[カナ]", u"[ZEN_A][KANA]"}, {9, u"「あ」[カナ]", u"[ZEN_H][KANA]"},
      {11, u"「ア」[カナ]", u"[ZEN_K][KANA]"}, {16, u"[A][Ｒ]", u"[A][R]"},
      {19, u"[ｱ][Ｒ]", u"[HAN][R]"},         {24, u"「Ａ」[Ｒ]", u"[ZEN_A][R]"},
      {25, u"「あ」[Ｒ]", u"[ZEN_H][R]"},     {27, u"「ア」[Ｒ]", u"[ZEN_K][R]"},
      {1, u"Unknown", u"Unknown"},            {26, u"Unknown", u"Unknown"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ImeModeTag(c.mode, Language::Japanese), c.ja) << c.mode;
    EXPECT_EQ(ImeModeTag(c.mode, Language::English), c.en) << c.mode;
  }
}

TEST(ComposeImeLine, JapaneseOpenLine) {
  TextBuffer out;
  ComposeImeLine(ImeReading{ImeReading::Kind::Open, 25}, Language::Japanese, out);
  EXPECT_EQ(out.view(), u"IME ON : 「あ」[Ｒ]");
  ComposeImeLine(ImeReading{ImeReading::Kind::Absent, 25}, Language::Japanese, out);
  EXPECT_TRUE(out.empty());
}

}  // namespace
