// Call nodes: user functions and built-ins, and the host's CB. functions.
#include "script/nodes_support.h"

#include <algorithm>

#include "common/utf.h"
#include "script/memory_budget.h"

namespace {

// CB. calls convert exactly: a text that is not valid UTF-8 (or UTF-16 on
// the way back) becomes the empty string rather than a lossy copy.
bool IsValidUtf16(std::u16string_view text) {
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

std::u16string ExactUtf16(std::string_view text) {
  return IsValidUtf8(text) ? Utf8ToUtf16(text) : std::u16string();
}

std::string ExactUtf8(std::u16string_view text) {
  return IsValidUtf16(text) ? Utf16ToUtf8(text) : std::string();
}

}  // namespace

FuncCallNode::FuncCallNode(std::string n, std::vector<NodePtr> args, int32_t line)
    : Node(kNodeFuncCall, line), name(std::move(n)), arguments(std::move(args)) {
  for (const NodePtr& a : arguments) growDepth(a.get());
}

constexpr int32_t kMaxCallDepth = 512;

// Kept small so that it inlines into every call: the look-up on the first
// call and the refusal live out of line.
[[gnu::always_inline]] inline bool FuncCallNode::resolve(ScriptRun& run) {
  CheckStack(run);
  if (run.callDepth > kMaxCallDepth) return refuseTooDeep(run);
  if (!resolved_) lookUp(run);
  // After a refusal the run is ending: a function that calls itself twice
  // per body would otherwise run 2^512 bodies on its way out.
  if (run.callsRefused && user_ != nullptr && run.exitState == kStopping) [[unlikely]] return false;
  return true;
}

[[gnu::noinline]] bool FuncCallNode::refuseTooDeep(ScriptRun& run) {
  if (run.callsRefused && run.exitState == kStopping) return false;  // reported once
  RaiseScriptError(run, kErrorCallDepth, line,
                   FormatScriptMessage(RunText(run, "Runtime Error 行番号:%d  関数呼び出し回数が多すぎます。%s(args:%d)\n",
                                               "Runtime error at line %d: Too many function call:%s(args:%d)\n"),
                                       line, name.c_str(), static_cast<int>(arguments.size())));
  run.callsRefused = true;
  return false;
}

// User functions are fixed once the parse is over, so one look-up serves.
[[gnu::noinline]] void FuncCallNode::lookUp(ScriptRun& run) {
  auto it = run.functions.find(name);
  user_ = it == run.functions.end() ? nullptr : it->second.get();
  builtinName_ = UpperAscii(name);
  if (!builtinName_.empty() && builtinName_.back() == '$') builtinName_.pop_back();
  const BuiltinRow* row = FindBuiltin(builtinName_);
  const std::size_t count = arguments.size();
  builtin_ = row && row->minArgs <= count && row->maxArgs >= count ? row : nullptr;
  oneParameter_ = user_ != nullptr && user_->params.size() == 1 && count == 1;
  if (oneParameter_) shortArgument_ = VariableLiteralOp::Of(arguments[0].get());
  resolved_ = true;
}

// A refused call or a built-in, as a number when it gives a plain integer.
[[gnu::noinline]] bool FuncCallNode::builtinNumber(ScriptRun& run, int32_t& n, FullValue& full) {
  if (run.callDepth > kMaxCallDepth || user_ != nullptr)
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

// The function's result: a pending return's value, or 0. The integer
// result of nearly every call is read here; a full value is moved out of
// line so that this stays small enough to inline into every call.
[[gnu::always_inline]] inline bool FuncCallNode::takeResult(ScriptRun& run, int32_t& n,
                                                            FullValue& full) {
  n = 0;
  if (!run.returning) return true;
  run.returning = false;
  if (run.exitState == kReturning) run.exitState = kRunning;
  const ScriptValue& value = run.returnValue;
  if (IsPlainInteger(value) && value.text.empty() && value.elements.empty()) {
    n = value.intValue;
    return true;
  }
  takeFullResult(run, full);
  return false;
}

[[gnu::noinline]] void FuncCallNode::takeFullResult(ScriptRun& run, FullValue& full) {
  full.emplace(std::move(run.returnValue));
  run.returnValue = ScriptValue{};
}

// Evaluates the one argument into the parameter's slot, which holds a plain
// integer; false when the argument is not a plain integer (nothing evaluated).
[[gnu::always_inline]] inline bool FuncCallNode::bindOneInteger(ScriptRun& run, VariableSlot& s) {
  int32_t v = 0;
  // Reading a variable changes nothing, so the slot still holds the plain
  // integer and takes the new one in place.
  if (shortArgument_.variable != nullptr && shortArgument_.compute(run, v)) {
    s.value.intValue = v;
    return true;
  }
  if (!PeekInteger(*arguments[0], run, v)) return false;
  StoreInteger(run.variables.ref(s), v);
  return true;
}

// One parameter holding a plain integer and an integer argument, the
// usual recursive call: the old value waits in this frame, not in the
// run's save vectors. False when the call does not fit (nothing evaluated).
// The body runs inline: resolve checked the stack.
[[gnu::always_inline]] inline bool FuncCallNode::callUserOneInteger(ScriptRun& run, FuncDef& def, int32_t& n,
                                                                     FullValue& full, bool& plain) {
  if (!oneParameter_ || def.slotGeneration != run.variables.generation()) return false;
  VariableSlot& s = *def.paramSlots[0];
  if (!s.exists || !IsPlainInteger(s.value) || !s.value.text.empty() || !s.value.elements.empty()) return false;
  const int32_t saved = s.value.intValue;
  if (!bindOneInteger(run, s)) return false;
  ++run.callDepth;
  try {
    def.body->executeChecked(run);
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

[[gnu::always_inline]] inline bool FuncCallNode::callUser(ScriptRun& run, FuncDef& def, int32_t& n,
                                                           FullValue& full) {
  bool onePlain = true;
  if (callUserOneInteger(run, def, n, full, onePlain)) return onePlain;
  return callUserGeneral(run, def, n, full);
}

// Any other call: every parameter saved in the run's vectors.
[[gnu::noinline]] bool FuncCallNode::callUserGeneral(ScriptRun& run, FuncDef& def, int32_t& n,
                                                     FullValue& full) {
  const std::size_t base = run.savedParameters.size();
  const std::size_t bound = bindParameters(run, def);
  ++run.callDepth;
  try {
    def.body->executeChecked(run);
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

ScriptValue FuncCallNode::evaluate(ScriptRun& run) {
  if (!resolve(run)) return DefaultValueFor(name);
  if (!user_) return callBuiltin(run);
  int32_t n = 0;
  FullValue full;
  if (callUser(run, *user_, n, full)) return MakeInteger(n);
  return std::move(*full);
}

bool FuncCallNode::evaluateNumber(ScriptRun& run, int32_t& n, FullValue& full) {
  if (resolve(run) && user_) return callUser(run, *user_, n, full);
  return builtinNumber(run, n, full);
}

namespace {

// Built-ins read an array argument by its name (the value's text); only
// ArrayAdd and ArrayInit store such an argument, elements and all, into
// another array. For the others an array variable is handed over without a
// copy of its elements.
bool StoresArgumentElements(std::string_view builtin) { return builtin == "ARRAYADD" || builtin == "ARRAYINIT"; }

ScriptValue BuiltinArgument(Node& node, ScriptRun& run, bool whole_arrays) {
  if (!whole_arrays && node.kind == kNodeVar) {
    const VariableSlot& s = static_cast<VarNode&>(node).slot(run);
    if (s.exists && s.value.isArray) {
      ScriptValue named;
      named.isArray = true;
      named.isString = s.value.isString;
      named.intValue = s.value.intValue;
      named.text = s.value.text;
      return named;
    }
  }
  return node.evaluate(run);
}

}  // namespace

ScriptValue FuncCallNode::callBuiltin(ScriptRun& run) {
  std::vector<ScriptValue> values;
  values.reserve(arguments.size());
  const bool whole_arrays = builtin_ == nullptr || StoresArgumentElements(builtin_->name);
  for (const NodePtr& a : arguments) values.push_back(BuiltinArgument(*a, run, whole_arrays));
  if (builtin_) {
    BuiltinContext context{run, line};
    ScriptValue result = builtin_->handler(context, values);
    ChargeScriptMemory(ScriptValueBytes(result));
    return result;
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

