#include "script/builtin_table.h"

#include <algorithm>
#include <cctype>

#include "script/builtins_array.h"
#include "script/builtins_core.h"
#include "script/builtins_regex.h"
#include "script/builtins_system.h"
#include "script/builtins_text.h"
#include "script/script_run.h"

namespace {

// All families' rows in one array, sorted by name for the binary search.
template <std::size_t... Sizes>
constexpr auto MergeRows(const std::array<BuiltinRow, Sizes>&... families) {
  std::array<BuiltinRow, (Sizes + ...)> all{};
  std::size_t n = 0;
  ((std::copy(families.begin(), families.end(), all.begin() + n), n += families.size()), ...);
  std::sort(all.begin(), all.end(), [](const BuiltinRow& x, const BuiltinRow& y) { return x.name < y.name; });
  return all;
}

constexpr auto kTable = MergeRows(kCoreBuiltinRows, kTextBuiltinRows, kArrayBuiltinRows, kRegexBuiltinRows,
                                  kSystemBuiltinRows);

}  // namespace

std::span<const BuiltinRow> BuiltinTable() { return kTable; }

const BuiltinRow* FindBuiltin(std::string_view name) {
  auto it = std::lower_bound(kTable.begin(), kTable.end(), name,
                             [](const BuiltinRow& row, std::string_view key) { return row.name < key; });
  if (it == kTable.end() || it->name != name) return nullptr;
  return &*it;
}

ScriptValue BuiltinDefine(BuiltinContext& context, std::span<ScriptValue> args) {
  std::string item = ToString(args[0]);
  for (char& c : item) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  const bool on = ToInteger(args[1]) != 0;
  ScriptRun& run = context.run;
  if (item == "MUSTVARDEF")
    run.mustVarDef = on;
  else if (item == "KEEPVAR")
    run.keepVar = on;
  else if (item == "QVS_LANG")
    run.japanese = on;
  else
    return MakeInteger(0);
  return MakeInteger(1);
}
