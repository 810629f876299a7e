#pragma once
// The state of one run, shared by the parser, the evaluator, the built-ins
// and the entry point. Each qv_script call owns its own; only variables kept
// with KEEPVAR outlive it (the entry point hands them to the next run).

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "script/memory_budget.h"
#include "script/qv_script.h"
#include "script/value.h"

class BlockNode;

// Exit states. Blocks stop after a statement that leaves the state non-zero;
// loops consume break and continue.
enum : int32_t {
  kRunning = 0,
  kBreakPending = 1,
  kContinuePending = 2,
  kStopping = 3,    // error, exit, or a stop request
  kReturning = 4,   // a return is travelling out to its function call
};

// A user function, registered while parsing.
struct FuncDef {
  std::string name;
  std::vector<std::string> params;
  std::unique_ptr<BlockNode> body;
  // Slots of the parameters, valid while slotGeneration matches the store.
  std::vector<VariableSlot*> paramSlots;
  uint32_t slotGeneration = 0;

  FuncDef(std::string n, std::vector<std::string> p, std::unique_ptr<BlockNode> b);
  ~FuncDef();
};

struct ScriptRun {
  int32_t exitState = kRunning;
  int32_t runResult = 0;
  int32_t callDepth = 0;
  bool mustVarDef = false;
  bool japanese = false;
  bool keepVar = false;

  // A return on its way out: set by return, taken by the function call (or
  // by the entry point at the top level).
  bool returning = false;
  ScriptValue returnValue;
  // A call was refused for depth: user functions called while the run is
  // stopping are refused too, without a report.
  bool callsRefused = false;

  // Parameter values saved by the user-function calls in progress: plain
  // integers inline, anything else in savedValues at index full.
  struct SavedParameter {
    int32_t value;
    int32_t full;  // -1 for a plain integer
  };
  std::vector<SavedParameter> savedParameters;
  std::vector<ScriptValue> savedValues;

  ScriptHostParams host;  // callbacks, owner window, message box, system
  VariableStore variables;
  std::map<std::string, std::unique_ptr<FuncDef>, std::less<>> functions;

  std::vector<std::string> sourceLines;  // for quoting syntax errors
  std::unique_ptr<BlockNode> root;

  // Lowest stack address evaluation may reach before it stops the run.
  uintptr_t stackLimit = 0;
  // Texts and array elements the run may hold.
  ScriptMemoryBudget memory;
  // The regular expressions the run has compiled, kept by their built-ins.
  std::shared_ptr<void> regexCache;

  ScriptRun();
  ~ScriptRun();
};

// Formats a runtime message printf-style, cut to 1024 bytes at a character
// boundary.
std::string FormatScriptMessage(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// Picks the run's language of a message pair.
inline const char* RunText(const ScriptRun& run, const char* japanese, const char* english) {
  return run.japanese ? japanese : english;
}

// Hands a UTF-8 message (cut to 1024 bytes) to the error callback, if any.
// Does not change the exit state.
void ReportScriptError(ScriptRun& run, int32_t code, int32_t line, std::string_view message);
// Reports and stops the run after the current statement.
void RaiseScriptError(ScriptRun& run, int32_t code, int32_t line, std::string_view message);

// The run went over its memory budget (ScriptMemoryExceeded): code 106 with
// the statement's line (-1 when none is known); stops the run.
void ReportScriptMemoryExceeded(ScriptRun& run, int32_t line);

// Clears the per-run state as at the start and the end of every run.
void ResetRunState(ScriptRun& run);
