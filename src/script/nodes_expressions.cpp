// Expression nodes: variables, the conditional operator, binary and unary
// operators, and array elements.
#include "script/nodes_support.h"

#include "script/constant_table.h"
#include "script/memory_budget.h"

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

bool VarNode::evaluateNumber(ScriptRun& run, int32_t& n, FullValue& full) {
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
[[gnu::always_inline]] inline bool AddNode::add(ScriptRun& run, int32_t& n, FullValue& full) {
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
[[gnu::noinline]] bool AddNode::addToValue(ScriptRun& run, int32_t& n, FullValue& full) {
  if (full->isString) {
    ScriptValue scratch;
    const ScriptValue& b = right->evaluateRef(run, scratch);
    std::string piece = ToString(b);
    ChargeScriptMemory(full->text.size() + piece.size());
    std::string text = std::move(full->text);  // to-string of a string or array is its text
    text += piece;
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
  FullValue oa, ob;
  const bool plainA = leftDone || NumberOf(*left, run, na, oa);
  const bool plainB = NumberOf(*right, run, nb, ob);
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
  ReportDivisionByZero(run, kind == kOpDiv ? "/" : "%", line);
  return 0;
}

// The right operand only when the left one leaves the answer open.
int32_t LogicalNode::evaluateInteger(ScriptRun& run) {
  CheckStackAt(*this, run);
  if (kind == kOpLogicalAnd) {
    if (IntegerOf(*left, run) == 0) return 0;
    return IntegerOf(*right, run) != 0 ? 1 : 0;
  }
  if (IntegerOf(*left, run) != 0) return 1;
  return IntegerOf(*right, run) != 0 ? 1 : 0;
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

// ---- operators between a variable and a literal ------------------------------

VariableLiteralOp VariableLiteralOp::Of(const Node* node) {
  VariableLiteralOp shape;
  const auto* binary = dynamic_cast<const BinaryNode*>(node);
  if (binary == nullptr || binary->left->kind != kNodeVar || binary->right->kind != kNodeInt) return shape;
  const int32_t b = static_cast<const IntNode&>(*binary->right).value;
  shape.literal = b;
  switch (node->kind) {
    case kOpAdd: shape.form = kOffset; shape.literal = SubWrap(0, b); break;
    case kOpSub: shape.form = kOffset; break;
    case kOpMul: shape.form = kProduct; break;
    case kOpLt: shape.form = kLess; break;
    case kOpGe: shape.form = kLess; shape.negate = true; break;
    case kOpLe: shape.form = kLessOrEqual; break;
    case kOpGt: shape.form = kLessOrEqual; shape.negate = true; break;
    case kOpEq: case kOpStrictEq: shape.form = kEqual; break;
    case kOpNe: case kOpStrictNe: shape.form = kEqual; shape.negate = true; break;
    default: return shape;
  }
  shape.variable = static_cast<VarNode*>(binary->left.get());
  return shape;
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
// ---- operators specialised by their code -------------------------------------

template <int32_t Op, OperandShape Shape>
[[gnu::always_inline]] inline int32_t IntegerBinaryNode<Op, Shape>::compute(ScriptRun& run) {
  CheckStackAt(*this, run);
  if constexpr (Op >= kOpEq && Op <= kOpGe) {
    int32_t a = 0, b = 0;
    if (!PeekInteger(*left, run, a)) return compareSlow(run, false, 0);
    if constexpr (Shape == OperandShape::kGeneral) {
      if (!PeekInteger(*right, run, b)) return compareSlow(run, true, a);
    } else {
      b = literal_;
    }
    if constexpr (Op == kOpEq || Op == kOpStrictEq) return a == b;
    if constexpr (Op == kOpNe || Op == kOpStrictNe) return a != b;
    if constexpr (Op == kOpLt) return a < b;
    if constexpr (Op == kOpGt) return a > b;
    if constexpr (Op == kOpLe) return a <= b;
    if constexpr (Op == kOpGe) return a >= b;
  } else {
    int32_t a = 0;
    if constexpr (Shape == OperandShape::kVariableLiteral) {
      const VariableSlot& s = static_cast<VarNode&>(*left).slot(run);
      a = s.exists && !s.value.isString ? s.value.intValue : left->evaluateInteger(run);
    } else {
      a = IntegerOf(*left, run);
    }
    const int32_t b = Shape == OperandShape::kGeneral ? IntegerOf(*right, run) : literal_;
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
template <int32_t Op, OperandShape Shape>
int32_t IntegerBinaryNode<Op, Shape>::evaluateInteger(ScriptRun& run) {
  return compute(run);
}

template <int32_t Op, OperandShape Shape>
ScriptValue IntegerBinaryNode<Op, Shape>::evaluate(ScriptRun& run) {
  return MakeInteger(compute(run));
}

template <int32_t Op, OperandShape Shape>
bool IntegerBinaryNode<Op, Shape>::evaluateNumber(ScriptRun& run, int32_t& n, FullValue&) {
  n = compute(run);
  return true;
}

template <int32_t Op, OperandShape Shape>
bool IntegerBinaryNode<Op, Shape>::evaluateCondition(ScriptRun& run) {
  return compute(run) != 0;
}

namespace {

template <int32_t Op>
NodePtr MakeIntegerBinary(NodePtr left, NodePtr right, int32_t line) {
  if (right->kind == kNodeInt) {
    if (left->kind == kNodeVar)
      return std::make_unique<IntegerBinaryNode<Op, OperandShape::kVariableLiteral>>(Op, std::move(left), std::move(right), line);
    return std::make_unique<IntegerBinaryNode<Op, OperandShape::kLiteralRight>>(Op, std::move(left), std::move(right), line);
  }
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
    default: return std::make_unique<LogicalNode>(op, std::move(l), std::move(r), line);  // && and ||
  }
}

int32_t AddNode::evaluateInteger(ScriptRun& run) {
  CheckStackAt(*this, run);
  // A plain integer on the left makes the sum an integer whatever the right is.
  int32_t a = 0;
  if (PeekInteger(*left, run, a)) return AddWrap(a, IntegerOf(*right, run));
  int32_t n = 0;
  FullValue sum;
  return add(run, n, sum) ? n : ToInteger(*sum);
}

// add reads literals and variables in place and anything else through its
// evaluateNumber, so a sum of two calls costs no more than the calls.
bool AddNode::evaluateNumber(ScriptRun& run, int32_t& n, FullValue& full) {
  CheckStackAt(*this, run);
  return add(run, n, full);
}

ScriptValue AddNode::evaluate(ScriptRun& run) {
  CheckStackAt(*this, run);
  int32_t n = 0;
  FullValue sum;
  if (add(run, n, sum)) return MakeInteger(n);
  return std::move(*sum);
}

bool AddNode::evaluateCondition(ScriptRun& run) {
  CheckStackAt(*this, run);
  int32_t n = 0;
  FullValue sum;
  return add(run, n, sum) ? n != 0 : ConditionTruth(*sum);
}
