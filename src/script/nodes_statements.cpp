// Statement nodes: blocks with their labels, conditionals and loops, and
// the flow statements (exit, break, continue, return, goto).
#include "script/nodes_support.h"

namespace {

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

// Blocks ask the stop check after each completed statement. A loop with an
// empty body and a goto that lands complete none, so they ask it themselves;
// otherwise such a script could never be stopped.
[[gnu::always_inline]] inline bool StopRequested(ScriptRun& run, int32_t line) {
  if (run.host.stopCheck == nullptr || run.host.stopCheck(line) != 1) return false;
  run.exitState = kStopping;
  return true;
}

// Evaluates into a stored value, out of line so that callers on recursive
// paths keep no temporary value in their frame.
[[gnu::noinline]] void StoreNumberOrValue(ScriptValue& stored, Node& node, ScriptRun& run) {
  int32_t n = 0;
  std::optional<ScriptValue> full;
  if (node.evaluateNumber(run, n, full))
    StoreInteger(stored, n);
  else
    stored = std::move(*full);
}

}  // namespace

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

