#pragma once
// System-information pattern: brace tokens such as "{c}", "{mM}" or "{dCG}"
// turned into text in the caller's fixed buffer, with the verdict whether a
// watched drive named in the pattern is short of free space.

#include <array>
#include <cstdint>
#include <string_view>

#include "common/fixed_text.h"
#include "settings/settings.h"

// Extended memory status, byte counts as the platform reports them.
struct MemorySnapshot {
  uint32_t memory_load = 0;  // percent
  uint64_t total_physical = 0;
  uint64_t available_physical = 0;
  uint64_t total_page_file = 0;
  uint64_t available_page_file = 0;
  uint64_t total_virtual = 0;
  uint64_t available_virtual = 0;
  uint64_t available_extended_virtual = 0;
};

inline constexpr uint8_t kBatteryUnknown = 255;

struct PowerSnapshot {
  uint8_t battery_percent = kBatteryUnknown;  // 0-100, 255 when unknown
};

struct CursorPoint {
  int32_t x = 0;
  int32_t y = 0;
};

// Everything one system line is formatted from, except drive space.
struct SystemSnapshot {
  int32_t processor_load = 0;  // percent, from the processor-time counter
  MemorySnapshot memory;
  PowerSnapshot power;
  CursorPoint cursor;
};

// Drive-watch settings: WarnDiskSize, WATCHDRIVEFREE_SIZE_A..Z and
// WATCHDRIVEFREE_UNIT_A..Z (index 0 = drive A).
struct DriveWatch {
  bool WarnDiskSize = false;
  std::array<uint32_t, 26> WATCHDRIVEFREE_SIZE{};  // 0 = not watched
  std::array<uint8_t, 26> WATCHDRIVEFREE_UNIT{};   // 0 = percent, 1-6 = KB..EB
};

// The drive-watch fields of the settings record.
DriveWatch DriveWatchOf(const Settings& settings);

struct DriveSpace {
  uint64_t free_to_user = 0;
  uint64_t total = 0;
};

// The free-space query of a drive root such as "C:\"; false when the drive
// cannot be queried (missing, not ready).
class DriveSpaceSource {
 public:
  virtual ~DriveSpaceSource() = default;
  virtual bool QueryDriveSpace(char16_t letter, DriveSpace& space) = 0;
};

// Divisor of a unit letter (K, M, G, T, P, E; anything else is bytes).
uint64_t UnitLetterDivisor(char16_t letter);
// Divisor of a WATCHDRIVEFREE_UNIT code 1-6 (anything else is bytes).
uint64_t UnitCodeDivisor(unsigned code);

// Whether a drive with `space` is short by the watch settings of drive
// `letter` (A-Z or a-z; other characters are never watched).
bool DriveIsShort(const DriveWatch& watch, char16_t letter, const DriveSpace& space);

// Fills `out` with `snapshot` rendered through `pattern` (a U+0000 ends it)
// and returns true when a watched drive named in a {D..}/{d..} token is
// short. Output stops at the last whole piece that fits (519 characters).
// Allocates nothing.
bool FormatSystemInfo(TextBuffer& out, const SystemSnapshot& snapshot,
                      std::u16string_view pattern, const DriveWatch& watch,
                      DriveSpaceSource& drives);

// Whether `pattern` follows the cursor ({MX} or {MY}), so it is formatted
// again when the cursor moves.
bool PatternFollowsCursor(std::u16string_view pattern);
