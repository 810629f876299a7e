#pragma once
// The syntax tree of a script. Every node evaluates to a ScriptValue; a node
// owns its children. Besides evaluate, nodes offer cheaper forms the
// evaluator uses on hot paths: execute (value not needed), evaluateInteger
// (only to-integer of the value is needed) and evaluateRef (read without
// copying when the value already exists somewhere).

#include <cstdint>
#include <map>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "script/builtin_table.h"
#include "script/script_run.h"
#include "script/value.h"

// Node kinds. An operator node's kind is its operator code.
enum NodeKind : int32_t {
  kNodeBlock = 0,
  kNodeAssign = 1,
  kNodeIf = 2,
  kNodeWhile = 3,
  kNodeDoWhile = 4,
  kNodeFor = 5,
  kNodeExit = 6,
  kNodeBreak = 7,
  kNodeContinue = 8,
  kNodeInt = 9,
  kNodeString = 10,
  kNodeVar = 11,
  kNodeCond = 12,
  kNodeFuncCall = 13,
  kNodeCBCall = 14,
  kOpAdd = 15,
  kOpSub = 16,
  kOpMul = 17,
  kOpDiv = 18,
  kOpMod = 19,
  kOpPow = 20,
  kOpOr = 21,
  kOpAnd = 22,
  kOpXor = 23,
  kOpNot = 24,
  kOpShl = 25,
  kOpShr = 26,
  kOpEq = 27,
  kOpNe = 28,
  kOpStrictEq = 29,
  kOpStrictNe = 30,
  kOpLt = 31,
  kOpGt = 32,
  kOpLe = 33,
  kOpGe = 34,
  kOpLogicalAnd = 35,
  kOpLogicalOr = 36,
  kOpLogicalNot = 37,
  kNodeArrayAccess = 51,
  kNodeArrayAssign = 52,
  kNodeReturn = 54,
  kNodeDummy = 55,
  kNodeLabel = 56,
  kNodeGoto = 57,
};

// Assignment codes, the `op` of an AssignNode (whose kind is kNodeAssign).
// They continue the operator codes; plain `=` is 1.
enum AssignOp : int32_t {
  kOpAssign = 1,
  kOpAddAssign = 38,  // also prefix ++
  kOpSubAssign = 39,  // also prefix --
  kOpMulAssign = 40,
  kOpDivAssign = 41,
  kOpModAssign = 42,
  kOpShrAssign = 43,
  kOpShlAssign = 44,
  kOpOrAssign = 45,
  kOpXorAssign = 46,
  kOpAndAssign = 47,
  kOpPowAssign = 48,
  kOpPostInc = 49,
  kOpPostDec = 50,
};

// Carries a goto to the innermost enclosing block that holds the label.
struct GotoException {
  std::string label;  // upper-case, starting with ':'
};

// A return value unwinding to its function call. The evaluator passes the
// common return through the exit state instead; this is caught in the same
// places so that both ways behave alike.
struct ReturnException {
  ScriptValue value;
};

// Thrown when a script nests deeper than the stack budget allows.
struct ScriptStackExhausted : std::runtime_error {
  ScriptStackExhausted() : std::runtime_error("stack overflow") {}
};

[[noreturn]] void ThrowStackExhausted();

inline void CheckStack(const ScriptRun& run) {
  char probe;
  if (reinterpret_cast<uintptr_t>(&probe) < run.stackLimit) ThrowStackExhausted();
}

// A value an evaluation gives in full, empty while its result is a plain
// integer. Unlike std::optional it is not zeroed when made: the hot paths
// make one per call and seldom fill it.
class FullValue {
 public:
  FullValue() {}
  ~FullValue() { reset(); }
  FullValue(const FullValue&) = delete;
  FullValue& operator=(const FullValue&) = delete;

  template <class... Args>
  ScriptValue& emplace(Args&&... args) {
    reset();
    ScriptValue* v = new (storage_) ScriptValue(std::forward<Args>(args)...);
    engaged_ = true;
    return *v;
  }
  void reset() {
    if (engaged_) destroy();
  }
  ScriptValue& operator*() { return *std::launder(reinterpret_cast<ScriptValue*>(storage_)); }
  ScriptValue* operator->() { return &**this; }

 private:
  [[gnu::noinline]] void destroy() {
    (**this).~ScriptValue();
    engaged_ = false;
  }
  alignas(ScriptValue) unsigned char storage_[sizeof(ScriptValue)];
  bool engaged_ = false;
};

using NodePtr = std::unique_ptr<class Node>;

class Node {
 public:
  Node(int32_t kind, int32_t line) : kind(kind), line(line) {}
  virtual ~Node() = default;
  virtual ScriptValue evaluate(ScriptRun& run) = 0;

  // Out of line: inline, the compiler guesses it at every statement of a
  // block and tests for it before each call.
  virtual void execute(ScriptRun& run);
  virtual int32_t evaluateInteger(ScriptRun& run) { return ToInteger(evaluate(run)); }
  // The value, either as stored (valid until the store changes) or in scratch.
  virtual const ScriptValue& evaluateRef(ScriptRun& run, ScriptValue& scratch) {
    scratch = evaluate(run);
    return scratch;
  }
  // True when evaluating the node cannot change any variable.
  virtual bool isPure() const { return false; }
  // When the value is a plain integer, gives it in n and returns true;
  // otherwise gives the whole value in full.
  virtual bool evaluateNumber(ScriptRun& run, int32_t& n, FullValue& full) {
    full.emplace(evaluate(run));
    if (!IsPlainInteger(*full)) return false;
    n = full->intValue;
    return true;
  }
  // condition-truth of the value.
  virtual bool evaluateCondition(ScriptRun& run) {
    ScriptValue scratch;
    return ConditionTruth(evaluateRef(run, scratch));
  }

  Node(const Node&) = delete;
  Node& operator=(const Node&) = delete;

  int32_t kind;
  int32_t line;
  int32_t depth = 1;  // height of the subtree, bounded while parsing
  bool integerResult = false;  // always a plain integer, whatever the variables hold

 protected:
  void growDepth(const Node* child) {
    if (child && child->depth + 1 > depth) depth = child->depth + 1;
  }
};

// A subtree this shallow uses a few kilobytes of stack at most, well inside
// the reserve left below the limit, so only taller expression nodes look
// (blocks and calls always do).
inline constexpr int32_t kUncheckedDepth = 24;

[[gnu::always_inline]] inline void CheckStackAt(const Node& node, const ScriptRun& run) {
  if (node.depth >= kUncheckedDepth) CheckStack(run);
}

// A node run for its effect: evaluated as a value it gives the empty value.
class StatementNode : public Node {
 public:
  using Node::Node;
  ScriptValue evaluate(ScriptRun& run) final {
    execute(run);
    return {};
  }
  void execute(ScriptRun& run) override = 0;
};

class BlockNode final : public StatementNode {
 public:
  explicit BlockNode(int32_t line) : StatementNode(kNodeBlock, line) {}
  void append(NodePtr statement);
  void execute(ScriptRun& run) override;
  // execute without the stack check, for a loop that checked before its
  // first pass (every pass runs at the same depth) and for a call, which
  // checked before it ran the body. (Inline in nodes_support.h.)
  void executeChecked(ScriptRun& run);

  std::vector<NodePtr> statements;
  std::map<std::string, std::size_t, std::less<>> labels;

 private:
  void indexLabels();
  void executePlain(ScriptRun& run);
  void executeLabelled(ScriptRun& run);
  bool labelsIndexed_ = false;
  bool plain_ = false;  // indexed, and without labels
};

class ListNode : public Node {
 public:
  explicit ListNode(int32_t line) : Node(kNodeBlock, line) {}
  void append(NodePtr item) {
    growDepth(item.get());
    items.push_back(std::move(item));
  }
  ScriptValue evaluate(ScriptRun&) override { return {}; }
  std::vector<NodePtr> items;
};

class VarNode final : public Node {
 public:
  VarNode(std::string name, int32_t line) : Node(kNodeVar, line), name(std::move(name)) {}
  ScriptValue evaluate(ScriptRun& run) override;
  int32_t evaluateInteger(ScriptRun& run) override;
  const ScriptValue& evaluateRef(ScriptRun& run, ScriptValue& scratch) override;
  bool evaluateNumber(ScriptRun& run, int32_t& n, FullValue& full) override;
  bool isPure() const override { return true; }

  // The variable's slot, looked up once per store generation.
  [[gnu::always_inline]] VariableSlot& slot(ScriptRun& run) {
    if (generation_ != run.variables.generation()) {
      slot_ = &run.variables.slot(name);
      generation_ = run.variables.generation();
    }
    return *slot_;
  }
  // The variable for writing; creates it as integer 0 when absent.
  ScriptValue& ref(ScriptRun& run) { return run.variables.ref(slot(run)); }

  std::string name;

 private:
  // Not assigned: a constant, or the default (with error 109 under MUSTVARDEF).
  ScriptValue readUnassigned(ScriptRun& run);
  VariableSlot* slot_ = nullptr;
  uint32_t generation_ = 0;
};

class AssignNode : public Node {
 public:
  AssignNode(std::unique_ptr<VarNode> target, NodePtr value, AssignOp op, int32_t line);
  ScriptValue evaluate(ScriptRun& run) override;
  void execute(ScriptRun& run) override;

  std::unique_ptr<VarNode> target;
  NodePtr value;
  AssignOp op;

 private:
  // Performs the assignment; false when nothing was stored (the result is 0).
  bool assign(ScriptRun& run, int32_t& postfixOld);
  void assignValue(ScriptRun& run);
  void addAssign(ScriptRun& run);
  bool divideAssign(ScriptRun& run);
  void integerAssign(ScriptRun& run);
};

// An operator between a variable and an integer literal (k - 1, k < 2),
// which a condition or a call's argument computes in place, without the
// operator node, while the variable holds a plain integer.
struct VariableLiteralOp {
  // Every operator as one of five forms, tested in the order of how often
  // they appear in scripts (a + 1 is a - -1, a > 1 is !(a <= 1)).
  enum Form : uint8_t { kOffset, kLess, kLessOrEqual, kEqual, kProduct };
  VarNode* variable = nullptr;  // none when the node has another shape
  int32_t literal = 0;
  Form form = kOffset;
  bool negate = false;  // of a comparison's result

  // The shape of node, or none (variable null).
  static VariableLiteralOp Of(const Node* node);
  // The operator's result in n, exactly as the node gives it; false when
  // the variable does not hold a plain integer (nothing is evaluated then).
  // (Inline in nodes_support.h.)
  bool compute(ScriptRun& run, int32_t& n) const;
};

class IfNode : public StatementNode {
 public:
  IfNode(NodePtr condition, std::unique_ptr<BlockNode> thenBlock, NodePtr elsePart, int32_t line);
  void execute(ScriptRun& run) override;
  NodePtr condition;
  std::unique_ptr<BlockNode> thenBlock;
  NodePtr elsePart;  // a BlockNode, an IfNode, or none

 private:
  bool test(ScriptRun& run);
  VariableLiteralOp shortTest_;  // the condition, when it has that shape
};

class WhileNode : public StatementNode {
 public:
  WhileNode(NodePtr condition, std::unique_ptr<BlockNode> body, bool endless, int32_t line);
  void execute(ScriptRun& run) override;
  NodePtr condition;  // none for loop
  std::unique_ptr<BlockNode> body;
  bool endless;
};

class DoWhileNode : public StatementNode {
 public:
  DoWhileNode(std::unique_ptr<BlockNode> body, NodePtr condition, bool repeatWhile, int32_t line);
  void execute(ScriptRun& run) override;
  std::unique_ptr<BlockNode> body;
  NodePtr condition;
  bool repeatWhile;
};

class ForNode : public StatementNode {
 public:
  ForNode(NodePtr init, NodePtr condition, NodePtr step, std::unique_ptr<BlockNode> body, int32_t line);
  void execute(ScriptRun& run) override;
  NodePtr init;
  NodePtr condition;
  NodePtr step;
  std::unique_ptr<BlockNode> body;

 private:
  void recogniseCounter();
  void countingLoop(ScriptRun& run);
  bool counterCondition(ScriptRun& run);
  void counterStep(ScriptRun& run);
  // A counting loop, `for (..., i < limit, ++i)`: the counter, the limit (a
  // literal or a variable), the comparison and the step, so that a counter
  // holding a plain integer is tested and stepped without the general nodes.
  VarNode* counter_ = nullptr;
  Node* limit_ = nullptr;
  int32_t compareOp_ = 0;
  int32_t stepBy_ = 0;
};

class ExitNode : public Node {
 public:
  ExitNode(NodePtr code, int32_t line);
  ScriptValue evaluate(ScriptRun& run) override;
  NodePtr code;  // or none
};

class FlowNode : public StatementNode {
 public:
  FlowNode(int32_t kind, int32_t line) : StatementNode(kind, line) {}
  void execute(ScriptRun& run) override;
};

class IntNode final : public Node {
 public:
  IntNode(int32_t value, int32_t line) : Node(kNodeInt, line), value(value) {
    constant_.intValue = value;
    integerResult = true;
  }
  ScriptValue evaluate(ScriptRun&) override { return MakeInteger(value); }
  int32_t evaluateInteger(ScriptRun&) override { return value; }
  const ScriptValue& evaluateRef(ScriptRun&, ScriptValue&) override { return constant_; }
  bool evaluateNumber(ScriptRun&, int32_t& n, FullValue&) override {
    n = value;
    return true;
  }
  bool evaluateCondition(ScriptRun&) override { return value != 0; }
  bool isPure() const override { return true; }
  int32_t value;

 private:
  ScriptValue constant_;
};

class StringNode : public Node {
 public:
  StringNode(std::string text, int32_t line) : Node(kNodeString, line), constant_(MakeString(std::move(text))) {}
  ScriptValue evaluate(ScriptRun&) override { return constant_; }
  int32_t evaluateInteger(ScriptRun&) override { return TextToInteger(constant_.text); }
  const ScriptValue& evaluateRef(ScriptRun&, ScriptValue&) override { return constant_; }
  bool isPure() const override { return true; }
  const std::string& text() const { return constant_.text; }

 private:
  ScriptValue constant_;
};

class CondNode : public Node {
 public:
  CondNode(NodePtr condition, NodePtr ifTrue, NodePtr ifFalse, int32_t line);
  ScriptValue evaluate(ScriptRun& run) override;
  NodePtr condition;
  NodePtr ifTrue;
  NodePtr ifFalse;
};

class FuncCallNode : public Node {
 public:
  FuncCallNode(std::string name, std::vector<NodePtr> arguments, int32_t line);
  ScriptValue evaluate(ScriptRun& run) override;
  bool evaluateNumber(ScriptRun& run, int32_t& n, FullValue& full) override;
  std::string name;
  std::vector<NodePtr> arguments;

 private:
  bool resolve(ScriptRun& run);  // false when the call was refused (error 108)
  bool bindOneInteger(ScriptRun& run, VariableSlot& s);
  bool refuseTooDeep(ScriptRun& run);
  void lookUp(ScriptRun& run);
  std::size_t bindParameters(ScriptRun& run, FuncDef& def);
  bool builtinNumber(ScriptRun& run, int32_t& n, FullValue& full);
  bool takeResult(ScriptRun& run, int32_t& n, FullValue& full);
  static void takeFullResult(ScriptRun& run, FullValue& full);
  bool callUser(ScriptRun& run, FuncDef& def, int32_t& n, FullValue& full);
  bool callUserGeneral(ScriptRun& run, FuncDef& def, int32_t& n, FullValue& full);
  bool callUserOneInteger(ScriptRun& run, FuncDef& def, int32_t& n, FullValue& full,
                          bool& plain);
  ScriptValue callBuiltin(ScriptRun& run);
  bool resolved_ = false;
  bool oneParameter_ = false;  // a user function of one parameter, given one argument
  VariableLiteralOp shortArgument_;  // that argument, when it has that shape
  FuncDef* user_ = nullptr;
  const BuiltinRow* builtin_ = nullptr;  // matching row, count already checked
  std::string builtinName_;              // upper-cased, one '$' removed
};

class CBCallNode : public Node {
 public:
  CBCallNode(std::string name, std::vector<NodePtr> arguments, int32_t line);
  ScriptValue evaluate(ScriptRun& run) override;
  std::string name;
  std::vector<NodePtr> arguments;
};

// A binary operator's operands. Each operator is one of the specialised
// nodes below, made by MakeBinaryNode.
class BinaryNode : public Node {
 public:
  BinaryNode(int32_t op, NodePtr left, NodePtr right, int32_t line);
  NodePtr left;
  NodePtr right;

 protected:
  int32_t compareSlow(ScriptRun& run, bool leftDone, int32_t leftValue);
  int32_t compareValues(const ScriptValue& a, const ScriptValue& b) const;
  int32_t divisionByZero(ScriptRun& run);
};

// The operand shapes an integer operator is specialised for: a literal on
// the right (k - 1, x % 1000003) saves reading it through a node, a
// variable on the left besides (k < 2, i * 7) saves the dispatch on it.
enum class OperandShape { kGeneral, kLiteralRight, kVariableLiteral };

// A binary operator whose result is always an integer, with the operator
// and its operand shape fixed at compile time so that hot loops do not
// dispatch on either.
template <int32_t Op, OperandShape Shape = OperandShape::kGeneral>
class IntegerBinaryNode final : public BinaryNode {
 public:
  IntegerBinaryNode(int32_t op, NodePtr l, NodePtr r, int32_t line) : BinaryNode(op, std::move(l), std::move(r), line) {
    integerResult = true;
    if (right->kind == kNodeInt) literal_ = static_cast<IntNode&>(*right).value;
  }
  int32_t evaluateInteger(ScriptRun& run) override;
  ScriptValue evaluate(ScriptRun& run) override;
  bool evaluateNumber(ScriptRun& run, int32_t& n, FullValue&) override;
  bool evaluateCondition(ScriptRun& run) override;

 private:
  int32_t compute(ScriptRun& run);
  int32_t literal_ = 0;
};

// '+', whose result is a string or an integer, without dispatching on the code.
class AddNode final : public BinaryNode {
 public:
  using BinaryNode::BinaryNode;
  int32_t evaluateInteger(ScriptRun& run) override;
  ScriptValue evaluate(ScriptRun& run) override;
  bool evaluateNumber(ScriptRun& run, int32_t& n, FullValue& full) override;
  bool evaluateCondition(ScriptRun& run) override;

 private:
  bool add(ScriptRun& run, int32_t& n, FullValue& full);
  bool addToValue(ScriptRun& run, int32_t& n, FullValue& full);
};

// '&&' and '||', which evaluate their right operand only when it decides.
class LogicalNode final : public BinaryNode {
 public:
  using BinaryNode::BinaryNode;
  ScriptValue evaluate(ScriptRun& run) override { return MakeInteger(evaluateInteger(run)); }
  int32_t evaluateInteger(ScriptRun& run) override;
  bool evaluateNumber(ScriptRun& run, int32_t& n, FullValue&) override {
    n = evaluateInteger(run);
    return true;
  }
  bool evaluateCondition(ScriptRun& run) override { return evaluateInteger(run) != 0; }
};

// The BinaryNode for an operator code, specialised where that pays.
NodePtr MakeBinaryNode(int32_t op, NodePtr left, NodePtr right, int32_t line);

class UnaryNode final : public Node {
 public:
  UnaryNode(int32_t op, NodePtr operand, int32_t line);
  ScriptValue evaluate(ScriptRun& run) override { return MakeInteger(evaluateInteger(run)); }
  int32_t evaluateInteger(ScriptRun& run) override;
  bool evaluateNumber(ScriptRun& run, int32_t& n, FullValue&) override {
    n = evaluateInteger(run);
    return true;
  }
  bool evaluateCondition(ScriptRun& run) override { return evaluateInteger(run) != 0; }
  NodePtr operand;
};

class ArrayAccessNode : public Node {
 public:
  ArrayAccessNode(std::string name, NodePtr index, int32_t line);
  ScriptValue evaluate(ScriptRun& run) override;
  std::string name;
  NodePtr index;

 private:
  VarNode variable_;  // slot cache for the array variable
};

class ArrayAssignNode : public Node {
 public:
  ArrayAssignNode(std::string name, NodePtr index, NodePtr value, int32_t line);
  ScriptValue evaluate(ScriptRun& run) override;
  void execute(ScriptRun& run) override;
  std::string name;
  NodePtr index;
  NodePtr value;

 private:
  ScriptValue& store(ScriptRun& run);
  [[gnu::noinline]] ScriptValue& storeValue(ScriptRun& run, int32_t n);
  ScriptValue& storeInteger(ScriptRun& run, int32_t n, int32_t integer);
  VarNode variable_;
};

class ReturnNode : public StatementNode {
 public:
  ReturnNode(NodePtr value, int32_t line);
  void execute(ScriptRun& run) override;
  NodePtr value;  // or none
};

class DummyNode : public Node {
 public:
  explicit DummyNode(int32_t line) : Node(kNodeDummy, line) {}
  ScriptValue evaluate(ScriptRun&) override { return {}; }
  bool isPure() const override { return true; }
};

class TrueNode : public DummyNode {
 public:
  explicit TrueNode(int32_t line) : DummyNode(line) {}
  ScriptValue evaluate(ScriptRun&) override { return MakeInteger(1); }
};

class LabelNode : public Node {
 public:
  LabelNode(std::string name, int32_t line) : Node(kNodeLabel, line), name(std::move(name)) {}
  ScriptValue evaluate(ScriptRun&) override { return {}; }
  std::string name;
};

class GotoNode : public Node {
 public:
  GotoNode(std::string label, int32_t line) : Node(kNodeGoto, line), label(std::move(label)) {}
  GotoNode(NodePtr target, int32_t line);
  ScriptValue evaluate(ScriptRun& run) override;
  std::string label;  // static target, or empty with an expression
  NodePtr target;
};

// Operand reads that skip the virtual call for the two commonest leaves,
// literals and variables holding integers.
[[gnu::always_inline]] inline int32_t IntegerOf(Node& node, ScriptRun& run) {
  if (node.kind == kNodeInt) return static_cast<IntNode&>(node).value;
  if (node.kind == kNodeVar) {
    VariableSlot& s = static_cast<VarNode&>(node).slot(run);
    if (s.exists && !s.value.isString) return s.value.intValue;
  }
  return node.evaluateInteger(run);
}

[[gnu::always_inline]] inline bool NumberOf(Node& node, ScriptRun& run, int32_t& n,
                                             FullValue& full) {
  if (node.kind == kNodeInt) {
    n = static_cast<IntNode&>(node).value;
    return true;
  }
  if (node.kind == kNodeVar) {
    VariableSlot& s = static_cast<VarNode&>(node).slot(run);
    if (s.exists && IsPlainInteger(s.value)) {
      n = s.value.intValue;
      return true;
    }
  }
  return node.evaluateNumber(run, n, full);
}

// An integer without evaluating anything twice: literals, variables holding
// plain integers and integer-only operators. False when the node's value
// may be something else (nothing has been evaluated then).
[[gnu::always_inline]] inline bool PeekInteger(Node& node, ScriptRun& run, int32_t& n) {
  if (node.kind == kNodeVar) {
    VariableSlot& s = static_cast<VarNode&>(node).slot(run);
    if (!s.exists || !IsPlainInteger(s.value)) return false;
    n = s.value.intValue;
    return true;
  }
  if (!node.integerResult) return false;
  n = node.kind == kNodeInt ? static_cast<IntNode&>(node).value : node.evaluateInteger(run);
  return true;
}
