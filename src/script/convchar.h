// Japanese character-class conversion of the ConvChar built-in: nine
// replacement tables applied position by position, then TAB expansion.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// One replacement: forward searches `left` and writes `right`; the reverse
// direction swaps the columns.
struct ConvCharEntry {
  std::u16string_view left;
  std::u16string_view right;
};

// A table group and the two flag bits that select its direction; when both
// are set the forward bit wins.
struct ConvCharTable {
  char name;  // 'H', 'K', 'A', 'N', 'S', 'F', 'L', 'E', 'C'
  uint32_t forward_flag;
  uint32_t reverse_flag;
  std::span<const ConvCharEntry> entries;
};

inline constexpr uint32_t kConvCharTableFlags = 0x3FFFF0;
inline constexpr uint32_t kConvCharTab4 = 0x400000;
inline constexpr uint32_t kConvCharTab8 = 0x800000;

// The nine groups in the order the table pass applies them.
std::span<const ConvCharTable> ConvCharTables();

// Converts UTF-16 text by the flag set.
std::u16string ConvertCharacters(std::u16string_view text, uint32_t flags);

// The built-in's form: UTF-8 in, UTF-8 out.
std::string ConvCharUtf8(std::string_view text, uint32_t flags);

// Column width of a UTF-16 unit for TAB expansion: 1 for Latin-1 and the
// half-width katakana and punctuation, 2 for everything else.
int ConvCharColumnWidth(char16_t unit);
