#pragma once
// Built-in rows of the regular-expression family, merged into the sorted
// table.

#include <array>

#include "script/builtin_table.h"

ScriptValue BuiltinRegexMatch(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinRegexReplace(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinRegexSearch(BuiltinContext&, std::span<ScriptValue>);

inline constexpr std::array<BuiltinRow, 3> kRegexBuiltinRows{{
    {"REGEX_MATCH", 2, 3, BuiltinRegexMatch},
    {"REGEX_REPLACE", 3, 4, BuiltinRegexReplace},
    {"REGEX_SEARCH", 2, 5, BuiltinRegexSearch},
}};
