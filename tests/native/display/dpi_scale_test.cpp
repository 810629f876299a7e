#include "display/dpi_scale.h"

#include <gtest/gtest.h>

#include "display/alarm.h"
#include "display/display_cycle.h"
#include "display/placement.h"
#include "native/display/display_fakes.h"
#include "settings/settings.h"

namespace {

using fakes::kCharWidth;
using fakes::kRowHeight;

TEST(ScaleForDpi, RoundsHalfAwayFromZero) {
  const struct {
    int32_t value, dpi, expected;
  } cases[] = {
      {10, 96, 10},   {10, 120, 13},  {10, 144, 15},  {10, 192, 20},    // 12.5 rounds up
      {1, 120, 1},    {1, 144, 2},    {1, 192, 2},    {3, 120, 4},      // 1.25, 1.5, 3.75
      {20, 120, 25},  {20, 144, 30},  {500, 144, 750}, {1638, 192, 3276},
      {-5, 120, -6},  {-5, 144, -8},  {-30, 144, -45}, {0, 192, 0},      // -6.25, -7.5
      {7, 0, 7},      {7, -1, 7},     // a failed DPI query counts as 96
      {2000000000, 192, 2147483647},  // clamped, never wrapped
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ScaleForDpi(c.value, c.dpi), c.expected) << c.value << " at " << c.dpi;
  }
  EXPECT_EQ(ScaleForDpiAtLeast(1, 40, 1), 1);  // 0.42 would vanish
  EXPECT_EQ(ScaleForDpiAtLeast(16, 144, 1), 24);
}

TEST(ScalePanelMetrics, DefaultsAtTheUsualDpis) {
  const Settings settings;  // FONTSIZE 10, TOP 20, 500 x 1000, picture edge 320
  const struct {
    int32_t dpi, font, top, width, height, clip, margin, ellipse, outline;
  } cases[] = {
      {96, 10, 20, 500, 1000, 320, 8, 8, 1},
      {120, 13, 25, 625, 1250, 400, 10, 10, 1},
      {144, 15, 30, 750, 1500, 480, 12, 12, 2},
      {192, 20, 40, 1000, 2000, 640, 16, 16, 2},
  };
  for (const auto& c : cases) {
    const PanelMetrics m = ScalePanelMetrics(settings, c.dpi);
    EXPECT_EQ(m.dpi, c.dpi);
    EXPECT_EQ(m.font_height, c.font) << c.dpi;
    EXPECT_EQ(m.left, 0) << c.dpi;
    EXPECT_EQ(m.top, c.top) << c.dpi;
    EXPECT_EQ(m.gap, 0) << c.dpi;
    EXPECT_EQ(m.max_width, c.width) << c.dpi;
    EXPECT_EQ(m.max_height, c.height) << c.dpi;
    EXPECT_EQ(m.fixed_width, 0) << "automatic stays automatic at " << c.dpi;
    EXPECT_EQ(m.fixed_height, 0) << c.dpi;
    EXPECT_EQ(m.clip_image_size, c.clip) << c.dpi;
    EXPECT_EQ(m.round_margin, c.margin) << c.dpi;
    EXPECT_EQ(m.round_growth, 2 * c.margin) << "the text stays centred at " << c.dpi;
    EXPECT_EQ(m.corner_ellipse, c.ellipse) << c.dpi;
    EXPECT_EQ(m.outline, c.outline) << c.dpi;
  }
}

TEST(ScalePanelMetrics, UserValuesAndMinimums) {
  Settings settings;
  settings.FONTSIZE = 24;
  settings.LEFT = -10;
  settings.TOP = 7;
  settings.GAP_BETWEEN_ITEMS = 5;
  settings.WND_WIDTH = 300;
  settings.WND_HEIGHT = 1;
  settings.DEF_MAX_WND_WIDTH = 16;
  settings.DEF_MAX_CLIPIMAGESIZE = 16;
  PanelMetrics m = ScalePanelMetrics(settings, 144);
  EXPECT_EQ(m.font_height, 36);
  EXPECT_EQ(m.left, -15);
  EXPECT_EQ(m.top, 11);  // 10.5
  EXPECT_EQ(m.gap, 8);   // 7.5
  EXPECT_EQ(m.fixed_width, 450);
  EXPECT_EQ(m.fixed_height, 2);  // 1.5
  EXPECT_EQ(m.max_width, 24);
  EXPECT_EQ(m.clip_image_size, 24);

  // Below 96 DPI a fixed size never becomes 0, which would mean automatic,
  // and the font never vanishes.
  settings.FONTSIZE = 1;
  m = ScalePanelMetrics(settings, 40);
  EXPECT_EQ(m.fixed_height, 1);
  EXPECT_EQ(m.font_height, 1);
  EXPECT_EQ(m.outline, 1);

  // A negative gap reads as 0, as at 96 DPI.
  settings.GAP_BETWEEN_ITEMS = -4;
  EXPECT_EQ(ScalePanelMetrics(settings, 192).gap, 0);
}

TEST(ScalePanelMetrics, LeavesTheSettingsAt96Dpi) {
  Settings settings;
  settings.FONTSIZE = 12;
  settings.WND_WIDTH = 200;
  const Settings before = settings;
  (void)ScalePanelMetrics(settings, 192);
  EXPECT_EQ(settings.FONTSIZE, before.FONTSIZE);
  EXPECT_EQ(settings.WND_WIDTH, before.WND_WIDTH);
  EXPECT_EQ(settings.TOP, before.TOP);
  EXPECT_EQ(settings.DEF_MAX_WND_WIDTH, before.DEF_MAX_WND_WIDTH);
}

TEST(DpiFollower, MakesTheFontOncePerChange) {
  DpiFollower follower;
  const struct {
    int32_t dpi;
    bool remake;
  } ticks[] = {
      {96, true},    // the first font
      {96, false},   {96, false},
      {144, true},   // crossed to the 150 % monitor
      {144, false},  {144, false}, {144, false},
      {96, true},    // and back
      {0, false},    // a failed query reads as 96: no change
      {192, true},   {192, false},
  };
  for (const auto& t : ticks) {
    EXPECT_EQ(follower.Update(t.dpi), t.remake) << t.dpi;
    EXPECT_EQ(follower.dpi(), t.dpi > 0 ? t.dpi : kBaseDpi);
  }
  follower.FontFailed();
  EXPECT_TRUE(follower.Update(192)) << "a font that could not be made is tried again";
  EXPECT_FALSE(follower.Update(192));
}

// Two monitors side by side: 96 DPI on the left, 144 on the right.
class TwoMonitorTest : public ::testing::Test {
 protected:
  TwoMonitorTest() {
    windows.monitors = {MonitorInfo{Rect{0, 0, 1280, 1024}, Rect{0, 0, 1280, 994}, 96},
                        MonitorInfo{Rect{1280, 0, 3200, 1080}, Rect{1280, 0, 3200, 1040}, 144}};
  }
  Settings settings;
  DisplayState state;
  fakes::FakeWindows windows;
};

TEST_F(TwoMonitorTest, TheCursorsMonitorSetsTheDpiAndTheFontFollowsOnce) {
  DpiFollower follower;
  int remakes = 0;
  const Point path[] = {{10, 10}, {600, 400}, {1279, 500}, {1280, 500}, {2000, 100},
                        {3000, 900}, {1000, 900}, {900, 800}};
  for (const Point p : path) {
    windows.cursor = p;
    if (follower.Update(PanelDpi(settings, windows))) ++remakes;
  }
  EXPECT_EQ(remakes, 3);  // first font, into the 144 monitor, back
  EXPECT_EQ(follower.dpi(), 96);
}

TEST_F(TwoMonitorTest, APinnedPanelTakesItsTargetMonitorsDpi) {
  windows.cursor = Point{100, 100};  // on the 96 DPI monitor
  settings.WPOS = 9;                 // second monitor, bottom-right of its work area
  EXPECT_EQ(PanelDpi(settings, windows), 144);
  windows.cursor = Point{2000, 100};
  settings.WPOS = 1;
  EXPECT_EQ(PanelDpi(settings, windows), 96);
  settings.WPOS = 17;  // no third monitor: placed on the first
  EXPECT_EQ(PanelDpi(settings, windows), 96);
  settings.WPOS = 0;
  EXPECT_EQ(PanelDpi(settings, windows), 144);
}

TEST_F(TwoMonitorTest, OffsetsAndTheRoundedMarginScale) {
  settings.LEFT = 4;
  settings.TOP = 20;
  settings.ROUNDRECT = 1;
  state.dpi = 144;
  windows.cursor = Point{2000, 100};
  PlaceWindows(state, settings, windows, true);
  ASSERT_EQ(windows.moves.size(), 1u);
  EXPECT_EQ(windows.moves[0].text, (Point{2006, 130}));
  EXPECT_EQ(windows.moves[0].background, (Point{1994, 118}));

  // Pinned to the 144 monitor's top-left screen corner (WPOS 16).
  settings.WPOS = 16;
  windows.moves.clear();
  PlaceWindows(state, settings, windows, true);
  ASSERT_EQ(windows.moves.size(), 1u);
  EXPECT_EQ(windows.moves[0].text, (Point{1280 - 12, -12}));
  EXPECT_EQ(windows.moves[0].background, (Point{1280 - 24, -24}));
  EXPECT_EQ(settings.LEFT, 4) << "nothing is written back scaled";
}

class ScaledCycleTest : public ::testing::Test {
 protected:
  ScaledCycleTest() : sampler(system) {
    // The clock alone, unless a test adds a line.
    settings.SHOW_CLOCK = 1;
    settings.CLIPBOARD = 0;
    settings.GAIBU = 0;
    settings.CPUMEM = 0;
    settings.IMESTATE = 0;
    settings.ALARM_NOKORI = 0;
    settings.MEMO.clear();
    settings.FORMAT.assign(u"HH:mm");
    sources.now = TimeRecord{2026, 12, 2, 8, 3, 20, 5, 250};
    state.dpi = 144;
  }
  void Run() {
    DisplayContext context{settings, Language::English, state, sources, windows, alarm, &sampler};
    provider.canvas = fakes::FakeCanvas{};
    DisplayCycle(context, provider, true);
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

TEST_F(ScaledCycleTest, WorkingAreaAndGapsAreScaled) {
  settings.MEMO.assign(u"memo");
  settings.GAP_BETWEEN_ITEMS = 4;
  Run();
  const auto& draws = provider.canvas.texts;
  ASSERT_EQ(draws.size(), 2u);
  EXPECT_EQ(draws[0].area, (Rect{0, 0, 750, 1500}));
  EXPECT_EQ(draws[1].area, (Rect{0, kRowHeight + 6, 750, 1500}));
  EXPECT_EQ(windows.text_size.height, 2 * kRowHeight + 2 * 6);
}

TEST_F(ScaledCycleTest, FixedSizesAreScaled) {
  settings.WND_WIDTH = 100;
  settings.WND_HEIGHT = 40;
  Run();
  EXPECT_EQ(windows.text_size, (Size{150, 60}));
}

TEST_F(ScaledCycleTest, TheOutlineIsTwoRingsAt144) {
  settings.KAKOMI_COLOR = MakeColor(0, 0, 0);
  Run();
  const auto& draws = provider.canvas.texts;
  // The text, four shifts at distance 1, four at distance 2, the text again.
  ASSERT_EQ(draws.size(), 10u);
  EXPECT_EQ(draws[5].area.left, -2);
  EXPECT_EQ(draws[5].area.top, -2);
  EXPECT_EQ(draws[8].area.left, 2);
  EXPECT_EQ(draws[8].area.top, 2);
  EXPECT_EQ(draws[9].area, draws[0].area);
}

TEST_F(ScaledCycleTest, ARoundedPanelGrowsByTheScaledMarginAndFollowsADpiChange) {
  settings.ROUNDRECT = 1;
  Run();
  EXPECT_EQ(windows.background_size, (Size{windows.text_size.width + 24, windows.text_size.height + 24}));
  const int resizes = windows.resizes;
  // Same content size, new DPI: the panel's growth alone changes. The
  // fake's text metrics do not scale, so only the margin differs.
  state.dpi = 192;
  Run();
  EXPECT_EQ(windows.resizes, resizes + 1);
  EXPECT_EQ(windows.background_size, (Size{windows.text_size.width + 32, windows.text_size.height + 32}));
}

}  // namespace

namespace {

TEST(MonitorDpiGate, AsksAgainOnlyWhenTheCursorLeavesItsMonitor) {
  const Rect left_monitor{0, 0, 1280, 1024};
  struct Step {
    Point cursor;
    int32_t wpos;
    bool due;
  };
  const Step steps[] = {
      {{400, 300}, 0, false},   // moves within the monitor
      {{1279, 1023}, 0, false}, // its last pixel
      {{1280, 300}, 0, true},   // one past the right edge
      {{-1, 300}, 0, true},     // left of it
      {{400, 1024}, 0, true},   // below it
      {{400, 300}, 3, true},    // WPOS changed
  };
  for (const Step& step : steps) {
    MonitorDpiGate gate;
    EXPECT_TRUE(gate.Due(step.cursor, step.wpos)) << "never asked yet";
    gate.Checked(Point{10, 10}, 0, &left_monitor);
    EXPECT_EQ(gate.Due(step.cursor, step.wpos), step.due) << step.cursor.x << "," << step.cursor.y;
  }
}

TEST(MonitorDpiGate, CursorOnNoMonitorAsksOnEveryMove) {
  MonitorDpiGate gate;
  gate.Checked(Point{-5000, 10}, 0, nullptr);
  EXPECT_FALSE(gate.Due(Point{-5000, 10}, 0));
  EXPECT_TRUE(gate.Due(Point{-5001, 10}, 0));
}

TEST(MonitorDpiGate, PinnedPanelIgnoresTheCursorButNotWposOrMonitorChanges) {
  MonitorDpiGate gate;
  gate.Checked(Point{10, 10}, 9, nullptr);
  EXPECT_FALSE(gate.Due(Point{5000, -300}, 9));
  EXPECT_TRUE(gate.Due(Point{10, 10}, 1));
  gate.Invalidate();
  EXPECT_TRUE(gate.Due(Point{10, 10}, 9));
}

}  // namespace
