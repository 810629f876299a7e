#include "display/placement.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "native/display/display_fakes.h"
#include "settings/settings.h"

namespace {

class PlacementTest : public ::testing::Test {
 protected:
  PlacementTest() {
    settings.HIDESTOP = 0;
    settings.HIDEMOVE = 0;
    settings.INTERVAL = 20;
    settings.FADEOUTMSEC = 1000;
    settings.FADEINMSEC = 1000;
  }

  void Tick(bool force = false) { PlaceWindows(state, settings, windows, force); }

  // Runs the fade timer until it stops; returns the number of steps taken.
  int FadeToEnd() {
    int steps = 0;
    while (state.direction.load() != FadeDirection::None && steps < 1000) {
      FadeStep(state, settings, windows);
      ++steps;
    }
    return steps;
  }

  Settings settings;
  DisplayState state;
  fakes::FakeWindows windows;
};

TEST_F(PlacementTest, FollowsTheCursorWithTheOffsets) {
  const struct {
    int32_t left, top;
    uint8_t round;
    Point text, background;
  } cases[] = {
      {0, 20, 0, Point{100, 220}, Point{100, 220}},
      {-30, -5, 0, Point{70, 195}, Point{70, 195}},
      {0, 20, 1, Point{100, 220}, Point{92, 212}},
  };
  for (const auto& c : cases) {
    settings.LEFT = c.left;
    settings.TOP = c.top;
    settings.ROUNDRECT = c.round;
    windows.moves.clear();
    windows.cursor = Point{100, 200};
    Tick(true);
    ASSERT_EQ(windows.moves.size(), 1u);
    EXPECT_EQ(windows.moves[0].text, c.text);
    EXPECT_EQ(windows.moves[0].background, c.background);
  }
}

TEST_F(PlacementTest, NoClampingAtTheScreenEdge) {
  windows.cursor = Point{1275, 1020};
  Tick();
  ASSERT_EQ(windows.moves.size(), 1u);
  EXPECT_EQ(windows.moves[0].text, (Point{1275, 1040}));
}

TEST_F(PlacementTest, RestingCursorDoesNotMoveTheWindows) {
  windows.cursor = Point{5, 5};
  Tick();
  Tick();
  Tick();
  EXPECT_EQ(windows.moves.size(), 1u);
  windows.cursor = Point{6, 5};
  Tick();
  EXPECT_EQ(windows.moves.size(), 2u);
}

TEST_F(PlacementTest, FadeOutStartsOnThe51stRestingTick) {
  settings.HIDESTOP = 1;
  state.opacity = 255;
  windows.cursor = Point{1, 1};
  Tick();  // moved
  for (int rest = 1; rest <= 50; ++rest) {
    Tick();
    ASSERT_NE(state.direction.load(), FadeDirection::Out) << rest;
  }
  Tick();
  EXPECT_EQ(state.direction.load(), FadeDirection::Out);
  EXPECT_EQ(state.rest_counter.load(), kRestDone);
  EXPECT_EQ(windows.timer_starts, 1);
  Tick();  // rest actions are done: nothing more
  EXPECT_EQ(windows.timer_starts, 1);
}

TEST_F(PlacementTest, FirstTickFadesIn) {
  windows.cursor = Point{1, 1};
  Tick();
  EXPECT_EQ(state.direction.load(), FadeDirection::In);
  EXPECT_TRUE(windows.timer_running);
}

TEST_F(PlacementTest, HideMoveGoesFaintWhileMovingAndFadesInAfterResting) {
  settings.HIDEMOVE = 1;
  settings.FADEINMSEC = 100;  // 5 ticks
  const struct {
    uint8_t hide_out;
    int32_t faint;
  } cases[] = {{0, 30}, {1, 0}};
  for (const auto& c : cases) {
    settings.HideOut = c.hide_out;
    state.opacity = 255;
    state.direction = FadeDirection::None;
    windows.cursor.x += 10;
    Tick();
    EXPECT_EQ(state.opacity.load(), c.faint);
    EXPECT_EQ(windows.opacities.back().text, c.faint);
    EXPECT_EQ(state.direction.load(), FadeDirection::None);
    for (int rest = 1; rest <= 5; ++rest) {
      Tick();
      ASSERT_EQ(state.direction.load(), FadeDirection::None) << rest;
    }
    Tick();
    EXPECT_EQ(state.direction.load(), FadeDirection::In);
    EXPECT_EQ(state.rest_counter.load(), kRestDone);
  }
}

TEST_F(PlacementTest, HideMoveDuringHighlightFadesInInstead) {
  settings.HIDEMOVE = 1;
  state.opacity = 255;
  state.highlight = true;
  windows.cursor = Point{3, 3};
  Tick();
  EXPECT_EQ(state.opacity.load(), 255);
  state.highlight = false;
  state.forced_alarm = 2;
  state.opacity = 120;
  windows.cursor = Point{4, 3};
  Tick();
  EXPECT_EQ(state.opacity.load(), 120);
  EXPECT_EQ(state.direction.load(), FadeDirection::In);
}

TEST_F(PlacementTest, EqualFadeTimesWithBothFadesInAndStays) {
  settings.HIDESTOP = 1;
  settings.HIDEMOVE = 1;
  settings.FADEINMSEC = 200;
  settings.FADEOUTMSEC = 200;  // both 10 ticks
  state.opacity = 255;
  windows.cursor = Point{9, 9};
  Tick();
  ASSERT_EQ(state.opacity.load(), 30);
  for (int rest = 1; rest <= 10; ++rest) Tick();
  EXPECT_EQ(state.direction.load(), FadeDirection::None);
  Tick();  // c = 10: the fade-in starts, the fade-out is not asked for
  EXPECT_EQ(state.direction.load(), FadeDirection::In);
  FadeToEnd();
  EXPECT_EQ(state.opacity.load(), 255);
  for (int rest = 0; rest < 30; ++rest) Tick();
  EXPECT_EQ(state.direction.load(), FadeDirection::None);
  EXPECT_EQ(state.opacity.load(), 255);
  EXPECT_EQ(state.rest_counter.load(), kRestDone);
}

TEST_F(PlacementTest, BothFadesWithLaterFadeOut) {
  settings.HIDESTOP = 1;
  settings.HIDEMOVE = 1;
  settings.FADEINMSEC = 100;   // 5 ticks
  settings.FADEOUTMSEC = 600;  // 30 ticks
  windows.cursor = Point{9, 9};
  state.opacity = 255;
  Tick();
  for (int rest = 1; rest <= 6; ++rest) Tick();
  ASSERT_EQ(state.direction.load(), FadeDirection::In);
  FadeToEnd();
  for (int rest = 7; rest <= 30; ++rest) Tick();
  EXPECT_EQ(state.direction.load(), FadeDirection::None);
  Tick();
  EXPECT_EQ(state.direction.load(), FadeDirection::Out);
  Tick();
  EXPECT_EQ(state.rest_counter.load(), kRestDone);
}

TEST_F(PlacementTest, ZeroIntervalDoesNotDivideByZero) {
  settings.HIDESTOP = 1;
  settings.INTERVAL = 0;
  settings.FADEOUTMSEC = 3;
  state.opacity = 255;
  windows.cursor = Point{1, 1};
  Tick();
  for (int i = 0; i < 3; ++i) Tick();
  EXPECT_NE(state.direction.load(), FadeDirection::Out);
  Tick();
  EXPECT_EQ(state.direction.load(), FadeDirection::Out);
}

TEST_F(PlacementTest, FadeStepCounts) {
  const struct {
    FadeDirection direction;
    int32_t from;
    uint8_t hide_out, instantly;
    int32_t to;
    int changes;
  } cases[] = {
      {FadeDirection::In, 0, 0, 0, 255, 17},   {FadeDirection::In, 30, 0, 0, 255, 15},
      {FadeDirection::Out, 255, 0, 0, 30, 15}, {FadeDirection::Out, 255, 1, 0, 0, 17},
      {FadeDirection::In, 30, 0, 1, 255, 1},   {FadeDirection::Out, 255, 1, 1, 0, 1},
      {FadeDirection::Out, 30, 0, 0, 30, 0},   {FadeDirection::In, 255, 0, 0, 255, 0},
      {FadeDirection::Out, 45, 0, 0, 30, 1},   {FadeDirection::Out, 15, 1, 0, 0, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.from << "->" << c.to);
    settings.HideOut = c.hide_out;
    settings.INSTANTLY = c.instantly;
    state.opacity = c.from;
    windows.opacities.clear();
    StartFade(state, c.direction, windows);
    FadeToEnd();
    EXPECT_EQ(state.opacity.load(), c.to);
    EXPECT_EQ(static_cast<int>(windows.opacities.size()), c.changes);
    EXPECT_FALSE(windows.timer_running);
    for (const auto& o : windows.opacities) EXPECT_EQ(o.text % 15, 0);
  }
}

TEST_F(PlacementTest, FadeOutTurnsIntoFadeInDuringHighlight) {
  state.opacity = 150;
  StartFade(state, FadeDirection::Out, windows);
  FadeStep(state, settings, windows);
  EXPECT_EQ(state.opacity.load(), 135);
  state.highlight = true;
  FadeStep(state, settings, windows);
  EXPECT_EQ(state.opacity.load(), 150);
  FadeToEnd();
  EXPECT_EQ(state.opacity.load(), 255);
  EXPECT_EQ(state.direction.load(), FadeDirection::None);
}

TEST_F(PlacementTest, HighlightMakesThePanelOpaqueAndReversesAFadeOut) {
  settings.BG_ALPHA = 100;
  state.opacity = 90;
  state.direction = FadeDirection::Out;
  ShowOpaqueForHighlight(state, settings, windows);
  EXPECT_EQ(state.opacity.load(), 255);
  EXPECT_EQ(state.direction.load(), FadeDirection::In);
  ASSERT_EQ(windows.opacities.size(), 1u);
  EXPECT_EQ(windows.opacities[0].background, 100);
  state.direction = FadeDirection::None;
  ShowOpaqueForHighlight(state, settings, windows);
  EXPECT_EQ(state.direction.load(), FadeDirection::None);
}

TEST_F(PlacementTest, OpacityAppliesToBothWindows) {
  const struct {
    int32_t opacity, bg_alpha;
    Color panel;
    int32_t background;
    Color key;
  } cases[] = {
      {255, 200, MakeColor(200, 200, 200), 200, kKeyColor},
      {30, 200, MakeColor(200, 200, 200), 23, kKeyColor},
      {135, 255, kKeyColor, 135, kWhite},
      {0, 255, kKeyColor, 0, kWhite},
      {255, 999, MakeColor(1, 1, 1), 255, kKeyColor},
  };
  for (const auto& c : cases) {
    settings.BG_ALPHA = c.bg_alpha;
    settings.WBKCOLOR = c.panel;
    state.opacity = c.opacity;
    windows.opacities.clear();
    ApplyOpacity(state, settings, windows);
    ASSERT_EQ(windows.opacities.size(), 1u);
    EXPECT_EQ(windows.opacities[0].text, c.opacity);
    EXPECT_EQ(windows.opacities[0].background, c.background);
    EXPECT_EQ(windows.opacities[0].key, c.key);
  }
}

TEST_F(PlacementTest, ScriptRequests) {
  const struct {
    bool fade_in;
    FadeDirection current;
    int32_t opacity;
    bool starts;
  } cases[] = {
      {true, FadeDirection::None, 30, true},   {true, FadeDirection::In, 30, false},
      {true, FadeDirection::Out, 255, false},  {true, FadeDirection::Out, 240, true},
      {false, FadeDirection::None, 255, true}, {false, FadeDirection::Out, 255, false},
      {false, FadeDirection::In, 30, false},   {false, FadeDirection::In, 45, true},
  };
  for (const auto& c : cases) {
    state.direction = c.current;
    state.opacity = c.opacity;
    state.rest_counter = 17;
    const bool started = c.fade_in ? Fadein(state, windows) : Fadeout(state, windows);
    EXPECT_EQ(started, c.starts);
    if (c.starts) {
      EXPECT_EQ(state.direction.load(), c.fade_in ? FadeDirection::In : FadeDirection::Out);
    }
    EXPECT_EQ(state.rest_counter.load(), 0u);
  }
}

TEST_F(PlacementTest, ResetPlacementMakesTheNextTickPlace) {
  windows.cursor = Point{50, 50};
  Tick();
  Tick();
  ASSERT_EQ(windows.moves.size(), 1u);
  state.rest_counter = kRestDone;
  ResetPlacement(state);
  Tick();
  EXPECT_EQ(windows.moves.size(), 2u);
  EXPECT_EQ(state.rest_counter.load(), 0u);
}

// --- monitor corners ---

TEST(CornerPosition, EveryCorner) {
  const MonitorInfo m{Rect{0, 0, 1920, 1080}, Rect{0, 40, 1900, 1040}};
  const Size s{100, 50};
  const Point expected[] = {{1800, 990}, {0, 990},   {1800, 40}, {0, 40},
                            {1820, 1030}, {0, 1030}, {1820, 0},  {0, 0}};
  for (int corner = 0; corner < 8; ++corner) {
    EXPECT_EQ(CornerPosition(m, corner, s), expected[corner]) << corner;
  }
}

TEST_F(PlacementTest, PinnedCorners) {
  windows.monitors = {MonitorInfo{Rect{0, 0, 1280, 1024}, Rect{0, 0, 1280, 994}},
                      MonitorInfo{Rect{1280, 0, 2560, 768}, Rect{1300, 0, 2560, 740}}};
  windows.text_size = Size{200, 40};
  const struct {
    int32_t wpos;
    size_t monitors;
    uint8_t round;
    int32_t saved_wpos;
    Point text, background;
  } cases[] = {
      {1, 2, 0, 1, Point{1080, 954}, Point{1080, 954}},
      {16, 2, 0, 16, Point{1280, 0}, Point{1280, 0}},  // second monitor, screen top-left
      {9, 2, 0, 9, Point{2360, 700}, Point{2360, 700}},
      {9, 1, 0, 1, Point{1080, 954}, Point{1080, 954}},  // no second monitor
      {24, 1, 0, 1, Point{1080, 954}, Point{1080, 954}},
      {4, 2, 1, 4, Point{-8, -8}, Point{-16, -16}},
      {1, 2, 1, 1, Point{1072, 946}, Point{1064, 938}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.wpos);
    windows.monitors.resize(c.monitors);
    settings.WPOS = c.wpos;
    settings.ROUNDRECT = c.round;
    windows.moves.clear();
    Tick(true);
    ASSERT_EQ(windows.moves.size(), 1u);
    EXPECT_EQ(windows.moves[0].text, c.text);
    EXPECT_EQ(windows.moves[0].background, c.background);
    EXPECT_EQ(settings.WPOS, c.saved_wpos);
  }
}

TEST_F(PlacementTest, ChangedWposPlacesEvenWithAStillCursor) {
  windows.cursor = Point{10, 10};
  Tick();
  settings.WPOS = 2;
  Tick();
  ASSERT_EQ(windows.moves.size(), 2u);
  EXPECT_EQ(windows.moves[1].text.x, 0);
}

TEST_F(PlacementTest, NoMonitorsLeavesTheWindowsWhereTheyAre) {
  windows.monitors.clear();
  settings.WPOS = 5;
  Tick(true);
  EXPECT_TRUE(windows.moves.empty());
  EXPECT_EQ(settings.WPOS, 1);
}

}  // namespace

namespace {

TEST(OffsetCoordinate, HeldToTheVirtualScreenWithoutOverflow) {
  const struct {
    int32_t cursor, offset, expected;
  } cases[] = {
      {100, 20, 120},
      {100, -130, -30},
      {1275, 20, 1295},  // beyond the monitor is fine; only the window system's range holds it
      {100, INT32_MAX, kVirtualScreenMax},
      {INT32_MAX, INT32_MAX, kVirtualScreenMax},
      {-100, INT32_MIN, kVirtualScreenMin},
      {INT32_MIN, INT32_MIN, kVirtualScreenMin},
      {40000, -10000, 30000},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(OffsetCoordinate(c.cursor, c.offset), c.expected) << c.cursor << " + " << c.offset;
  }
}

TEST_F(PlacementTest, HugeOffsetsPlaceTheRoundedPanelInRange) {
  settings.LEFT = INT32_MAX;
  settings.TOP = INT32_MIN;
  settings.ROUNDRECT = 1;
  windows.cursor = Point{100, 200};
  Tick(true);
  ASSERT_EQ(windows.moves.size(), 1u);
  EXPECT_EQ(windows.moves[0].text, (Point{kVirtualScreenMax, kVirtualScreenMin}));
  EXPECT_EQ(windows.moves[0].background, (Point{kVirtualScreenMax - 8, kVirtualScreenMin - 8}));
}

}  // namespace
