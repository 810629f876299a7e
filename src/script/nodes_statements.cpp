// Statement nodes: blocks with their labels, conditionals and loops, and
// the flow statements (exit, break, continue, return, goto).
#include "script/nodes_support.h"

#include "script/memory_budget.h"

namespace {

// After a loop body: true when the loop is to end. Consumes break/continue,
// except under a return travelling out to its call: a break left pending by
// a function called earlier in the statement belongs to the caller's loop,
// and the return passes every loop on its way without touching it.
bool LeaveLoop(ScriptRun& run) {
  switch (run.exitState) {
    case kRunning:
      return false;
    case kBreakPending:
    case kContinuePending:
      if (run.returning) return true;
      {
        const bool leave = run.exitState == kBreakPending;
        run.exitState = kRunning;
        return leave;
      }
    default:
      return true;
  }
}

}  // namespace

// ---- blocks ------------------------------------------------------------

void StopOverBudget(ScriptRun& run, int32_t line) {
  if (run.exitState == kStopping) return;
  ReportScriptMemoryExceeded(run, line);
}

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

void BlockNode::execute(ScriptRun& run) {
  CheckStack(run);
  executeChecked(run);
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
        if (LeaveBlock(run, statement)) return;
      }
    } catch (ScriptMemoryExceeded&) {
      StopOverBudget(run, statements[i]->line);
      return;
    } catch (GotoException& jump) {
      auto it = labels.find(jump.label);
      if (it == labels.end()) throw;
      const int32_t jumpLine = statements[i]->line;
      i = it->second + 1;
      if (StopRequested(run, jumpLine)) return;
    }
  }
}

// ---- conditionals and loops -----------------------------------------------

IfNode::IfNode(NodePtr c, std::unique_ptr<BlockNode> t, NodePtr e, int32_t line)
    : StatementNode(kNodeIf, line), condition(std::move(c)), thenBlock(std::move(t)), elsePart(std::move(e)),
      shortTest_(VariableLiteralOp::Of(condition.get())) {
  growDepth(condition.get());
  growDepth(thenBlock.get());
  growDepth(elsePart.get());
}

[[gnu::always_inline]] inline bool IfNode::test(ScriptRun& run) {
  int32_t truth = 0;
  if (shortTest_.variable != nullptr && shortTest_.compute(run, truth)) return truth != 0;
  return Condition(run, *condition);
}

// The then-block runs here rather than through its own execute: the block
// holding the if checked the stack, and only a tall if checks again.
void IfNode::execute(ScriptRun& run) {
  if (test(run)) {
    CheckStackAt(*this, run);
    thenBlock->executeChecked(run);
  } else if (elsePart) {
    elsePart->execute(run);
  }
}

WhileNode::WhileNode(NodePtr c, std::unique_ptr<BlockNode> b, bool e, int32_t line)
    : StatementNode(kNodeWhile, line), condition(std::move(c)), body(std::move(b)), endless(e) {
  growDepth(condition.get());
  growDepth(body.get());
}

void WhileNode::execute(ScriptRun& run) {
  const bool emptyBody = body->statements.empty();
  CheckStack(run);
  for (;;) {
    if (!endless && !Condition(run, *condition)) break;
    body->executeChecked(run);
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
  recogniseCounter();
}

namespace {

// The step of a counting loop's counter as a wrapped addend; false when the
// step is not ++, --, += literal or -= literal of that variable.
bool CounterStep(Node& step, const std::string& counter, int32_t& by) {
  auto* assign = dynamic_cast<AssignNode*>(&step);
  if (assign == nullptr || assign->target->name != counter) return false;
  const bool literal = assign->value && assign->value->kind == kNodeInt;
  const int32_t k = literal ? static_cast<IntNode&>(*assign->value).value : 0;
  switch (assign->op) {
    case kOpPostInc: by = 1; return true;
    case kOpPostDec: by = -1; return true;
    case kOpAddAssign: by = k; return literal;
    case kOpSubAssign: by = SubWrap(0, k); return literal;
    default: return false;
  }
}

bool IsCounterComparison(int32_t op) {
  return op == kOpLt || op == kOpLe || op == kOpGt || op == kOpGe || op == kOpNe;
}

// Holds a plain integer that a store may overwrite in place.
[[gnu::always_inline]] inline bool PlainCounter(const VariableSlot& s) {
  return s.exists && IsPlainInteger(s.value) && s.value.text.empty() && s.value.elements.empty();
}

}  // namespace

void ForNode::recogniseCounter() {
  if (!condition || !step || !IsCounterComparison(condition->kind)) return;
  auto* compare = dynamic_cast<BinaryNode*>(condition.get());
  if (compare == nullptr || compare->left->kind != kNodeVar) return;
  if (compare->right->kind != kNodeInt && compare->right->kind != kNodeVar) return;
  auto& counter = static_cast<VarNode&>(*compare->left);
  if (!CounterStep(*step, counter.name, stepBy_)) return;
  counter_ = &counter;
  limit_ = compare->right.get();
  compareOp_ = condition->kind;
}

// The loop condition; compares in place when both sides are plain integers,
// exactly as the comparison node would.
[[gnu::always_inline]] inline bool ForNode::counterCondition(ScriptRun& run) {
  const VariableSlot& c = counter_->slot(run);
  int32_t limit = 0;
  if (!c.exists || !IsPlainInteger(c.value) || !PeekInteger(*limit_, run, limit)) return Condition(run, *condition);
  const int32_t x = c.value.intValue;
  switch (compareOp_) {
    case kOpLt: return x < limit;
    case kOpLe: return x <= limit;
    case kOpGt: return x > limit;
    case kOpGe: return x >= limit;
    default: return x != limit;
  }
}

[[gnu::always_inline]] inline void ForNode::counterStep(ScriptRun& run) {
  VariableSlot& c = counter_->slot(run);
  if (PlainCounter(c))
    c.value.intValue = AddWrap(c.value.intValue, stepBy_);
  else
    step->execute(run);
}

void ForNode::countingLoop(ScriptRun& run) {
  const bool emptyBody = body->statements.empty();
  CheckStack(run);
  for (;;) {
    if (!counterCondition(run)) break;
    body->executeChecked(run);
    if (LeaveLoop(run)) break;
    if (emptyBody && StopRequested(run, line)) break;
    counterStep(run);
  }
}

void ForNode::execute(ScriptRun& run) {
  init->execute(run);
  if (counter_ != nullptr) {
    countingLoop(run);
    return;
  }
  const bool emptyBody = body->statements.empty();
  CheckStack(run);
  for (;;) {
    if (!Condition(run, *condition)) break;
    body->executeChecked(run);
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
  FullValue full;
  if (!value || NumberOf(*value, run, n, full))
    StoreInteger(run.returnValue, n);
  else
    run.returnValue = std::move(*full);
  run.returning = true;
  if (run.exitState == kRunning) run.exitState = kReturning;
}

GotoNode::GotoNode(NodePtr t, int32_t line) : Node(kNodeGoto, line), target(std::move(t)) { growDepth(target.get()); }

ScriptValue GotoNode::evaluate(ScriptRun& run) {
  if (!target) throw GotoException{label};
  throw GotoException{UpperAscii(ToString(target->evaluate(run)))};
}

