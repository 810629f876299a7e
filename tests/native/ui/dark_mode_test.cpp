#include "ui/dark_mode.h"

#include <gtest/gtest.h>

namespace {

struct Case {
  const char* name;
  DarkModeFacts facts;
  bool check_version;
  bool dark;
};

TEST(DarkModeRule, DarkOnlyFromVersionTenWithTheLightThemeOff) {
  const Case cases[] = {
      {"10 and 0", {10u, 0u}, true, true},
      {"11 and 0", {11u, 0u}, true, true},
      {"10 and 1", {10u, 1u}, true, false},
      {"9 and 0 is light whatever the value", {9u, 0u}, true, false},
      {"6 and 0", {6u, 0u}, true, false},
      {"missing value", {10u, std::nullopt}, true, false},
      {"unknown version", {std::nullopt, 0u}, true, false},
      {"nothing known", {std::nullopt, std::nullopt}, true, false},
      {"about box reads the value alone", {std::nullopt, 0u}, false, true},
      {"about box, old version", {6u, 0u}, false, true},
      {"about box, missing value", {std::nullopt, std::nullopt}, false, false},
      {"other non-zero value", {10u, 2u}, true, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DecideDarkMode(c.facts, c.check_version), c.dark) << c.name;
  }
}

TEST(DarkModeColours, AreTheThemeTableInPlatformOrder) {
  EXPECT_EQ(dark_colour::kBackground, 0x383838u);
  EXPECT_EQ(dark_colour::kText, 0xFFFFFFu);
  EXPECT_EQ(dark_colour::kTooltipBackground, 0x2D2D2Du);
  EXPECT_EQ(dark_colour::kHotkeyFocusBorder, 0xD77800u);  // R 0, G 120, B 215
}

}  // namespace
