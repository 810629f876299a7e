#pragma once
// UTF-8 <-> UTF-16 conversion. Malformed input becomes U+FFFD, never an error.

#include <cstddef>
#include <string>
#include <string_view>

std::string Utf16ToUtf8(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view text);

// Strict UTF-8: no overlong forms, surrogates, values past U+10FFFF or cut-short sequences.
bool IsValidUtf8(std::string_view bytes);

// A byte-order mark at the start of `bytes`: which one and its length (0 when none).
enum class ByteOrderMark { kNone, kUtf16Le, kUtf16Be, kUtf8 };
struct FoundMark {
  ByteOrderMark kind;
  std::size_t size;
};
FoundMark FindByteOrderMark(std::string_view bytes);

// `bytes` taken two by two as UTF-16 code units (an odd last byte is
// dropped); with `stop_at_nul`, only the units before the first NUL.
std::u16string Utf16FromBytes(std::string_view bytes, bool big_endian, bool stop_at_nul);
