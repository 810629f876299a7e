#pragma once
// The one entry into the script engine and the record through which a host
// connects it to the machine. Portable: window handles are opaque pointers
// and texts crossing the boundary are UTF-16 (char16_t).

#include <cstddef>
#include <cstdint>
#include <string>

class ScriptSystem;  // system built-ins' view of the machine (script_system.h)

// One argument or the result of a CB. call.
struct HostValue {
  uint8_t isString = 0;  // non-zero: text is the value
  int32_t intValue = 0;
  std::u16string text;
};

// Handed to the host function for every CB.name(...) call; lives on the
// engine's stack for the duration of that call.
struct HostCall {
  const char16_t* name = nullptr;  // upper-cased, a trailing '$' kept
  HostValue* args = nullptr;       // null when there are no arguments
  int32_t argCount = 0;
  HostValue* result = nullptr;     // starts as the integer 0; the host fills it
  void* userData = nullptr;        // the run's ScriptHostParams::userData
};

using HostFunctionCallback = int32_t (*)(HostCall* call);
// line is the failing statement's line, or -1 when the failure has none.
using ScriptErrorCallback = void (*)(int32_t code, int32_t line, const char16_t* text);
// Called after every statement; returning 1 stops the run.
using StopCheckCallback = int32_t (*)(int32_t line);
// Same arguments and results as the platform's message box.
using MessageBoxFunction = int32_t (*)(void* owner, const char16_t* text,
                                       const char16_t* caption, uint32_t style);

struct ScriptHostParams {
  void* owner = nullptr;                        // owner window of dialogs
  HostFunctionCallback hostFunction = nullptr;  // null: no CB. functions
  ScriptErrorCallback errorCallback = nullptr;  // null: errors are silent
  StopCheckCallback stopCheck = nullptr;
  MessageBoxFunction messageBox = nullptr;      // null: the system layer's default box
  int32_t language = 0;                         // non-zero: Japanese messages
  ScriptSystem* system = nullptr;               // null: built-ins use their fallbacks
  // The host's own context, handed back in every HostCall and through
  // ScriptUserData() inside the other callbacks.
  void* userData = nullptr;
  // Stack the evaluator may use below the qv_script frame before a deep
  // script is stopped with an error instead of overflowing; 0 takes
  // DefaultScriptStackBudget(). A host whose script thread has another stack
  // size sets it to match.
  std::size_t stackBudget = 0;
};

// Error codes handed to ScriptErrorCallback.
enum ScriptErrorCode : int32_t {
  kErrorSyntax = 101,
  kErrorDivision = 102,
  kErrorRemainder = 103,
  kErrorUnknownFunction = 105,
  kErrorMemory = 106,           // also std::runtime_error during the run
  kErrorParameter = 107,
  kErrorCallDepth = 108,
  kErrorUnassigned = 109,
  kErrorArrayIndex = 110,
  kErrorUnknownLabel = 111,
  kErrorRegex = 112,
  kErrorAssert = 114,
  kErrorArrayName = 115,
  kErrorUnknown = 199,
};

// Runs a whole script (UTF-16, an optional leading U+FEFF) on the calling
// thread. Returns -1 when the run was refused or could not start, otherwise
// the value of a top-level exit/return (0 when there was none or after an
// error). One run at a time in the process: a call while another run is in
// progress (from any thread, or from a callback) returns -1 at once.
int32_t qv_script(const char16_t* source, const ScriptHostParams* params);

// Bytes of text and array elements a run may hold before it is stopped with
// the memory error (code 106 with the statement's line); 0 for no limit.
// 256 MB by default.
void SetScriptMemoryLimit(std::size_t bytes);
std::size_t ScriptMemoryLimit();

// The userData of the run in progress on the calling thread, or null outside
// a run; lets the error callback and the stop check reach their host.
void* ScriptUserData();

// The stack budget a run gets when its params give none: suits a thread with
// a 2 MB stack (the Windows build's default reserve) or the usual 8 MB
// elsewhere.
std::size_t DefaultScriptStackBudget();
