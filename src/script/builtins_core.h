#pragma once
// Built-in rows that belong to the engine itself.

#include <array>

#include "script/builtin_table.h"

// DEFINE(item, n): sets the run options MUSTVARDEF, KEEPVAR and QVS_LANG.
ScriptValue BuiltinDefine(BuiltinContext& context, std::span<ScriptValue> args);

inline constexpr std::array<BuiltinRow, 1> kCoreBuiltinRows{{
    {"DEFINE", 2, 2, BuiltinDefine},
}};
