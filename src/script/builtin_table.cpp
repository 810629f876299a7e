#include "script/builtin_table.h"

#include <algorithm>
#include <cctype>

#include "script/builtins_array.h"
#include "script/builtins_core.h"
#include "script/builtins_system.h"
#include "script/builtins_text.h"
#include "script/script_run.h"

namespace {

template <std::size_t A, std::size_t B, std::size_t C, std::size_t D>
constexpr auto MergeRows(const std::array<BuiltinRow, A>& a, const std::array<BuiltinRow, B>& b,
                         const std::array<BuiltinRow, C>& c, const std::array<BuiltinRow, D>& d) {
  std::array<BuiltinRow, A + B + C + D> all{};
  std::size_t n = 0;
  for (const BuiltinRow& row : a) all[n++] = row;
  for (const BuiltinRow& row : b) all[n++] = row;
  for (const BuiltinRow& row : c) all[n++] = row;
  for (const BuiltinRow& row : d) all[n++] = row;
  std::sort(all.begin(), all.end(), [](const BuiltinRow& x, const BuiltinRow& y) { return x.name < y.name; });
  return all;
}

constexpr auto kTable = MergeRows(kCoreBuiltinRows, kTextBuiltinRows, kArrayBuiltinRows, kSystemBuiltinRows);

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
