// Assignment nodes: to a variable (=, the compound operators, ++ and --)
// and to an array element.
#include "script/nodes_support.h"

#include "script/memory_budget.h"

AssignNode::AssignNode(std::unique_ptr<VarNode> t, NodePtr v, AssignOp o, int32_t line)
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
  ChargeScriptMemory(ScriptValueBytes(v));
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
    ChargeScriptMemory(piece.size());
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
  std::string piece = ToString(v);
  ChargeScriptMemory(text.size() + piece.size());
  text += piece;
  target->ref(run) = MakeString(std::move(text));
}

[[gnu::noinline]] bool AssignNode::divideAssign(ScriptRun& run) {
  int32_t d = IntegerOf(*value, run);
  if (d == 0) {
    ReportDivisionByZero(run, op == kOpDivAssign ? "/=" : "%=", line);
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

ArrayAssignNode::ArrayAssignNode(std::string n, NodePtr i, NodePtr v, int32_t line)
    : Node(kNodeArrayAssign, line), name(std::move(n)), index(std::move(i)), value(std::move(v)), variable_(name, line) {
  growDepth(index.get());
  growDepth(value.get());
}

namespace {

// The value as a plain integer when it is one, read without building a copy
// of it; false leaves the value unevaluated.
[[gnu::always_inline]] inline bool PlainIntegerValue(Node& node, ScriptRun& run, int32_t& n) {
  if (node.kind == kNodeVar) {
    const VariableSlot& s = static_cast<VarNode&>(node).slot(run);
    if (!s.exists || !IsPlainInteger(s.value) || !s.value.text.empty() || !s.value.elements.empty()) return false;
    n = s.value.intValue;
    return true;
  }
  if (!node.integerResult) return false;
  n = node.kind == kNodeInt ? static_cast<IntNode&>(node).value : node.evaluateInteger(run);
  return true;
}

// Whether an array already carries `name` as its own. Names are short, so
// they are compared here rather than through a library call.
[[gnu::always_inline]] inline bool CarriesName(const std::string& text, const std::string& name) {
  if (text.size() != name.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (text[i] != name[i]) return false;
  }
  return true;
}

}  // namespace

// a[i] = integer: no value is built, nothing beyond the element is charged.
// Inline into store, so that the common statement keeps one frame.
[[gnu::always_inline]] inline ScriptValue& ArrayAssignNode::storeInteger(ScriptRun& run, int32_t n, int32_t integer) {
  if (n < 0) {
    ReportBadIndex(run, name, n, line);
    n = 0;
  }
  ScriptValue& array = variable_.ref(run);
  // The next element of an array filled in order is new, so it takes the
  // integer without the checks a stored value needs.
  ScriptValue* element = AppendInPlace(array, n);
  if (element) {
    element->intValue = integer;
  } else {
    element = &ElementAt(array, n);
    StoreInteger(*element, integer);
  }
  if (!CarriesName(array.text, name)) array.text = name;
  return *element;
}

// An integer is stored here; any other value goes on to storeValue, so that
// the common statement does not pay for the frame of a whole value.
ScriptValue& ArrayAssignNode::store(ScriptRun& run) {
  CheckStackAt(*this, run);
  int32_t n = IntegerOf(*index, run);
  int32_t integer = 0;
  if (PlainIntegerValue(*value, run, integer)) return storeInteger(run, n, integer);
  return storeValue(run, n);
}

ScriptValue& ArrayAssignNode::storeValue(ScriptRun& run, int32_t n) {
  ScriptValue v = value->evaluate(run);
  if (n < 0) {
    ReportBadIndex(run, name, n, line);
    n = 0;
  }
  ChargeScriptMemory(ScriptValueBytes(v));
  ScriptValue& array = variable_.ref(run);
  ScriptValue& element = ElementAt(array, n);
  element = std::move(v);
  if (!CarriesName(array.text, name)) array.text = name;
  return element;
}

void ArrayAssignNode::execute(ScriptRun& run) { store(run); }

ScriptValue ArrayAssignNode::evaluate(ScriptRun& run) { return store(run); }

