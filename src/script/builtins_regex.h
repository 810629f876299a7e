#pragma once
// Built-in rows of the regular-expression family, merged into the sorted
// table.

#include <array>
#include <string>
#include <string_view>

#include "script/builtin_table.h"

ScriptValue BuiltinRegexMatch(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinRegexReplace(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinRegexSearch(BuiltinContext&, std::span<ScriptValue>);

inline constexpr std::array<BuiltinRow, 3> kRegexBuiltinRows{{
    {"REGEX_MATCH", 2, 3, BuiltinRegexMatch},
    {"REGEX_REPLACE", 3, 4, BuiltinRegexReplace},
    {"REGEX_SEARCH", 2, 5, BuiltinRegexSearch},
}};

// The expression as handed to the library: a leading "X+" of one character
// X becomes "XX*", which matches alike and lets the library skip to the
// characters that can begin a match.
std::string SplitLeadingRepeat(std::string_view expression);
