#include "script/nodes_support.h"

void ThrowStackExhausted() { throw ScriptStackExhausted(); }

void Node::execute(ScriptRun& run) { (void)evaluate(run); }

void ReplaceWithInteger(ScriptValue& stored, int32_t n) { stored = MakeInteger(n); }

void ReportDivisionByZero(ScriptRun& run, const char* op, int32_t line) {
  const int32_t code = op[0] == '%' ? kErrorRemainder : kErrorDivision;
  RaiseScriptError(run, code, line,
                   FormatScriptMessage(RunText(run, "Runtime Error: 0による除算(%s0)。行番号:%d\n",
                                               "Runtime Error: Division by zero(%s0) at line %d\n"),
                                       op, line));
}

void ReportBadIndex(ScriptRun& run, const std::string& name, int32_t index, int32_t line) {
  RaiseScriptError(run, kErrorArrayIndex, line,
                   FormatScriptMessage(RunText(run, "Runtime Error: 不正な配列要素番号指定(%s[%d])。行番号:%d\n",
                                               "Runtime Error: Invalid index value(%s[%d]) at line %d\n"),
                                       name.c_str(), index, line));
}
