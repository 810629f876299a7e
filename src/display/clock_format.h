#pragma once
// Clock pattern: letter tokens such as "yyyy", "MMM", "H:mm:ss" turned into
// text in the caller's fixed buffer. Also the clock seam the display logic
// reads the time through, and a tiny allocation-free number renderer that the
// system-information pattern shares.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/fixed_text.h"

// Local time as the platform reports it (the layout of a SYSTEMTIME).
struct TimeRecord {
  uint16_t year = 2000;       // four digits
  uint16_t month = 1;         // 1-12
  uint16_t day_of_week = 0;   // 0 = Sunday
  uint16_t day = 1;           // 1-31
  uint16_t hour = 0;          // 0-23
  uint16_t minute = 0;        // 0-59
  uint16_t second = 0;        // 0-59
  uint16_t milliseconds = 0;  // 0-999
};

// Where time-dependent display logic gets the time; tests substitute it.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual TimeRecord LocalNow() const = 0;
  // Millisecond tick count; wraps after about 49.7 days (compare by unsigned
  // difference).
  virtual uint32_t TickCount() const = 0;
};

// Fills `out` with `time` rendered through `pattern`. The output is cut at
// the last whole piece that fits (519 characters); an empty pattern gives an
// empty text. A U+0000 in the pattern ends it. Allocates nothing.
void FormatDateTime(TextBuffer& out, const TimeRecord& time,
                    std::u16string_view pattern);

// A number rendered as wsprintfW's "%d", "%2d", "%02d" ... would render it.
struct NumberPiece {
  char16_t text[24];
  size_t size = 0;
  std::u16string_view view() const { return {text, size}; }
};

// `width` is the minimum width; `zero_pad` pads with zeros after the sign
// instead of spaces before it.
NumberPiece FormatSigned(int64_t value, int width, bool zero_pad);
NumberPiece FormatUnsigned(uint64_t value, int width, bool zero_pad);
