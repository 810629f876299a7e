#pragma once
// Built-in rows of the text family (strings and numbers), merged into the
// sorted table.

#include <array>
#include <cstdint>

#include "script/builtin_table.h"

// The random-number generator of the calling thread (state starts at 1).
void SeedScriptRandom(uint32_t seed);
int32_t NextScriptRandom();

ScriptValue BuiltinAbs(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinChr(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinClamp(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinConvChar(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinDelCtrlC(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinEndsWith(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinFormat(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinGetAsciiCode(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinInsCrLf(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinJoin(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinLcLite(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinLeft(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinMax(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinMbLeft(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinMbMid(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinMbRight(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinMbStrLen(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinMbStrStr(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinMbStrStrI(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinMid(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinMin(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinPadLeft(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinPadRight(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinRand(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinReplace(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinRight(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinSplit(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinSqrt(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinSrand(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinStartsWith(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinStrCmp(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinStrCmpI(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinStrLen(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinStrLwr(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinStrStr(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinStrStrI(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinStrUpr(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinToInt(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinToStr(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinToStr16(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinToStr2(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinTrimLeft(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinTrimRight(BuiltinContext&, std::span<ScriptValue>);
ScriptValue BuiltinTypeOf(BuiltinContext&, std::span<ScriptValue>);

inline constexpr std::array<BuiltinRow, 49> kTextBuiltinRows{{
    {"ABS", 1, 1, BuiltinAbs},
    {"ASCIICODE", 1, 1, BuiltinChr},
    {"CHR", 1, 1, BuiltinChr},
    {"CLAMP", 3, 3, BuiltinClamp},
    {"CONVCHAR", 2, 2, BuiltinConvChar},
    {"DELCTRLC", 2, 2, BuiltinDelCtrlC},
    {"ENDSWITH", 2, 2, BuiltinEndsWith},
    {"FORMAT", 1, kNoArgLimit, BuiltinFormat},
    {"GETASCIICODE", 2, 2, BuiltinGetAsciiCode},
    {"INSCRLF", 3, 3, BuiltinInsCrLf},
    {"JOIN", 1, 2, BuiltinJoin},
    {"LCLITE", 2, 2, BuiltinLcLite},
    {"LEFT", 2, 2, BuiltinLeft},
    {"MAX", 1, kNoArgLimit, BuiltinMax},
    {"MBLEFT", 2, 2, BuiltinMbLeft},
    {"MBMID", 3, 3, BuiltinMbMid},
    {"MBRIGHT", 2, 2, BuiltinMbRight},
    {"MBSTRLEN", 1, 1, BuiltinMbStrLen},
    {"MBSTRSTR", 2, 2, BuiltinMbStrStr},
    {"MBSTRSTRI", 2, 2, BuiltinMbStrStrI},
    {"MBSUBSTR", 3, 3, BuiltinMbMid},
    {"MBSUBSTRING", 3, 3, BuiltinMbMid},
    {"MID", 3, 3, BuiltinMid},
    {"MIN", 1, kNoArgLimit, BuiltinMin},
    {"PADLEFT", 2, 3, BuiltinPadLeft},
    {"PADRIGHT", 2, 3, BuiltinPadRight},
    {"RAND", 0, 0, BuiltinRand},
    {"REPLACE", 2, 3, BuiltinReplace},
    {"RIGHT", 2, 2, BuiltinRight},
    {"SPLIT", 3, 3, BuiltinSplit},
    {"SQRT", 1, 1, BuiltinSqrt},
    {"SRAND", 0, 1, BuiltinSrand},
    {"STARTSWITH", 2, 2, BuiltinStartsWith},
    {"STRCMP", 2, 2, BuiltinStrCmp},
    {"STRCMPI", 2, 2, BuiltinStrCmpI},
    {"STRLEN", 1, 1, BuiltinStrLen},
    {"STRLWR", 1, 1, BuiltinStrLwr},
    {"STRSTR", 2, 2, BuiltinStrStr},
    {"STRSTRI", 2, 2, BuiltinStrStrI},
    {"STRUPR", 1, 1, BuiltinStrUpr},
    {"SUBSTR", 3, 3, BuiltinMid},
    {"SUBSTRING", 3, 3, BuiltinMid},
    {"TOINT", 1, 1, BuiltinToInt},
    {"TOSTR", 1, 1, BuiltinToStr},
    {"TOSTR16", 1, 1, BuiltinToStr16},
    {"TOSTR2", 1, 1, BuiltinToStr2},
    {"TRIMLEFT", 1, 2, BuiltinTrimLeft},
    {"TRIMRIGHT", 1, 2, BuiltinTrimRight},
    {"TYPEOF", 1, 1, BuiltinTypeOf},
}};
