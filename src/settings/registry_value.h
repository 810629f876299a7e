#pragma once
// How the registry store turns raw registry values into settings. The value
// types carry the platform's numbers so that the Windows layer can pass them
// straight through.

#include <cstddef>
#include <cstdint>
#include <string>

enum RegistryValueType : uint32_t {
  kRegNone = 0,
  kRegSz = 1,
  kRegExpandSz = 2,
  kRegBinary = 3,
  kRegDword = 4,
  kRegDwordBigEndian = 5,
  kRegLink = 6,
  kRegMultiSz = 7,
  kRegQword = 11,
};

bool IsRegistryTextType(uint32_t type);

// The integer of a stored value: text types only when the text is an
// optional sign and digits (a lone sign is 0, beyond 32 bits it clamps);
// DWORD, binary and QWORD the first four bytes little-endian (missing bytes
// count as zero); big-endian DWORD its four bytes; anything else the fallback.
int32_t RegistryIntegerFromValue(uint32_t type, const uint8_t* data, std::size_t size, int32_t fallback);

// The text of a stored value, as UTF-16LE bytes. Only text types count; the
// text ends at the first terminator or at the data's end, whichever comes
// first, and must leave room for a terminator in `capacity` characters.
// False (and `out` untouched) otherwise.
bool RegistryStringFromValue(uint32_t type, const uint8_t* data, std::size_t size, std::size_t capacity,
                             std::u16string& out);

// The UTF-16LE bytes of a REG_SZ value of `text`, terminator included.
std::u16string::size_type RegistryStringByteSize(std::u16string_view text);
