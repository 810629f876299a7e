#pragma once
// Built-in functions: one sorted table of rows {name, argument counts,
// handler}, merged at compile time from the families' row lists.

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "script/qv_script.h"
#include "script/value.h"

struct ScriptRun;

// What a handler may use of the run it is called in.
struct BuiltinContext {
  ScriptRun& run;
  int32_t line;  // line of the calling statement

  VariableStore& variables();
  bool japanese() const;  // the run's current message language
  bool mustVarDef() const;
  const ScriptHostParams& host() const;  // owner, message box, callbacks
  ScriptSystem* system() const;          // null: use the fallbacks

  // Reports through the run's error callback (UTF-8 text, cut to 1024
  // bytes) and stops the run after the current statement.
  void reportError(int32_t code, int32_t errorLine, std::string_view message);
  // Stops the run after the current statement without a report.
  void stopRun();
  // Asks the host's stop check (if any); true when it wants the run to end.
  bool stopRequested();
};

using BuiltinHandler = ScriptValue (*)(BuiltinContext& context, std::span<ScriptValue> args);

inline constexpr uint16_t kNoArgLimit = 65535;

struct BuiltinRow {
  std::string_view name;  // upper-case ASCII
  uint16_t minArgs;
  uint16_t maxArgs;  // kNoArgLimit: no limit
  BuiltinHandler handler;
};

inline constexpr std::size_t kBuiltinCount = 114;

// The merged table, sorted by byte order of the name.
std::span<const BuiltinRow> BuiltinTable();
// Binary search by exact (already upper-cased) name; null when absent.
const BuiltinRow* FindBuiltin(std::string_view name);
