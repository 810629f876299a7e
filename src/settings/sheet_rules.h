#pragma once
// The settings sheet's decisions, apart from its controls: the General
// page's checks and countdown arithmetic, the numeric-field filter, the list
// texts of the pages, the drive-threshold rules, the colour text and the
// hotkey duplicate rule. The pages (settings_*_page_win.cpp) only apply them.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/text_pair.h"
#include "common/language.h"

// --- General page ---

// A number typed into a field, read as unsigned: text that is not a whole
// number (spaces around it allowed) reads as 0, a number too large for 32
// bits reads as the largest value so that range checks still reject it.
uint32_t ReadUnsignedField(std::u16string_view text);

// The fields the General page checks before it takes anything.
struct GeneralChecks {
  uint32_t hour = 0;
  uint32_t minute = 0;
  uint32_t second = 0;
  uint32_t interval = 20;
  uint32_t alarm_before = 0;
  uint32_t chime_before = 0;
  uint32_t clear_seconds = 1;
};

// The message of the first check that fails, in order (hour, minute, second,
// refresh, alarm "before", chime "before", clipboard seconds); nullptr when
// every check passes.
const TextPair* FirstFailedCheck(const GeneralChecks& fields);
inline constexpr TextPair kSettingsCaption{u"設定", u"Settings"};

// The offset and gap fields take digits and a leading minus sign only.
bool IsSignedDigitsText(std::u16string_view text);

struct TimeOfDay {
  int hour = 0;
  int minute = 0;
  int second = 0;
};
// The alarm time of a countdown: now plus the duration, seconds and minutes
// carrying at 60 and the hour wrapping past 23.
TimeOfDay CountdownTarget(TimeOfDay now, TimeOfDay duration);

// FONTSIZE as taken on apply; a size list entry or a typed number.
constexpr bool IsValidFontSize(int32_t size) { return size >= 5 && size <= 1638; }
const std::vector<int>& FontSizeList();

// Font faces offered: vertical-writing faces ("@...") left out, duplicates
// dropped, first-seen order kept.
std::vector<std::u16string> FilterFontFaces(const std::vector<std::u16string>& faces);

// The corner list: 8 entries per monitor, monitor numbers from 1.
std::vector<std::u16string> CornerListTexts(int monitors, Language language);
// The corner list entry WPOS selects (WPOS-1 when that monitor exists, else 0).
int CornerListIndex(int32_t wpos, int monitors);

std::array<std::u16string_view, 4> FontStyleTexts(Language language);
std::array<std::u16string_view, 6> ClipboardDelayTexts(Language language);
// CBDELAY as shown and taken: outside 0-5 it is 0.
constexpr int32_t ClipboardDelayIndex(int32_t stored) { return stored < 0 || stored > 5 ? 0 : stored; }

// --- Format page: drive warning ---

std::array<std::u16string_view, 7> DriveUnitTexts();
constexpr int kPercentUnit = 0;
// A threshold as typed: with the "%" unit it is cut to 100.
int64_t ClampThreshold(int64_t value, int unit);
// A threshold when the unit is switched: a "%" threshold above 100 becomes 0.
int64_t ThresholdAfterUnitChange(int64_t value, int unit);
// The drive list's entry for a drive (0 = A).
std::u16string DriveEntryText(int drive, int32_t threshold, int32_t unit, Language language);

// --- Colors page ---

// "[RRGGBB]" in upper-case hexadecimal, red first (colour in COLORREF layout).
std::u16string ColorText(uint32_t color);

// --- Hotkeys page ---

// True when any two non-zero hotkeys are equal.
bool HasDuplicateHotkey(const std::vector<uint32_t>& hotkeys);
inline constexpr TextPair kHotkeyDuplicated{u"ホットキーが重複しています。", u"The hotkey is duplicated."};
inline constexpr TextPair kHotkeyCaption{u"ホットキー", u"Hotkey"};
