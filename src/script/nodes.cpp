#include "script/nodes.h"

#include <climits>

#include "common/utf.h"
#include "script/constant_table.h"

void ThrowStackExhausted() { throw ScriptStackExhausted(); }

namespace {

// 32-bit two's complement arithmetic that wraps instead of overflowing.
int32_t Wrap(uint32_t u) { return static_cast<int32_t>(u); }
int32_t AddWrap(int32_t a, int32_t b) { return Wrap(static_cast<uint32_t>(a) + static_cast<uint32_t>(b)); }
int32_t SubWrap(int32_t a, int32_t b) { return Wrap(static_cast<uint32_t>(a) - static_cast<uint32_t>(b)); }
int32_t MulWrap(int32_t a, int32_t b) { return Wrap(static_cast<uint32_t>(a) * static_cast<uint32_t>(b)); }

// MININTEGER / -1 overflows the processor's division: the quotient wraps to
// MININTEGER and the remainder is 0.
int32_t DivideWrap(int32_t a, int32_t b) { return b == -1 ? SubWrap(0, a) : a / b; }
int32_t RemainderWrap(int32_t a, int32_t b) { return b == -1 ? 0 : a % b; }

// Repeated multiplication, done by squaring: the same wrapped product.
int32_t PowerWrap(int32_t base, int32_t exponent) {
  uint32_t result = 1;
  uint32_t b = static_cast<uint32_t>(base);
  for (int32_t e = exponent; e > 0; e >>= 1) {
    if (e & 1) result *= b;
    b *= b;
  }
  return Wrap(result);
}

int32_t ShiftLeft(int32_t a, int32_t b) { return Wrap(static_cast<uint32_t>(a) << (b & 31)); }
int32_t ShiftRight(int32_t a, int32_t b) { return a >> (b & 31); }

void ReportDivision(ScriptRun& run, int32_t code, int32_t line, const char* ja, const char* en) {
  RaiseScriptError(run, code, line, FormatScriptMessage(RunText(run, ja, en), line));
}

void ReportBadIndex(ScriptRun& run, const std::string& name, int32_t index, int32_t line) {
  RaiseScriptError(run, kErrorArrayIndex, line,
                   FormatScriptMessage(RunText(run, "Runtime Error: 不正な配列要素番号指定(%s[%d])。行番号:%d\n",
                                               "Runtime Error: Invalid index value(%s[%d]) at line %d\n"),
                                       name.c_str(), index, line));
}

// After a loop body: true when the loop is to end. Consumes break/continue.
bool LeaveLoop(ScriptRun& run) {
  switch (run.exitState) {
    case kRunning:
      return false;
    case kBreakPending:
      run.exitState = kRunning;
      return true;
    case kContinuePending:
      run.exitState = kRunning;
      return false;
    default:
      return true;
  }
}

bool Condition(ScriptRun& run, Node& node) { return node.evaluateCondition(run); }

// Blocks ask the stop check after each completed statement. A loop with an
// empty body and a goto that lands complete none, so they ask it themselves;
// otherwise such a script could never be stopped.
[[gnu::always_inline]] inline bool StopRequested(ScriptRun& run, int32_t line) {
  if (run.host.stopCheck == nullptr || run.host.stopCheck(line) != 1) return false;
  run.exitState = kStopping;
  return true;
}

// Out of line so that the frames of the hot callers below stay small.
[[gnu::noinline]] void ReplaceWithInteger(ScriptValue& stored, int32_t n) { stored = MakeInteger(n); }

// Makes the stored value the integer n, reusing it when it already is one.
[[gnu::always_inline]] inline void StoreInteger(ScriptValue& stored, int32_t n) {
  if (IsPlainInteger(stored) && stored.text.empty() && stored.elements.empty())
    stored.intValue = n;
  else
    ReplaceWithInteger(stored, n);
}

}  // namespace

// Evaluates into a stored value, out of line so that callers on recursive
// paths keep no temporary value in their frame.
[[gnu::noinline]] static void StoreNumberOrValue(ScriptValue& stored, Node& node, ScriptRun& run) {
  int32_t n = 0;
  std::optional<ScriptValue> full;
  if (node.evaluateNumber(run, n, full))
    StoreInteger(stored, n);
  else
    stored = std::move(*full);
}

// CB. calls convert exactly: a text that is not valid UTF-8 (or UTF-16 on
// the way back) becomes the empty string rather than a lossy copy.
static bool IsValidUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    std::size_t length = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || i + length > text.size()) return false;
    uint32_t code = length == 1 ? c : c & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
      const unsigned char next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    static constexpr uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kSmallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    i += length;
  }
  return true;
}

static bool IsValidUtf16(std::u16string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF) {
      if (i + 1 >= text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) return false;
      ++i;
    } else if (c >= 0xDC00 && c <= 0xDFFF) {
      return false;
    }
  }
  return true;
}

static std::u16string ExactUtf16(std::string_view text) {
  return IsValidUtf8(text) ? Utf8ToUtf16(text) : std::u16string();
}

static std::string ExactUtf8(std::u16string_view text) {
  return IsValidUtf16(text) ? Utf16ToUtf8(text) : std::string();
}

// ---- blocks ------------------------------------------------------------

void BlockNode::append(NodePtr statement) {
  growDepth(statement.get());
  statements.push_back(std::move(statement));
}

void BlockNode::indexLabels() {
  for (std::size_t i = 0; i < statements.size(); ++i)
    if (statements[i]->kind == kNodeLabel)
      labels[static_cast<LabelNode&>(*statements[i]).name] = i;
  labelsIndexed_ = true;
  plain_ = labels.empty();
}

// Without labels no goto can land here, so the statements run in a plain loop.
[[gnu::always_inline]] inline void BlockNode::executePlain(ScriptRun& run) {
  for (const NodePtr& p : statements) {
    Node& statement = *p;
    statement.execute(run);
    if (run.returning) return;
    if (StopRequested(run, statement.line)) return;
    if (run.exitState != kRunning) return;
  }
}

void BlockNode::execute(ScriptRun& run) {
  CheckStack(run);
  if (plain_)
    executePlain(run);
  else
    executeLabelled(run);
}

// The first run of every block, and every run of a block with labels.
[[gnu::noinline]] void BlockNode::executeLabelled(ScriptRun& run) {
  if (!labelsIndexed_) indexLabels();
  if (plain_) {
    executePlain(run);
    return;
  }
  const std::size_t count = statements.size();
  std::size_t i = 0;
  while (i < count) {
    try {
      for (; i < count; ++i) {
        Node& statement = *statements[i];
        statement.execute(run);
        if (run.returning) return;
        if (StopRequested(run, statement.line)) return;
        if (run.exitState != kRunning) return;
      }
    } catch (GotoException& jump) {
      auto it = labels.find(jump.label);
      if (it == labels.end()) throw;
      const int32_t jumpLine = statements[i]->line;
      i = it->second + 1;
      if (StopRequested(run, jumpLine)) return;
    }
  }
}

// A block's value is never observed by a script (statements are not
// expressions), so evaluate is execute.
// ---- variables -----------------------------------------------------------

ScriptValue VarNode::readUnassigned(ScriptRun& run) {
  if (auto constant = LookupConstant(name)) return MakeInteger(*constant);
  if (run.mustVarDef) {
    RaiseScriptError(run, kErrorUnassigned, line,
                     FormatScriptMessage(RunText(run, "Runtime Error: 未代入の変数(%s)を参照しました。行番号:%d\n",
                                                 "Runtime Error: Unassigned variable(%s) at line %d\n"),
                                         name.c_str(), line));
  }
  return DefaultValueFor(name);
}

ScriptValue VarNode::evaluate(ScriptRun& run) {
  VariableSlot& s = slot(run);
  if (s.exists) return s.value;
  return readUnassigned(run);
}

int32_t VarNode::evaluateInteger(ScriptRun& run) {
  VariableSlot& s = slot(run);
  if (s.exists) return ToInteger(s.value);
  return ToInteger(readUnassigned(run));
}

const ScriptValue& VarNode::evaluateRef(ScriptRun& run, ScriptValue& scratch) {
  VariableSlot& s = slot(run);
  if (s.exists) return s.value;
  scratch = readUnassigned(run);
  return scratch;
}

bool VarNode::evaluateNumber(ScriptRun& run, int32_t& n, std::optional<ScriptValue>& full) {
  VariableSlot& s = slot(run);
  if (s.exists) {
    if (IsPlainInteger(s.value)) {
      n = s.value.intValue;
      return true;
    }
    full.emplace(s.value);
    return false;
  }
  full.emplace(readUnassigned(run));
  if (!IsPlainInteger(*full)) return false;
  n = full->intValue;
  return true;
}

// ---- assignment ------------------------------------------------------------

AssignNode::AssignNode(std::unique_ptr<VarNode> t, NodePtr v, int32_t o, int32_t line)
    : Node(kNodeAssign, line), target(std::move(t)), value(std::move(v)), op(o) {
  growDepth(target.get());
  growDepth(value.get());
}

// The assignment forms live in separate functions so that the frame on a
// recursive path (x = f(n)) stays small.
[[gnu::noinline]] void AssignNode::assignValue(ScriptRun& run) {
  int32_t n = 0;
  if (PeekInteger(*value, run, n)) {
    StoreInteger(target->ref(run), n);
    return;
  }
  ScriptValue v = value->evaluate(run);
  target->ref(run) = std::move(v);
}

[[gnu::noinline]] void AssignNode::addAssign(ScriptRun& run) {
  VariableSlot& s = target->slot(run);
  // Appending in place keeps repeated s += x linear; only safe when the
  // right side cannot touch the variable.
  if (s.exists && s.value.isString && value->isPure()) {
    ScriptValue scratch;
    const ScriptValue& v = value->evaluateRef(run, scratch);
    std::string piece = ToString(v);
    s.value.isArray = false;
    s.value.elements.clear();
    s.value.text += piece;
    return;
  }
  if (s.exists && IsPlainInteger(s.value)) {
    int32_t x = s.value.intValue;
    int32_t v = IntegerOf(*value, run);
    StoreInteger(target->ref(run), AddWrap(x, v));
    return;
  }
  ScriptValue x = target->evaluate(run);
  ScriptValue v = value->evaluate(run);
  if (!x.isString) {
    StoreInteger(target->ref(run), AddWrap(ToInteger(x), ToInteger(v)));
    return;
  }
  std::string text = ToString(x);
  text += ToString(v);
  target->ref(run) = MakeString(std::move(text));
}

[[gnu::noinline]] bool AssignNode::divideAssign(ScriptRun& run) {
  int32_t d = IntegerOf(*value, run);
  if (d == 0) {
    if (op == kOpDivAssign)
      ReportDivision(run, kErrorDivision, line, "Runtime Error: 0による除算(/=0)。行番号:%d\n",
                     "Runtime Error: Division by zero(/=0) at line %d\n");
    else
      ReportDivision(run, kErrorRemainder, line, "Runtime Error: 0による除算(%%=0)。行番号:%d\n",
                     "Runtime Error: Division by zero(%%=0) at line %d\n");
    return false;
  }
  int32_t x = target->evaluateInteger(run);
  StoreInteger(target->ref(run), op == kOpDivAssign ? DivideWrap(x, d) : RemainderWrap(x, d));
  return true;
}

[[gnu::noinline]] void AssignNode::integerAssign(ScriptRun& run) {
  int32_t x = target->evaluateInteger(run);
  int32_t v = IntegerOf(*value, run);
  int32_t r = 0;
  switch (op) {
    case kOpSubAssign: r = SubWrap(x, v); break;
    case kOpMulAssign: r = MulWrap(x, v); break;
    case kOpShrAssign: r = ShiftRight(x, v); break;
    case kOpShlAssign: r = ShiftLeft(x, v); break;
    case kOpOrAssign: r = x | v; break;
    case kOpXorAssign: r = x ^ v; break;
    case kOpAndAssign: r = x & v; break;
    default: r = PowerWrap(x, v); break;
  }
  StoreInteger(target->ref(run), r);
}

bool AssignNode::assign(ScriptRun& run, int32_t& postfixOld) {
  CheckStackAt(*this, run);
  switch (op) {
    case kOpAssign:
      assignValue(run);
      return true;
    case kOpAddAssign:
      addAssign(run);
      return true;
    case kOpDivAssign:
    case kOpModAssign:
      return divideAssign(run);
    case kOpPostInc:
    case kOpPostDec: {
      int32_t x = target->evaluateInteger(run);
      postfixOld = x;
      StoreInteger(target->ref(run), op == kOpPostInc ? AddWrap(x, 1) : SubWrap(x, 1));
      return true;
    }
    case kOpSubAssign:
    case kOpMulAssign:
    case kOpShrAssign:
    case kOpShlAssign:
    case kOpOrAssign:
    case kOpXorAssign:
    case kOpAndAssign:
    case kOpPowAssign:
      integerAssign(run);
      return true;
    default:
      return false;
  }
}

void AssignNode::execute(ScriptRun& run) {
  // The commonest statements, x = integer and ++x, without the dispatch.
  if (op == kOpAssign) {
    CheckStackAt(*this, run);
    if (value->integerResult) {
      const int32_t n = IntegerOf(*value, run);  // before the variable is created
      VariableSlot& s = target->slot(run);
      if (s.exists && IsPlainInteger(s.value) && s.value.text.empty() && s.value.elements.empty())
        s.value.intValue = n;
      else
        StoreInteger(run.variables.ref(s), n);
      return;
    }
    assignValue(run);
    return;
  }
  if (op == kOpAddAssign) {
    VariableSlot& s = target->slot(run);
    if (s.exists && IsPlainInteger(s.value)) {
      const int32_t x = s.value.intValue;
      if (value->kind == kNodeInt && s.value.text.empty() && s.value.elements.empty()) {
        s.value.intValue = AddWrap(x, static_cast<IntNode&>(*value).value);  // ++i, i += 2
        return;
      }
      const int32_t v = IntegerOf(*value, run);
      StoreInteger(target->ref(run), AddWrap(x, v));
      return;
    }
  }
  int32_t old = 0;
  assign(run, old);
}

ScriptValue AssignNode::evaluate(ScriptRun& run) {
  int32_t old = 0;
  if (!assign(run, old)) return {};
  if (op == kOpPostInc || op == kOpPostDec) return MakeInteger(old);
  return target->evaluate(run);
}

// ---- conditionals and loops -----------------------------------------------

IfNode::IfNode(NodePtr c, std::unique_ptr<BlockNode> t, NodePtr e, int32_t line)
    : StatementNode(kNodeIf, line), condition(std::move(c)), thenBlock(std::move(t)), elsePart(std::move(e)) {
  growDepth(condition.get());
  growDepth(thenBlock.get());
  growDepth(elsePart.get());
}

void IfNode::execute(ScriptRun& run) {
  if (Condition(run, *condition))
    thenBlock->execute(run);
  else if (elsePart)
    elsePart->execute(run);
}

WhileNode::WhileNode(NodePtr c, std::unique_ptr<BlockNode> b, bool e, int32_t line)
    : StatementNode(kNodeWhile, line), condition(std::move(c)), body(std::move(b)), endless(e) {
  growDepth(condition.get());
  growDepth(body.get());
}

void WhileNode::execute(ScriptRun& run) {
  const bool emptyBody = body->statements.empty();
  for (;;) {
    if (!endless && !Condition(run, *condition)) break;
    body->execute(run);
    if (LeaveLoop(run)) break;
    if (emptyBody && StopRequested(run, line)) break;
  }
}

DoWhileNode::DoWhileNode(std::unique_ptr<BlockNode> b, NodePtr c, bool r, int32_t line)
    : StatementNode(kNodeDoWhile, line), body(std::move(b)), condition(std::move(c)), repeatWhile(r) {
  growDepth(body.get());
  growDepth(condition.get());
}

void DoWhileNode::execute(ScriptRun& run) {
  const bool emptyBody = body->statements.empty();
  for (;;) {
    body->execute(run);
    if (LeaveLoop(run)) break;
    if (emptyBody && StopRequested(run, line)) break;
    if (Condition(run, *condition) != repeatWhile) break;
  }
}

ForNode::ForNode(NodePtr i, NodePtr c, NodePtr s, std::unique_ptr<BlockNode> b, int32_t line)
    : StatementNode(kNodeFor, line), init(std::move(i)), condition(std::move(c)), step(std::move(s)), body(std::move(b)) {
  growDepth(init.get());
  growDepth(condition.get());
  growDepth(step.get());
  growDepth(body.get());
}

void ForNode::execute(ScriptRun& run) {
  init->execute(run);
  const bool emptyBody = body->statements.empty();
  for (;;) {
    if (!Condition(run, *condition)) break;
    body->execute(run);
    if (LeaveLoop(run)) break;
    if (emptyBody && StopRequested(run, line)) break;
    step->execute(run);
  }
}

// ---- flow ------------------------------------------------------------------

ExitNode::ExitNode(NodePtr c, int32_t line) : Node(kNodeExit, line), code(std::move(c)) { growDepth(code.get()); }

ScriptValue ExitNode::evaluate(ScriptRun& run) {
  // The state is set first, so a function called in the expression returns
  // after its first statement.
  run.exitState = kStopping;
  run.runResult = code ? code->evaluateInteger(run) : 0;
  return MakeInteger(run.runResult);
}

void FlowNode::execute(ScriptRun& run) {
  run.exitState = kind == kNodeBreak ? kBreakPending : kContinuePending;
}

ReturnNode::ReturnNode(NodePtr v, int32_t line) : StatementNode(kNodeReturn, line), value(std::move(v)) { growDepth(value.get()); }

void ReturnNode::execute(ScriptRun& run) {
  int32_t n = 0;
  if (!value)
    StoreInteger(run.returnValue, 0);
  else if (PeekInteger(*value, run, n))
    StoreInteger(run.returnValue, n);
  else
    StoreNumberOrValue(run.returnValue, *value, run);
  run.returning = true;
  if (run.exitState == kRunning) run.exitState = kReturning;
}

GotoNode::GotoNode(NodePtr t, int32_t line) : Node(kNodeGoto, line), target(std::move(t)) { growDepth(target.get()); }

ScriptValue GotoNode::evaluate(ScriptRun& run) {
  if (!target) throw GotoException{label};
  throw GotoException{UpperAscii(ToString(target->evaluate(run)))};
}

// ---- expressions -------------------------------------------------------------

CondNode::CondNode(NodePtr c, NodePtr t, NodePtr f, int32_t line)
    : Node(kNodeCond, line), condition(std::move(c)), ifTrue(std::move(t)), ifFalse(std::move(f)) {
  growDepth(condition.get());
  growDepth(ifTrue.get());
  growDepth(ifFalse.get());
}

ScriptValue CondNode::evaluate(ScriptRun& run) {
  CheckStackAt(*this, run);
  return Condition(run, *condition) ? ifTrue->evaluate(run) : ifFalse->evaluate(run);
}

BinaryNode::BinaryNode(int32_t op, NodePtr l, NodePtr r, int32_t line)
    : Node(op, line), left(std::move(l)), right(std::move(r)) {
  growDepth(left.get());
  growDepth(right.get());
}

// '+' of two values: string concatenation when the left one is a string,
// otherwise an integer sum. Gives a plain integer in n (true) or the value.
bool BinaryNode::add(ScriptRun& run, int32_t& n, std::optional<ScriptValue>& full) {
  int32_t a = 0;
  if (!NumberOf(*left, run, a, full)) return addToValue(run, n, full);
  int32_t b = 0;
  if (!NumberOf(*right, run, b, full)) {
    b = ToInteger(*full);
    full.reset();
  }
  n = AddWrap(a, b);
  return true;
}

// The left operand (in full) is a string or an array.
[[gnu::noinline]] bool BinaryNode::addToValue(ScriptRun& run, int32_t& n, std::optional<ScriptValue>& full) {
  if (full->isString) {
    ScriptValue scratch;
    const ScriptValue& b = right->evaluateRef(run, scratch);
    std::string text = std::move(full->text);  // to-string of a string or array is its text
    text += ToString(b);
    full.emplace(MakeString(std::move(text)));
    return false;
  }
  int32_t a = full->intValue;  // an array adds its integer
  full.reset();
  int32_t b = 0;
  if (!NumberOf(*right, run, b, full)) {
    b = ToInteger(*full);
    full.reset();
  }
  n = AddWrap(a, b);
  return true;
}

// The general comparison, when an operand may not be a plain integer; the
// left operand may already have been read as the integer leftValue.
[[gnu::noinline]] int32_t BinaryNode::compareSlow(ScriptRun& run, bool leftDone, int32_t leftValue) {
  int32_t na = leftValue, nb = 0;
  std::optional<ScriptValue> oa, ob;
  const bool plainA = leftDone || NumberOf(*left, run, na, oa);
  const bool plainB = NumberOf(*right, run, nb, ob);
  if (plainA) oa.emplace(MakeInteger(na));
  if (plainB) ob.emplace(MakeInteger(nb));
  return compareValues(*oa, *ob);
}

// Plain integers compare directly; anything else by the value rules.
int32_t BinaryNode::compare(ScriptRun& run) {
  int32_t na = 0, nb = 0;
  std::optional<ScriptValue> oa, ob;
  const bool plainA = NumberOf(*left, run, na, oa);
  const bool plainB = NumberOf(*right, run, nb, ob);
  if (plainA && plainB) {
    switch (kind) {
      case kOpEq: case kOpStrictEq: return na == nb;
      case kOpNe: case kOpStrictNe: return na != nb;
      case kOpLt: return na < nb;
      case kOpGt: return na > nb;
      case kOpLe: return na <= nb;
      default: return na >= nb;
    }
  }
  if (plainA) oa.emplace(MakeInteger(na));
  if (plainB) ob.emplace(MakeInteger(nb));
  return compareValues(*oa, *ob);
}

int32_t BinaryNode::compareValues(const ScriptValue& a, const ScriptValue& b) const {
  switch (kind) {
    case kOpEq: return LooseEquals(a, b);
    case kOpNe: return !LooseEquals(a, b);
    case kOpStrictEq: return StrictEquals(a, b);
    case kOpStrictNe: return !StrictEquals(a, b);
    case kOpLt: return CompareOrder(a, b) < 0;
    case kOpGt: return CompareOrder(a, b) > 0;
    case kOpLe: return CompareOrder(a, b) <= 0;
    default: return CompareOrder(a, b) >= 0;
  }
}

// Reports a zero divisor of / or %; the result is 0.
int32_t BinaryNode::divisionByZero(ScriptRun& run) {
  if (kind == kOpDiv)
    ReportDivision(run, kErrorDivision, line, "Runtime Error: 0による除算(/0)。行番号:%d\n",
                   "Runtime Error: Division by zero(/0) at line %d\n");
  else
    ReportDivision(run, kErrorRemainder, line, "Runtime Error: 0による除算(%%0)。行番号:%d\n",
                   "Runtime Error: Division by zero(%%0) at line %d\n");
  return 0;
}

int32_t BinaryNode::arithmetic(ScriptRun& run) {
  int32_t a = IntegerOf(*left, run);
  int32_t b = IntegerOf(*right, run);
  switch (kind) {
    case kOpSub: return SubWrap(a, b);
    case kOpMul: return MulWrap(a, b);
    case kOpDiv:
      if (b == 0) {
        ReportDivision(run, kErrorDivision, line, "Runtime Error: 0による除算(/0)。行番号:%d\n",
                       "Runtime Error: Division by zero(/0) at line %d\n");
        return 0;
      }
      return DivideWrap(a, b);
    case kOpMod:
      if (b == 0) {
        ReportDivision(run, kErrorRemainder, line, "Runtime Error: 0による除算(%%0)。行番号:%d\n",
                       "Runtime Error: Division by zero(%%0) at line %d\n");
        return 0;
      }
      return RemainderWrap(a, b);
    case kOpPow: return PowerWrap(a, b);
    case kOpOr: return a | b;
    case kOpAnd: return a & b;
    case kOpXor: return a ^ b;
    case kOpShl: return ShiftLeft(a, b);
    case kOpShr: return ShiftRight(a, b);
    default: return 0;
  }
}

int32_t BinaryNode::evaluateInteger(ScriptRun& run) {
  CheckStackAt(*this, run);
  switch (kind) {
    case kOpAdd: {
      int32_t n = 0;
      std::optional<ScriptValue> sum;
      return add(run, n, sum) ? n : ToInteger(*sum);
    }
    case kOpEq: case kOpNe: case kOpStrictEq: case kOpStrictNe:
    case kOpLt: case kOpGt: case kOpLe: case kOpGe:
      return compare(run);
    case kOpLogicalAnd:
      if (IntegerOf(*left, run) == 0) return 0;
      return IntegerOf(*right, run) != 0 ? 1 : 0;
    case kOpLogicalOr:
      if (IntegerOf(*left, run) != 0) return 1;
      return IntegerOf(*right, run) != 0 ? 1 : 0;
    default:
      return arithmetic(run);
  }
}

ScriptValue BinaryNode::evaluate(ScriptRun& run) {
  if (kind == kOpAdd) {
    CheckStackAt(*this, run);
    int32_t n = 0;
    std::optional<ScriptValue> sum;
    if (add(run, n, sum)) return MakeInteger(n);
    return std::move(*sum);
  }
  return MakeInteger(evaluateInteger(run));
}

bool BinaryNode::evaluateNumber(ScriptRun& run, int32_t& n, std::optional<ScriptValue>& full) {
  if (kind == kOpAdd) {
    CheckStackAt(*this, run);
    return add(run, n, full);
  }
  n = evaluateInteger(run);
  return true;
}

bool BinaryNode::evaluateCondition(ScriptRun& run) {
  if (kind == kOpAdd) {
    CheckStackAt(*this, run);
    int32_t n = 0;
    std::optional<ScriptValue> sum;
    return add(run, n, sum) ? n != 0 : ConditionTruth(*sum);
  }
  return evaluateInteger(run) != 0;
}

UnaryNode::UnaryNode(int32_t op, NodePtr o, int32_t line) : Node(op, line), operand(std::move(o)) {
  growDepth(operand.get());
  integerResult = true;
}

int32_t UnaryNode::evaluateInteger(ScriptRun& run) {
  CheckStackAt(*this, run);
  int32_t v = IntegerOf(*operand, run);
  switch (kind) {
    case kOpSub: return SubWrap(0, v);
    case kOpNot: return ~v;
    default: return v == 0 ? 1 : 0;
  }
}

// ---- arrays ------------------------------------------------------------------

ArrayAccessNode::ArrayAccessNode(std::string n, NodePtr i, int32_t line)
    : Node(kNodeArrayAccess, line), name(std::move(n)), index(std::move(i)), variable_(name, line) {
  growDepth(index.get());
}

ScriptValue ArrayAccessNode::evaluate(ScriptRun& run) {
  CheckStackAt(*this, run);
  int32_t n = IntegerOf(*index, run);
  if (n < 0) {
    ReportBadIndex(run, name, n, line);
    return DefaultValueFor(name);
  }
  VariableSlot& s = variable_.slot(run);
  if (!s.exists) return DefaultValueFor(name);
  return ElementAt(s.value, n);
}

ArrayAssignNode::ArrayAssignNode(std::string n, NodePtr i, NodePtr v, int32_t line)
    : Node(kNodeArrayAssign, line), name(std::move(n)), index(std::move(i)), value(std::move(v)), variable_(name, line) {
  growDepth(index.get());
  growDepth(value.get());
}

ScriptValue& ArrayAssignNode::store(ScriptRun& run) {
  CheckStackAt(*this, run);
  int32_t n = IntegerOf(*index, run);
  ScriptValue v = value->evaluate(run);
  if (n < 0) {
    ReportBadIndex(run, name, n, line);
    n = 0;
  }
  ScriptValue& array = variable_.ref(run);
  ScriptValue& element = ElementAt(array, n);
  element = std::move(v);
  array.text = name;
  return element;
}

void ArrayAssignNode::execute(ScriptRun& run) { store(run); }

ScriptValue ArrayAssignNode::evaluate(ScriptRun& run) { return store(run); }

// ---- calls -----------------------------------------------------------------

FuncCallNode::FuncCallNode(std::string n, std::vector<NodePtr> args, int32_t line)
    : Node(kNodeFuncCall, line), name(std::move(n)), arguments(std::move(args)) {
  for (const NodePtr& a : arguments) growDepth(a.get());
}

constexpr int32_t kMaxCallDepth = 512;

bool FuncCallNode::resolve(ScriptRun& run) {
  CheckStack(run);
  if (run.callDepth > kMaxCallDepth) {
    RaiseScriptError(run, kErrorCallDepth, line,
                     FormatScriptMessage(RunText(run, "Runtime Error 行番号:%d  関数呼び出し回数が多すぎます。%s(args:%d)\n",
                                                 "Runtime error at line %d: Too many function call:%s(args:%d)\n"),
                                         line, name.c_str(), static_cast<int>(arguments.size())));
    return false;
  }
  if (!resolved_) {
    // User functions are fixed once the parse is over, so one look-up serves.
    auto it = run.functions.find(name);
    user_ = it == run.functions.end() ? nullptr : it->second.get();
    builtinName_ = UpperAscii(name);
    if (!builtinName_.empty() && builtinName_.back() == '$') builtinName_.pop_back();
    const BuiltinRow* row = FindBuiltin(builtinName_);
    const std::size_t count = arguments.size();
    builtin_ = row && row->minArgs <= count && row->maxArgs >= count ? row : nullptr;
    resolved_ = true;
  }
  return true;
}

ScriptValue FuncCallNode::evaluate(ScriptRun& run) {
  if (!resolve(run)) return DefaultValueFor(name);
  if (!user_) return callBuiltin(run);
  int32_t n = 0;
  std::optional<ScriptValue> full;
  if (callUser(run, *user_, n, full)) return MakeInteger(n);
  return std::move(*full);
}

bool FuncCallNode::evaluateNumber(ScriptRun& run, int32_t& n, std::optional<ScriptValue>& full) {
  if (resolve(run) && user_) return callUser(run, *user_, n, full);
  return builtinNumber(run, n, full);
}

// A refused call or a built-in, as a number when it gives a plain integer.
[[gnu::noinline]] bool FuncCallNode::builtinNumber(ScriptRun& run, int32_t& n, std::optional<ScriptValue>& full) {
  if (run.callDepth > kMaxCallDepth)
    full.emplace(DefaultValueFor(name));
  else
    full.emplace(callBuiltin(run));
  if (!IsPlainInteger(*full)) return false;
  n = full->intValue;
  return true;
}

namespace {

// Puts saved parameter values back, in reverse order so that a parameter
// named twice gets its value from before the call.
void RestoreParameters(ScriptRun& run, FuncDef& def, std::size_t base, std::size_t count) {
  const bool slotsValid = def.slotGeneration == run.variables.generation();
  std::size_t valuesBase = run.savedValues.size();
  for (std::size_t i = count; i-- > 0;) {
    ScriptValue& target = slotsValid ? run.variables.ref(*def.paramSlots[i]) : run.variables.ref(def.params[i]);
    const ScriptRun::SavedParameter& saved = run.savedParameters[base + i];
    if (saved.full < 0) {
      StoreInteger(target, saved.value);
    } else {
      target = std::move(run.savedValues[static_cast<std::size_t>(saved.full)]);
      valuesBase = static_cast<std::size_t>(saved.full);
    }
  }
  run.savedParameters.resize(base);
  run.savedValues.resize(valuesBase);
}

// The single parameter's old integer back into its variable.
void RestoreOneInteger(ScriptRun& run, FuncDef& def, int32_t saved) {
  const bool slotsValid = def.slotGeneration == run.variables.generation();
  StoreInteger(slotsValid ? run.variables.ref(*def.paramSlots[0]) : run.variables.ref(def.params[0]), saved);
}

}  // namespace

// Saves each parameter and assigns its argument; gives the number bound.
[[gnu::noinline]] std::size_t FuncCallNode::bindParameters(ScriptRun& run, FuncDef& def) {
  if (def.slotGeneration != run.variables.generation()) {
    def.paramSlots.clear();
    for (const std::string& p : def.params) def.paramSlots.push_back(&run.variables.slot(p));
    def.slotGeneration = run.variables.generation();
  }
  const std::size_t bound = std::min(arguments.size(), def.params.size());
  for (std::size_t i = 0; i < bound; ++i) {
    VariableSlot& s = *def.paramSlots[i];
    if (s.exists && IsPlainInteger(s.value) && s.value.text.empty() && s.value.elements.empty()) {
      run.savedParameters.push_back({s.value.intValue, -1});
    } else {
      run.savedValues.push_back(s.exists ? s.value : DefaultValueFor(def.params[i]));
      run.savedParameters.push_back({0, static_cast<int32_t>(run.savedValues.size() - 1)});
    }
    int32_t v = 0;
    if (PeekInteger(*arguments[i], run, v)) {
      StoreInteger(run.variables.ref(s), v);
    } else {
      ScriptValue value = arguments[i]->evaluate(run);
      run.variables.ref(s) = std::move(value);
    }
  }
  return bound;
}

// The function's result: a pending return's value, or 0.
bool FuncCallNode::takeResult(ScriptRun& run, int32_t& n, std::optional<ScriptValue>& full) {
  n = 0;
  if (!run.returning) return true;
  run.returning = false;
  if (run.exitState == kReturning) run.exitState = kRunning;
  ScriptValue& value = run.returnValue;
  if (IsPlainInteger(value) && value.text.empty() && value.elements.empty()) {
    n = value.intValue;
    return true;
  }
  full.emplace(std::move(value));
  value = ScriptValue{};
  return false;
}

// One parameter holding a plain integer and an integer argument, the
// usual recursive call: the old value waits in this frame, not in the
// run's save vectors. False when the call does not fit (nothing evaluated).
bool FuncCallNode::callUserOneInteger(ScriptRun& run, FuncDef& def, int32_t& n,
                                      std::optional<ScriptValue>& full, bool& plain) {
  if (def.params.size() != 1 || arguments.size() != 1 || def.slotGeneration != run.variables.generation())
    return false;
  VariableSlot& s = *def.paramSlots[0];
  if (!s.exists || !IsPlainInteger(s.value) || !s.value.text.empty() || !s.value.elements.empty()) return false;
  const int32_t saved = s.value.intValue;
  int32_t v = 0;
  if (!PeekInteger(*arguments[0], run, v)) return false;
  StoreInteger(run.variables.ref(s), v);
  ++run.callDepth;
  try {
    def.body->execute(run);
  } catch (GotoException&) {
    --run.callDepth;
    RestoreOneInteger(run, def, saved);
    throw;
  } catch (ReturnException& r) {
    run.returning = true;
    run.returnValue = std::move(r.value);
  }
  plain = takeResult(run, n, full);
  --run.callDepth;
  RestoreOneInteger(run, def, saved);
  return true;
}

bool FuncCallNode::callUser(ScriptRun& run, FuncDef& def, int32_t& n, std::optional<ScriptValue>& full) {
  bool onePlain = true;
  if (callUserOneInteger(run, def, n, full, onePlain)) return onePlain;
  const std::size_t base = run.savedParameters.size();
  const std::size_t bound = bindParameters(run, def);
  ++run.callDepth;
  try {
    def.body->execute(run);
  } catch (GotoException&) {
    --run.callDepth;
    RestoreParameters(run, def, base, bound);
    throw;
  } catch (ReturnException& r) {
    run.returning = true;
    run.returnValue = std::move(r.value);
  }
  const bool plain = takeResult(run, n, full);
  --run.callDepth;
  RestoreParameters(run, def, base, bound);
  return plain;
}

ScriptValue FuncCallNode::callBuiltin(ScriptRun& run) {
  std::vector<ScriptValue> values;
  values.reserve(arguments.size());
  for (const NodePtr& a : arguments) values.push_back(a->evaluate(run));
  if (builtin_) {
    BuiltinContext context{run, line};
    return builtin_->handler(context, values);
  }
  if (builtinName_ == "ASSERT" && values.size() == 2) {
    if (ToInteger(values[0]) == 0) RaiseScriptError(run, kErrorAssert, line, ToString(values[1]));
    return DefaultValueFor(name);
  }
  RaiseScriptError(run, kErrorUnknownFunction, line,
                   FormatScriptMessage(RunText(run, "Runtime Error 行番号:%d  関数または引数が正しくありません。%s(args:%d)\n",
                                               "Runtime error at line %d: Unknown Function Call or arguments not valid:%s(args:%d)\n"),
                                       line, name.c_str(), static_cast<int>(values.size())));
  return DefaultValueFor(name);
}

CBCallNode::CBCallNode(std::string n, std::vector<NodePtr> args, int32_t line)
    : Node(kNodeCBCall, line), name(std::move(n)), arguments(std::move(args)) {
  for (const NodePtr& a : arguments) growDepth(a.get());
}

ScriptValue CBCallNode::evaluate(ScriptRun& run) {
  CheckStack(run);
  if (!run.host.hostFunction) {
    RaiseScriptError(run, kErrorUnknownFunction, line,
                     FormatScriptMessage(RunText(run, "Runtime Error 行番号:%d  この環境で呼び出せるアプリ提供関数がありません。%s(args:%d)\n",
                                                 "Runtime error at line %d: Unknown application provided function call:%s(args:%d)\n"),
                                         line, name.c_str(), static_cast<int>(arguments.size())));
    return {};
  }
  std::vector<HostValue> args(arguments.size());
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    ScriptValue v = arguments[i]->evaluate(run);
    args[i].isString = v.isString ? 1 : 0;
    args[i].intValue = v.intValue;
    if (v.isString) args[i].text = ExactUtf16(v.text);
  }
  std::u16string wideName = ExactUtf16(name);
  HostValue result;
  HostCall call;
  call.name = wideName.c_str();
  call.args = args.empty() ? nullptr : args.data();
  call.argCount = static_cast<int32_t>(args.size());
  call.result = &result;
  call.userData = run.host.userData;
  run.host.hostFunction(&call);
  args.clear();
  if (result.isString) return MakeString(ExactUtf8(result.text));
  return MakeInteger(result.intValue);
}

template <int32_t Op>
[[gnu::always_inline]] inline int32_t IntegerBinaryNode<Op>::compute(ScriptRun& run) {
  CheckStackAt(*this, run);
  if constexpr (Op >= kOpEq && Op <= kOpGe) {
    int32_t a = 0, b = 0;
    if (!PeekInteger(*left, run, a)) return compareSlow(run, false, 0);
    if (!PeekInteger(*right, run, b)) return compareSlow(run, true, a);
    if constexpr (Op == kOpEq || Op == kOpStrictEq) return a == b;
    if constexpr (Op == kOpNe || Op == kOpStrictNe) return a != b;
    if constexpr (Op == kOpLt) return a < b;
    if constexpr (Op == kOpGt) return a > b;
    if constexpr (Op == kOpLe) return a <= b;
    if constexpr (Op == kOpGe) return a >= b;
  } else {
    const int32_t a = IntegerOf(*left, run);
    const int32_t b = IntegerOf(*right, run);
    if constexpr (Op == kOpSub) return SubWrap(a, b);
    if constexpr (Op == kOpMul) return MulWrap(a, b);
    if constexpr (Op == kOpDiv) return b == 0 ? divisionByZero(run) : DivideWrap(a, b);
    if constexpr (Op == kOpMod) return b == 0 ? divisionByZero(run) : RemainderWrap(a, b);
    if constexpr (Op == kOpPow) return PowerWrap(a, b);
    if constexpr (Op == kOpOr) return a | b;
    if constexpr (Op == kOpAnd) return a & b;
    if constexpr (Op == kOpXor) return a ^ b;
    if constexpr (Op == kOpShl) return ShiftLeft(a, b);
    if constexpr (Op == kOpShr) return ShiftRight(a, b);
  }
}

// Every entry computes in place: a loop condition or an operand costs one call.
template <int32_t Op>
int32_t IntegerBinaryNode<Op>::evaluateInteger(ScriptRun& run) {
  return compute(run);
}

template <int32_t Op>
ScriptValue IntegerBinaryNode<Op>::evaluate(ScriptRun& run) {
  return MakeInteger(compute(run));
}

template <int32_t Op>
bool IntegerBinaryNode<Op>::evaluateNumber(ScriptRun& run, int32_t& n, std::optional<ScriptValue>&) {
  n = compute(run);
  return true;
}

template <int32_t Op>
bool IntegerBinaryNode<Op>::evaluateCondition(ScriptRun& run) {
  return compute(run) != 0;
}

namespace {

template <int32_t Op>
NodePtr MakeIntegerBinary(NodePtr left, NodePtr right, int32_t line) {
  return std::make_unique<IntegerBinaryNode<Op>>(Op, std::move(left), std::move(right), line);
}

}  // namespace

NodePtr MakeBinaryNode(int32_t op, NodePtr left, NodePtr right, int32_t line) {
  NodePtr l = std::move(left), r = std::move(right);
  switch (op) {
    case kOpSub: return MakeIntegerBinary<kOpSub>(std::move(l), std::move(r), line);
    case kOpMul: return MakeIntegerBinary<kOpMul>(std::move(l), std::move(r), line);
    case kOpDiv: return MakeIntegerBinary<kOpDiv>(std::move(l), std::move(r), line);
    case kOpMod: return MakeIntegerBinary<kOpMod>(std::move(l), std::move(r), line);
    case kOpPow: return MakeIntegerBinary<kOpPow>(std::move(l), std::move(r), line);
    case kOpOr: return MakeIntegerBinary<kOpOr>(std::move(l), std::move(r), line);
    case kOpAnd: return MakeIntegerBinary<kOpAnd>(std::move(l), std::move(r), line);
    case kOpXor: return MakeIntegerBinary<kOpXor>(std::move(l), std::move(r), line);
    case kOpShl: return MakeIntegerBinary<kOpShl>(std::move(l), std::move(r), line);
    case kOpShr: return MakeIntegerBinary<kOpShr>(std::move(l), std::move(r), line);
    case kOpEq: return MakeIntegerBinary<kOpEq>(std::move(l), std::move(r), line);
    case kOpNe: return MakeIntegerBinary<kOpNe>(std::move(l), std::move(r), line);
    case kOpStrictEq: return MakeIntegerBinary<kOpStrictEq>(std::move(l), std::move(r), line);
    case kOpStrictNe: return MakeIntegerBinary<kOpStrictNe>(std::move(l), std::move(r), line);
    case kOpLt: return MakeIntegerBinary<kOpLt>(std::move(l), std::move(r), line);
    case kOpGt: return MakeIntegerBinary<kOpGt>(std::move(l), std::move(r), line);
    case kOpLe: return MakeIntegerBinary<kOpLe>(std::move(l), std::move(r), line);
    case kOpGe: return MakeIntegerBinary<kOpGe>(std::move(l), std::move(r), line);
    case kOpAdd: return std::make_unique<AddNode>(op, std::move(l), std::move(r), line);
    default: return std::make_unique<BinaryNode>(op, std::move(l), std::move(r), line);
  }
}

int32_t AddNode::evaluateInteger(ScriptRun& run) {
  CheckStackAt(*this, run);
  // A plain integer on the left makes the sum an integer whatever the right is.
  int32_t a = 0;
  if (PeekInteger(*left, run, a)) return AddWrap(a, IntegerOf(*right, run));
  int32_t n = 0;
  std::optional<ScriptValue> sum;
  return add(run, n, sum) ? n : ToInteger(*sum);
}

bool AddNode::evaluateNumber(ScriptRun& run, int32_t& n, std::optional<ScriptValue>& full) {
  CheckStackAt(*this, run);
  int32_t a = 0;
  if (PeekInteger(*left, run, a)) {
    n = AddWrap(a, IntegerOf(*right, run));
    return true;
  }
  return add(run, n, full);
}

ScriptValue AddNode::evaluate(ScriptRun& run) {
  CheckStackAt(*this, run);
  int32_t n = 0;
  std::optional<ScriptValue> sum;
  if (add(run, n, sum)) return MakeInteger(n);
  return std::move(*sum);
}

bool AddNode::evaluateCondition(ScriptRun& run) {
  CheckStackAt(*this, run);
  int32_t n = 0;
  std::optional<ScriptValue> sum;
  return add(run, n, sum) ? n != 0 : ConditionTruth(*sum);
}
