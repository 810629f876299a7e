#pragma once
// The predefined names a bare identifier falls back to when no variable of
// that name has been assigned: truth words, integer bounds, the ConvChar
// flags and the system-metric and virtual-key codes of the platform.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

struct ConstantRow {
  std::string_view name;
  int32_t value;
};

inline constexpr std::size_t kConstantCount = 327;
extern const std::array<ConstantRow, kConstantCount> kConstantTable;

// Upper-cases the name (ASCII) and binary-searches the table.
std::optional<int32_t> LookupConstant(std::string_view name);
