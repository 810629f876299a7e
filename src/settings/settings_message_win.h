#pragma once
// Casts between the portable UTF-16 text and the wide platform calls of the
// settings store. (The store's messages go through ShowMessage.)

#include <windows.h>

#include <string>
#include <string_view>

// UTF-16 text for the wide platform calls (wchar_t is 16 bits on Windows).
inline const wchar_t* AsWide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }
inline std::u16string_view AsU16(const wchar_t* text) { return reinterpret_cast<const char16_t*>(text); }
