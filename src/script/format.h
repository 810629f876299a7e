// The Format built-in: printf-style conversions over script values, each
// conversion's output capped at 4095 bytes.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// One argument as both conversions see it: its integer and its text.
struct FormatArgument {
  int32_t integer = 0;
  std::string text;
};

// Longest output of a single conversion.
inline constexpr size_t kFormatConversionLimit = 4095;

std::string FormatText(std::string_view format, std::span<const FormatArgument> arguments);
