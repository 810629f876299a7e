#include "app/enlarge.h"

#include <gtest/gtest.h>

namespace {

TEST(EnlargementFactor, TakesTheTighterOfTheTwoDirections) {
  struct Case {
    PixelRect work;
    int32_t width;
    int32_t height;
    double factor;
  };
  const Case cases[] = {
      {{0, 0, 1600, 900}, 400, 300, 3.0},   // height limits
      {{0, 0, 1000, 1200}, 400, 300, 2.5},  // width limits
      {{0, 0, 800, 600}, 400, 300, 2.0},    // both agree
      {{0, 0, 300, 200}, 400, 300, 0.66666666666666663},  // a dialog larger than the screen shrinks
      {{0, 0, 1600, 900}, 0, 300, 1.0},     // a zero size must not divide
      {{0, 0, 1600, 900}, 400, -5, 1.0},
      {{0, 0, 0, 900}, 400, 300, 1.0},
  };
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(EnlargementFactor(c.work, c.width, c.height), c.factor)
        << c.work.width << "x" << c.work.height << " for " << c.width << "x" << c.height;
  }
}

TEST(ScaleRect, MultipliesPositionAndSizeAndRounds) {
  const PixelRect r = ScaleRect({8, 68, 120, 33}, 1.5);
  EXPECT_EQ(r.left, 12);
  EXPECT_EQ(r.top, 102);
  EXPECT_EQ(r.width, 180);
  EXPECT_EQ(r.height, 50);  // 49.5 rounds up
  const PixelRect same = ScaleRect({-3, 4, 10, 20}, 1.0);
  EXPECT_EQ(same.left, -3);
  EXPECT_EQ(same.height, 20);
}

TEST(PlaceAtBottomRight, SitsOnTheWorkAreasCorner) {
  // A work area that does not start at the origin (taskbar on the left or top).
  const PixelRect placed = PlaceAtBottomRight({60, 30, 1220, 994}, 400, 300);
  EXPECT_EQ(placed.left, 60 + 1220 - 400);
  EXPECT_EQ(placed.top, 30 + 994 - 300);
  EXPECT_EQ(placed.width, 400);
  EXPECT_EQ(placed.height, 300);
}

TEST(EnlargedFont, GrowsWithTheFactorAndIsBoldOnlyWhenLarger) {
  EXPECT_EQ(EnlargedFontWeight(2.0), 600);
  EXPECT_EQ(EnlargedFontWeight(1.0), 400);
  EXPECT_EQ(EnlargedFontWeight(0.8), 400);
  // Font heights are negative for character heights; the sign stays.
  EXPECT_EQ(ScaleFontMetric(-12, 2.5), -30);
  EXPECT_EQ(ScaleFontMetric(0, 3.0), 0);  // a width of 0 keeps the font's own aspect
}

}  // namespace
