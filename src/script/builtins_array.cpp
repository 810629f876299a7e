#include "script/builtins_array.h"

#include <algorithm>
#include <deque>
#include <utility>
#include <vector>

#include "script/builtin_args.h"

namespace {

// The stored array behind a valid name, or null when the variable is absent
// or not an array.
ScriptValue* FindArray(VariableStore& store, const std::string& name) {
  if (!store.contains(name)) return nullptr;
  ScriptValue& value = store.ref(name);
  return value.isArray ? &value : nullptr;
}

bool IsEmptyText(const ScriptValue& value) { return (value.isString || value.isArray) && value.text.empty(); }

bool SameText(const ScriptValue& a, const ScriptValue& b) { return ArgText(a).view() == ArgText(b).view(); }

ScriptValue Status(const ScriptValue* array) { return MakeInteger(array ? 1 : 0); }

// Turns the variable into an array the way element access does (elements
// dropped when it was not one) and names it.
ScriptValue& MakeArray(VariableStore& store, const std::string& name) {
  ScriptValue& value = store.ref(name);
  if (!value.isArray) {
    value.isArray = true;
    value.elements.clear();
  }
  value.text = name;
  return value;
}

// Sorts by element text. Every key is built once (integers need their
// decimal text), then the elements move into their new order.
void SortByText(ScriptValue& array, bool descending) {
  std::vector<ScriptValue>& elements = array.elements;
  std::deque<std::string> integer_texts;
  std::vector<std::pair<std::string_view, size_t>> keys;
  keys.reserve(elements.size());
  for (size_t i = 0; i < elements.size(); ++i) {
    const ScriptValue& e = elements[i];
    if (e.isString || e.isArray) {
      keys.emplace_back(e.text, i);
    } else {
      keys.emplace_back(integer_texts.emplace_back(ToString(e)), i);
    }
  }
  if (descending) {
    std::sort(keys.begin(), keys.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
  } else {
    std::sort(keys.begin(), keys.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  }
  std::vector<ScriptValue> sorted;
  sorted.reserve(elements.size());
  for (const auto& key : keys) sorted.push_back(std::move(elements[key.second]));
  elements = std::move(sorted);
}

ScriptValue SortNamed(BuiltinContext& context, std::span<ScriptValue> args, std::string_view function,
                      bool descending) {
  std::string name;
  if (!TakeArrayName(context, args[0], function, name)) return MakeInteger(-1);
  ScriptValue* array = FindArray(context.variables(), name);
  if (array) SortByText(*array, descending);
  return Status(array);
}

void AssignElements(ScriptValue& array, std::span<ScriptValue> values) {
  for (ScriptValue& value : values) array.elements.push_back(value);
}

// Cuts at CR LF, lone CR and lone LF; the stretch after the last break is
// always a line, so "" gives one empty line and "a\n" gives "a" and "".
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  lines.push_back(text.substr(start));
  return lines;
}

}  // namespace

ScriptValue BuiltinArraySize(BuiltinContext& context, std::span<ScriptValue> args) {
  std::string name = UpperAscii(ArgText(args[0]).view());
  if (!IsValidArrayName(name)) return MakeInteger(-1);
  ScriptValue* array = FindArray(context.variables(), name);
  return MakeInteger(array ? static_cast<int32_t>(array->elements.size()) : 0);
}

ScriptValue BuiltinSortArray(BuiltinContext& context, std::span<ScriptValue> args) {
  return SortNamed(context, args, "SortArray", false);
}

ScriptValue BuiltinSortArrayDesc(BuiltinContext& context, std::span<ScriptValue> args) {
  return SortNamed(context, args, "SortArrayDesc", true);
}

ScriptValue BuiltinUniqArray(BuiltinContext& context, std::span<ScriptValue> args) {
  std::string name;
  if (!TakeArrayName(context, args[0], "UniqArray", name)) return MakeInteger(-1);
  ScriptValue* array = FindArray(context.variables(), name);
  if (array) {
    auto& e = array->elements;
    e.erase(std::unique(e.begin(), e.end(), SameText), e.end());
  }
  return Status(array);
}

ScriptValue BuiltinDelEmptyArray(BuiltinContext& context, std::span<ScriptValue> args) {
  std::string name;
  if (!TakeArrayName(context, args[0], "DelEmptyArray", name)) return MakeInteger(-1);
  ScriptValue* array = FindArray(context.variables(), name);
  if (array) {
    auto& e = array->elements;
    e.erase(std::remove_if(e.begin(), e.end(), IsEmptyText), e.end());
  }
  return Status(array);
}

ScriptValue BuiltinDelArrayItem(BuiltinContext& context, std::span<ScriptValue> args) {
  std::string name;
  if (!TakeArrayName(context, args[0], "DelArrayItem", name)) return MakeInteger(-1);
  int32_t index = ToInteger(args[1]);
  ScriptValue* array = FindArray(context.variables(), name);
  if (!array || index < 0 || static_cast<size_t>(index) >= array->elements.size()) return MakeInteger(0);
  array->elements.erase(array->elements.begin() + index);
  return MakeInteger(1);
}

ScriptValue BuiltinResize(BuiltinContext& context, std::span<ScriptValue> args) {
  std::string name;
  if (!TakeArrayName(context, args[0], "Resize", name)) return MakeInteger(-1);
  int32_t count = ToInteger(args[1]);
  if (count <= 0) return MakeInteger(0);
  MakeArray(context.variables(), name).elements.resize(static_cast<size_t>(count));
  return MakeInteger(1);
}

ScriptValue BuiltinArrayInit(BuiltinContext& context, std::span<ScriptValue> args) {
  std::string name;
  if (!TakeArrayName(context, args[0], "ArrayInit", name)) return MakeInteger(-1);
  VariableStore& store = context.variables();
  if (args.size() == 1) {
    if (ScriptValue* array = FindArray(store, name)) *array = ScriptValue{};
    return MakeInteger(1);
  }
  ScriptValue& array = MakeArray(store, name);
  array.elements.clear();
  AssignElements(array, args.subspan(1));
  return MakeInteger(1);
}

ScriptValue BuiltinArrayAdd(BuiltinContext& context, std::span<ScriptValue> args) {
  std::string name;
  if (!TakeArrayName(context, args[0], "ArrayAdd", name)) return MakeInteger(-1);
  if (args.size() == 1) return MakeInteger(1);
  VariableStore& store = context.variables();
  bool was_array = FindArray(store, name) != nullptr;
  ScriptValue& array = MakeArray(store, name);
  if (!was_array) array.elements.clear();
  AssignElements(array, args.subspan(1));
  return MakeInteger(1);
}

ScriptValue BuiltinMultiLineToStringArray(BuiltinContext& context, std::span<ScriptValue> args) {
  std::string name;
  if (!TakeArrayName(context, args[0], "MultiLineToStringArray", name)) return MakeInteger(-1);
  VariableStore& store = context.variables();
  if (!store.contains(name)) return MakeInteger(0);
  std::string text = ToString(store.ref(name));
  std::vector<std::string_view> lines = SplitLines(text);
  ScriptValue& array = MakeArray(store, name);
  if (array.elements.size() < lines.size()) array.elements.resize(lines.size());
  for (size_t k = 0; k < lines.size(); ++k) array.elements[k] = MakeString(std::string(lines[k]));
  return MakeInteger(1);
}

ScriptValue BuiltinArrayToMultiLineString(BuiltinContext& context, std::span<ScriptValue> args) {
  std::string name;
  if (!TakeArrayName(context, args[0], "ArrayToMultiLineString", name)) return MakeInteger(-1);
  std::string line_break = args.size() >= 2 ? std::string(ArgText(args[1]).view()) : std::string("\r\n");
  ScriptValue* array = FindArray(context.variables(), name);
  if (!array) return MakeInteger(0);
  std::string text;
  for (const ScriptValue& element : array->elements) {
    text.append(ArgText(element).view());
    text.append(line_break);
  }
  array->elements.clear();
  array->elements.shrink_to_fit();
  array->isArray = false;
  array->isString = true;
  array->text = std::move(text);
  return MakeInteger(1);
}
