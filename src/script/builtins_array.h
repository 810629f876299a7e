#pragma once
// Built-in rows of the array family, merged into the sorted table.

#include <array>

#include "script/builtin_table.h"

inline constexpr std::array<BuiltinRow, 0> kArrayBuiltinRows{};
