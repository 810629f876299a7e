#pragma once
// Built-in rows of the array family (whole arrays by name), merged into the
// sorted table.

#include <array>

#include "script/builtin_table.h"

ScriptValue BuiltinArrayAdd(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinArrayInit(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinArraySize(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinArrayToMultiLineString(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinDelArrayItem(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinDelEmptyArray(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinMultiLineToStringArray(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinResize(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinSortArray(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinSortArrayDesc(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinUniqArray(BuiltinContext&, std::span<ScriptValue>);

inline constexpr std::array<BuiltinRow, 12> kArrayBuiltinRows{{
    {"ARRAYADD", 1, kNoArgLimit, BuiltinArrayAdd},
    {"ARRAYINIT", 1, kNoArgLimit, BuiltinArrayInit},
    {"ARRAYSIZE", 1, 1, BuiltinArraySize},
    {"ARRAYTOMULTILINESTRING", 1, 2, BuiltinArrayToMultiLineString},
    {"DELARRAYITEM", 2, 2, BuiltinDelArrayItem},
    {"DELEMPTYARRAY", 1, 1, BuiltinDelEmptyArray},
    {"LEN", 1, 1, BuiltinArraySize},
    {"MULTILINETOSTRINGARRAY", 1, 1, BuiltinMultiLineToStringArray},
    {"RESIZE", 2, 2, BuiltinResize},
    {"SORTARRAY", 1, 1, BuiltinSortArray},
    {"SORTARRAYDESC", 1, 1, BuiltinSortArrayDesc},
    {"UNIQARRAY", 1, 1, BuiltinUniqArray},
}};
