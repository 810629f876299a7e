#include "display/system_format.h"

#include <algorithm>

#include "display/clock_format.h"

namespace {

constexpr uint64_t kKilo = 1024;

uint64_t MemoryQuantity(const MemorySnapshot& m, char16_t letter) {
  switch (letter) {
    case u'M': return m.total_physical;
    case u'm': return m.available_physical;
    case u'P': return m.total_page_file;
    case u'p': return m.available_page_file;
    case u'V': return m.total_virtual;
    case u'v': return m.available_virtual;
    case u'e': return m.available_extended_virtual;
    default: return 0;
  }
}

int DriveIndex(char16_t letter) {
  if (letter >= u'A' && letter <= u'Z') return letter - u'A';
  if (letter >= u'a' && letter <= u'z') return letter - u'a';
  return -1;
}

// A "{" X U "}" memory token: X and U are anything but "}".
bool IsMemoryToken(std::u16string_view p) {
  return p.size() >= 4 && p[0] == u'{' && p[1] != u'}' && p[2] != u'}' && p[3] == u'}';
}

// A "{" X L U "}" drive token.
bool IsDriveToken(std::u16string_view p) {
  return p.size() >= 5 && p[0] == u'{' && p[1] != u'}' && p[2] != u'}' &&
         p[3] != u'}' && p[4] == u'}';
}

struct Formatter {
  const SystemSnapshot& snapshot;
  const DriveWatch& watch;
  DriveSpaceSource& drives;
  bool warning = false;
  bool piece_warns = false;  // counts only once its piece is in the output

  uint64_t DriveFigure(char16_t which, char16_t letter) {
    if (which != u'D' && which != u'd') return 0;
    DriveSpace space;
    if (!drives.QueryDriveSpace(letter, space)) return 0;
    piece_warns = DriveIsShort(watch, letter, space);
    return which == u'D' ? space.total : space.free_to_user;
  }

  // Returns the piece at the start of `p` and how much of `p` it consumes.
  std::u16string_view Piece(std::u16string_view p, NumberPiece& number, size_t& consumed) {
    if (p.starts_with(u"\\n")) { consumed = 2; return u"\n"; }
    if (p.starts_with(u"\\\\")) { consumed = 2; return u"\\"; }
    if (p.starts_with(u"\\{")) { consumed = 2; return u"{"; }
    if (p.starts_with(u"\\}")) { consumed = 2; return u"}"; }
    if (p.starts_with(u"{c}")) {
      consumed = 3;
      number = FormatSigned(snapshot.processor_load, 3, false);
      return number.view();
    }
    if (p.starts_with(u"{b}")) {
      consumed = 3;
      if (snapshot.power.battery_percent == kBatteryUnknown) return u"---";
      number = FormatSigned(snapshot.power.battery_percent, 3, false);
      return number.view();
    }
    if (p.starts_with(u"{MX}") || p.starts_with(u"{MY}")) {
      consumed = 4;
      number = FormatSigned(p[2] == u'X' ? snapshot.cursor.x : snapshot.cursor.y, 4, false);
      return number.view();
    }
    if (IsMemoryToken(p)) {
      consumed = 4;
      number = FormatUnsigned(MemoryQuantity(snapshot.memory, p[1]) / UnitLetterDivisor(p[2]),
                              4, false);
      return number.view();
    }
    if (IsDriveToken(p)) {
      consumed = 5;
      number = FormatUnsigned(DriveFigure(p[1], p[2]) / UnitLetterDivisor(p[3]), 4, false);
      return number.view();
    }
    consumed = 1;
    return p.substr(0, 1);
  }
};

}  // namespace

DriveWatch DriveWatchOf(const Settings& s) {
  DriveWatch watch;
  watch.WarnDiskSize = s.WarnDiskSize != 0;
  for (int d = 0; d < kDriveCount; ++d) {
    // Thresholds are unsigned; the unit's low byte counts (load rule).
    watch.WATCHDRIVEFREE_SIZE[d] = static_cast<uint32_t>(s.WATCHDRIVEFREE_SIZE[d]);
    watch.WATCHDRIVEFREE_UNIT[d] = static_cast<uint8_t>(s.WATCHDRIVEFREE_UNIT[d] & 0xFF);
  }
  return watch;
}

uint64_t UnitLetterDivisor(char16_t letter) {
  switch (letter) {
    case u'K': return UnitCodeDivisor(1);
    case u'M': return UnitCodeDivisor(2);
    case u'G': return UnitCodeDivisor(3);
    case u'T': return UnitCodeDivisor(4);
    case u'P': return UnitCodeDivisor(5);
    case u'E': return UnitCodeDivisor(6);
    default: return 1;
  }
}

uint64_t UnitCodeDivisor(unsigned code) {
  if (code < 1 || code > 6) return 1;
  uint64_t divisor = 1;
  for (unsigned i = 0; i < code; ++i) divisor *= kKilo;
  return divisor;
}

bool DriveIsShort(const DriveWatch& watch, char16_t letter, const DriveSpace& space) {
  const int index = DriveIndex(letter);
  if (!watch.WarnDiskSize || index < 0) return false;
  const uint64_t threshold = watch.WATCHDRIVEFREE_SIZE[index];
  if (threshold == 0) return false;
  const unsigned unit = watch.WATCHDRIVEFREE_UNIT[index];
  if (unit != 0) return space.free_to_user / UnitCodeDivisor(unit) < threshold;
  if (space.total == 0) return false;
  // Free x 100 in 128 bits: drives beyond 184 PB would overflow 64.
  const unsigned __int128 percent =
      static_cast<unsigned __int128>(space.free_to_user) * 100 / space.total;
  return percent < threshold;
}

bool FormatSystemInfo(TextBuffer& out, const SystemSnapshot& snapshot,
                      std::u16string_view pattern, const DriveWatch& watch,
                      DriveSpaceSource& drives) {
  out.clear();
  pattern = pattern.substr(0, std::min(pattern.find(u'\0'), pattern.size()));
  Formatter formatter{snapshot, watch, drives};
  size_t pos = 0;
  while (pos < pattern.size()) {
    NumberPiece number;
    size_t consumed = 1;
    formatter.piece_warns = false;
    const std::u16string_view piece = formatter.Piece(pattern.substr(pos), number, consumed);
    // Formatting stops at the first piece that would reach the 520th
    // character; the verdict found so far stands.
    if (!out.append(piece)) break;
    formatter.warning = formatter.warning || formatter.piece_warns;
    pos += consumed;
  }
  return formatter.warning;
}

bool PatternFollowsCursor(std::u16string_view pattern) {
  return pattern.find(u"{MX}") != std::u16string_view::npos ||
         pattern.find(u"{MY}") != std::u16string_view::npos;
}
