#include "script/script_run.h"

#include <cstdarg>
#include <cstdio>

#include "common/utf.h"
#include "script/builtin_table.h"
#include "script/nodes.h"

FuncDef::FuncDef(std::string n, std::vector<std::string> p, std::unique_ptr<BlockNode> b)
    : name(std::move(n)), params(std::move(p)), body(std::move(b)) {}
FuncDef::~FuncDef() = default;

ScriptRun::ScriptRun() = default;
ScriptRun::~ScriptRun() = default;

constexpr std::size_t kMessageLimit = 1024;

// Cuts a UTF-8 text to the limit without splitting a character.
static void CutMessage(std::string& text) {
  if (text.size() <= kMessageLimit) return;
  std::size_t end = kMessageLimit;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  text.resize(end);
}

std::string FormatScriptMessage(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  int n = std::vsnprintf(nullptr, 0, format, args);
  va_end(args);
  std::string text;
  if (n > 0) {
    text.resize(static_cast<std::size_t>(n) + 1);
    std::vsnprintf(text.data(), text.size(), format, again);
    text.resize(static_cast<std::size_t>(n));
  }
  va_end(again);
  CutMessage(text);
  return text;
}

void ReportScriptError(ScriptRun& run, int32_t code, int32_t line, std::string_view message) {
  if (!run.host.errorCallback) return;
  std::string text(message);
  CutMessage(text);
  std::u16string wide = Utf8ToUtf16(text);
  run.host.errorCallback(code, line, wide.c_str());
}

void RaiseScriptError(ScriptRun& run, int32_t code, int32_t line, std::string_view message) {
  ReportScriptError(run, code, line, message);
  run.exitState = kStopping;
}

void ReportScriptMemoryExceeded(ScriptRun& run, int32_t line) {
  const unsigned megabytes = static_cast<unsigned>(run.memory.limit() >> 20);
  RaiseScriptError(run, kErrorMemory, line,
                   FormatScriptMessage(RunText(run, "Runtime Error: メモリ使用量が上限(%uMB)を超えました。行番号:%d\n",
                                               "Runtime Error: Memory limit (%u MB) exceeded at line %d\n"),
                                       megabytes, line));
}

void ResetRunState(ScriptRun& run) {
  run.functions.clear();
  if (!run.keepVar) run.variables.clear();
  run.exitState = kRunning;
  run.runResult = 0;
  run.callDepth = 0;
  run.mustVarDef = false;
  run.returning = false;
  run.callsRefused = false;
  run.returnValue = ScriptValue{};
  run.savedParameters.clear();
  run.savedValues.clear();
  run.regexCache.reset();
}

// ---- what built-ins see of the run ----------------------------------------------

VariableStore& BuiltinContext::variables() { return run.variables; }
bool BuiltinContext::japanese() const { return run.japanese; }
bool BuiltinContext::mustVarDef() const { return run.mustVarDef; }
const ScriptHostParams& BuiltinContext::host() const { return run.host; }
ScriptSystem* BuiltinContext::system() const { return run.host.system; }

void BuiltinContext::reportError(int32_t code, int32_t errorLine, std::string_view message) {
  RaiseScriptError(run, code, errorLine, message);
}

void BuiltinContext::stopRun() { run.exitState = kStopping; }

bool BuiltinContext::stopRequested() { return run.host.stopCheck && run.host.stopCheck(line) == 1; }
