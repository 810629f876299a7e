#pragma once
// Pieces the node families share: 32-bit wrapping arithmetic, storing an
// integer into a value in place, and the run-time errors raised from more
// than one family. Only the nodes_*.cpp files include this.

#include <cstdint>
#include <string>

#include "script/nodes.h"

// 32-bit two's complement arithmetic that wraps instead of overflowing.
inline int32_t Wrap(uint32_t u) { return static_cast<int32_t>(u); }
inline int32_t AddWrap(int32_t a, int32_t b) { return Wrap(static_cast<uint32_t>(a) + static_cast<uint32_t>(b)); }
inline int32_t SubWrap(int32_t a, int32_t b) { return Wrap(static_cast<uint32_t>(a) - static_cast<uint32_t>(b)); }
inline int32_t MulWrap(int32_t a, int32_t b) { return Wrap(static_cast<uint32_t>(a) * static_cast<uint32_t>(b)); }

// MININTEGER / -1 overflows the processor's division: the quotient wraps to
// MININTEGER and the remainder is 0.
inline int32_t DivideWrap(int32_t a, int32_t b) { return b == -1 ? SubWrap(0, a) : a / b; }
inline int32_t RemainderWrap(int32_t a, int32_t b) { return b == -1 ? 0 : a % b; }

// Repeated multiplication, done by squaring: the same wrapped product.
inline int32_t PowerWrap(int32_t base, int32_t exponent) {
  uint32_t result = 1;
  uint32_t b = static_cast<uint32_t>(base);
  for (int32_t e = exponent; e > 0; e >>= 1) {
    if (e & 1) result *= b;
    b *= b;
  }
  return Wrap(result);
}

inline int32_t ShiftLeft(int32_t a, int32_t b) { return Wrap(static_cast<uint32_t>(a) << (b & 31)); }
inline int32_t ShiftRight(int32_t a, int32_t b) { return a >> (b & 31); }

// Reports a zero divisor of `/`, `%`, `/=` or `%=` (the operator as the
// message shows it) at `line`: code 102 for a division, 103 for a remainder.
void ReportDivisionByZero(ScriptRun& run, const char* op, int32_t line);

void ReportBadIndex(ScriptRun& run, const std::string& name, int32_t index, int32_t line);

inline bool Condition(ScriptRun& run, Node& node) { return node.evaluateCondition(run); }

// Out of line so that the frames of the hot callers stay small.
[[gnu::noinline]] void ReplaceWithInteger(ScriptValue& stored, int32_t n);

// Makes the stored value the integer n, reusing it when it already is one.
[[gnu::always_inline]] inline void StoreInteger(ScriptValue& stored, int32_t n) {
  if (IsPlainInteger(stored) && stored.text.empty() && stored.elements.empty())
    stored.intValue = n;
  else
    ReplaceWithInteger(stored, n);
}

// ---- running a block's statements ------------------------------------------

// The innermost block running the statement reports it; a run already
// stopped by an error (the call that charged may have gone on) is not
// reported twice.
[[gnu::noinline]] void StopOverBudget(ScriptRun& run, int32_t line);

// Blocks ask the stop check after each completed statement. A loop with an
// empty body and a goto that lands complete none, so they ask it themselves;
// otherwise such a script could never be stopped.
[[gnu::always_inline]] inline bool StopRequested(ScriptRun& run, int32_t line) {
  if (run.host.stopCheck == nullptr || run.host.stopCheck(line) != 1) return false;
  run.exitState = kStopping;
  return true;
}

// After a completed statement: true when the block is to be left. A return
// always leaves the exit state non-zero (kReturning, or kStopping when it
// ran inside an exit's expression), so the common case tests one field; a
// return leaves without asking the stop check.
[[gnu::always_inline]] inline bool LeaveBlock(ScriptRun& run, const Node& statement) {
  if (run.exitState == kRunning) {
    if (run.host.stopCheck == nullptr) return false;
    // The state read again lets a loop around the block see that it is
    // still running without testing it again.
    return StopRequested(run, statement.line) || run.exitState != kRunning;
  }
  if (!run.returning) (void)StopRequested(run, statement.line);
  return true;
}

// Without labels no goto can land here, so the statements run in a plain
// loop. Inline here so that a call runs its function's body, and an if its
// block, without another call.
[[gnu::always_inline]] inline void BlockNode::executePlain(ScriptRun& run) {
  for (const NodePtr& p : statements) {
    Node& statement = *p;
    try {
      statement.execute(run);
    } catch (ScriptMemoryExceeded&) {
      StopOverBudget(run, statement.line);
      return;
    }
    if (LeaveBlock(run, statement)) return;
  }
}

[[gnu::always_inline]] inline void BlockNode::executeChecked(ScriptRun& run) {
  if (plain_)
    executePlain(run);
  else
    executeLabelled(run);
}

// ---- operators between a variable and a literal ------------------------------

[[gnu::always_inline]] inline bool VariableLiteralOp::compute(ScriptRun& run, int32_t& n) const {
  const VariableSlot& s = variable->slot(run);
  if (!s.exists || !IsPlainInteger(s.value)) return false;
  const int32_t a = s.value.intValue, b = literal;
  if (form == kOffset) {
    n = SubWrap(a, b);
  } else if (form != kProduct) {
    const bool holds = form == kLess ? a < b : form == kLessOrEqual ? a <= b : a == b;
    n = holds != negate;
  } else {
    n = MulWrap(a, b);
  }
  return true;
}
