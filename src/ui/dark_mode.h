#pragma once
// The dark-mode decision and the colours of the dark theme, free of the
// platform so that the rule can be tested anywhere.

#include <cstdint>
#include <optional>

// What the system told us; an empty optional is a query that failed.
struct DarkModeFacts {
  std::optional<uint32_t> major_version;        // from RtlGetVersion
  std::optional<uint32_t> apps_use_light_theme;  // the DWORD "AppsUseLightTheme"
};

// Dark only on version 10 or later with the light theme switched off; any
// missing fact means light. `check_version` is off for the about box, which
// reads the theme value alone.
constexpr bool DecideDarkMode(const DarkModeFacts& facts, bool check_version = true) {
  if (check_version && (!facts.major_version || *facts.major_version <= 9)) return false;
  return facts.apps_use_light_theme.has_value() && *facts.apps_use_light_theme == 0;
}

// Colours as 0x00BBGGRR, the platform's COLORREF layout.
constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return r | (g << 8) | (b << 16); }

namespace dark_colour {
inline constexpr uint32_t kBackground = Rgb(56, 56, 56);  // dialogs, statics, edits, hotkey boxes
inline constexpr uint32_t kText = Rgb(255, 255, 255);
inline constexpr uint32_t kTooltipBackground = Rgb(45, 45, 45);  // also list views
inline constexpr uint32_t kTooltipText = Rgb(254, 254, 254);
inline constexpr uint32_t kTabStrip = Rgb(30, 30, 30);  // strip and unselected tabs
inline constexpr uint32_t kTabBorder = Rgb(70, 70, 70);
inline constexpr uint32_t kDisabledText = Rgb(127, 127, 127);  // also check-box outlines
inline constexpr uint32_t kDisabledFill = Rgb(76, 76, 76);
inline constexpr uint32_t kHotkeyFocusBorder = Rgb(0, 120, 215);
inline constexpr uint32_t kHotkeyBorder = Rgb(80, 80, 80);
}  // namespace dark_colour

// The tab strip draws each label inside its tab shrunk by these.
inline constexpr int kTabTextInsetX = 10;
inline constexpr int kTabTextInsetY = 4;
inline constexpr int kTabTextMax = 63;
