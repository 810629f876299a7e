#pragma once
// UTF-8 <-> UTF-16 conversion. Malformed input becomes U+FFFD, never an error.

#include <string>
#include <string_view>

std::string Utf16ToUtf8(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view text);

// Strict UTF-8: no overlong forms, surrogates, values past U+10FFFF or cut-short sequences.
bool IsValidUtf8(std::string_view bytes);
