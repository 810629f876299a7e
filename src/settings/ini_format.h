#pragma once
// The INI store's value forms, as the platform's profile functions produce
// and read them.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Profile lines cannot hold line breaks: every CR and every LF is written as
// U+0001 (CR LF becomes two). Text without line breaks is written unchanged.
std::u16string EncodeIniLineBreaks(std::u16string_view text);
// Reading: U+0001 U+0001 becomes CR LF, a single U+0001 becomes LF.
std::u16string DecodeIniLineBreaks(std::u16string_view text);

// The profile reader drops blanks around a value and one pair of quotes
// enclosing it, so " a " would read back as "a". Such a value is written
// inside double quotes, which the reader removes again; others unchanged.
std::u16string QuoteIniValue(std::u16string_view text);
// What the profile reader makes of the raw text after "KEY=".
std::u16string_view IniValueAsRead(std::u16string_view raw);

// The integer that the profile integer read makes of a stored text: leading
// blanks, an optional sign, a 0x/0o/0b radix prefix, then digits up to the
// first other character; an empty text gives the fallback, junk gives 0.
int32_t ParseProfileInt(std::u16string_view text, int32_t fallback);

// The profile struct form: two hexadecimal digits per byte, then the byte sum
// modulo 256 as a checksum.
std::u16string EncodeProfileStruct(const uint8_t* bytes, std::size_t size);
// False unless the text holds exactly `size` bytes with a matching checksum.
bool DecodeProfileStruct(std::u16string_view text, uint8_t* bytes, std::size_t size);
