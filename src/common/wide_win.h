#pragma once
// The one place that casts between portable UTF-16 text (char16_t) and the
// wide platform calls (wchar_t, the same 16-bit unit on Windows).

#include <string>
#include <string_view>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "wide characters are UTF-16 units");

inline const wchar_t* Wide(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }
inline wchar_t* Wide(char16_t* text) { return reinterpret_cast<wchar_t*>(text); }
// Terminated: for calls that take a plain string.
inline const wchar_t* Wide(const std::u16string& text) { return Wide(text.c_str()); }
// Not terminated: only for calls that are also given the length. Never null,
// even for an empty view.
inline const wchar_t* Wide(std::u16string_view text) { return text.empty() ? L"" : Wide(text.data()); }
inline const char16_t* U16(const wchar_t* text) { return reinterpret_cast<const char16_t*>(text); }
inline char16_t* U16(wchar_t* text) { return reinterpret_cast<char16_t*>(text); }
inline std::u16string_view U16View(const wchar_t* text) { return U16(text); }
inline std::u16string_view U16View(const wchar_t* text, std::size_t count) { return {U16(text), count}; }
