#pragma once
// QV-Script's one run-time value and the global variable store.
//
// Text inside the engine is UTF-8 bytes; lengths, positions and comparisons
// are byte-based. A value is an integer, a string or an array; the two flags
// are independent (a string turned into an array keeps isString).

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "script/memory_budget.h"

struct ScriptValue {
  ScriptValue() = default;
  ScriptValue(const ScriptValue&) = default;
  ScriptValue& operator=(const ScriptValue&) = default;
  ScriptValue& operator=(ScriptValue&&) noexcept = default;
  ~ScriptValue() = default;
  // An empty text is left alone: the library's string copies even an empty
  // short text with a call, and an array of integers moves every element
  // each time it grows.
  ScriptValue(ScriptValue&& other) noexcept
      : isString(other.isString), isArray(other.isArray), intValue(other.intValue),
        elements(std::move(other.elements)) {
    if (!other.text.empty()) text = std::move(other.text);
  }

  bool isString = false;
  bool isArray = false;
  int32_t intValue = 0;
  std::string text;                  // the string, or an array's own variable name
  std::vector<ScriptValue> elements;  // array elements, index 0 first
};

inline ScriptValue MakeInteger(int32_t n) {
  ScriptValue v;
  v.intValue = n;
  return v;
}

inline ScriptValue MakeString(std::string text) {
  ScriptValue v;
  v.isString = true;
  v.text = std::move(text);
  return v;
}

// Neither a string nor an array. The two flags are tested in one load: this
// is on every hot path of the evaluator.
inline bool IsPlainInteger(const ScriptValue& v) {
  static_assert(offsetof(ScriptValue, isArray) == offsetof(ScriptValue, isString) + 1);
  uint16_t flags;
  std::memcpy(&flags, &v.isString, sizeof flags);
  return flags == 0;
}

// The empty string for a name ending in '$', otherwise the integer 0.
ScriptValue DefaultValueFor(std::string_view name);

// Text to integer as the whole engine does it: white space, one sign,
// decimal digits; no digits gives 0; out of range saturates.
int32_t TextToInteger(std::string_view text);

std::string ToString(const ScriptValue& value);
inline int32_t ToInteger(const ScriptValue& value) {
  return value.isString ? TextToInteger(value.text) : value.intValue;
}

// Used by if/while/for/repeat and ?: — a string is true when not empty.
inline bool ConditionTruth(const ScriptValue& value) {
  return value.isString ? !value.text.empty() : value.intValue != 0;
}
// Used by &&, || and ! — the integer of the value.
inline bool NumericTruth(const ScriptValue& value) { return ToInteger(value) != 0; }

bool LooseEquals(const ScriptValue& a, const ScriptValue& b);
bool StrictEquals(const ScriptValue& a, const ScriptValue& b);
// Negative, zero or positive like a three-way compare; texts compare by
// unsigned bytes when either side is a string or an array.
int CompareOrder(const ScriptValue& a, const ScriptValue& b);

// Element access: makes the value an array (dropping old elements) when it
// is not one yet, grows it to n + 1 entries when needed. n must be >= 0.
// The element already there and the next one of an array filled in order
// stay inline; conversion and growth are out of line.
ScriptValue& GrowToElement(ScriptValue& value, int32_t n);

// The new element n of an array filled in order, when the room for it is
// already there; null otherwise.
[[gnu::always_inline]] inline ScriptValue* AppendInPlace(ScriptValue& value, int32_t n) {
  std::vector<ScriptValue>& elements = value.elements;
  if (!value.isArray || static_cast<std::size_t>(n) != elements.size() || elements.size() == elements.capacity())
    return nullptr;
  ChargeScriptMemory(sizeof(ScriptValue));
  return &elements.emplace_back();
}

[[gnu::always_inline]] inline ScriptValue& ElementAt(ScriptValue& value, int32_t n) {
  if (value.isArray && static_cast<std::size_t>(n) < value.elements.size()) return value.elements[n];
  if (ScriptValue* next = AppendInPlace(value, n)) return *next;
  return GrowToElement(value, n);
}

// Upper-cases ASCII a-z only, as the lexer does for names.
std::string UpperAscii(std::string_view text);

// One named variable. A slot stays at the same address for as long as the
// store is not cleared, so the evaluator may keep pointers to it; erasing a
// variable only marks its slot absent.
struct VariableSlot {
  ScriptValue value;
  bool exists = false;
};

// Every variable of a run, by exact byte-string name (already upper-cased
// by the lexer; a trailing '$' is part of the name).
class VariableStore {
 public:
  bool contains(std::string_view name) const;
  // A copy of the stored value, or the integer 0 when absent.
  ScriptValue get(std::string_view name) const;
  // The stored value; creates an integer-0 variable when absent.
  ScriptValue& ref(std::string_view name);
  // The same through a slot obtained from slot().
  ScriptValue& ref(VariableSlot& s) {
    if (!s.exists) {
      s.exists = true;
      ++count_;
    }
    return s.value;
  }
  // Removes a variable; false when there was none.
  bool erase(std::string_view name);
  void clear();
  std::size_t size() const { return count_; }

  // What the existing variables hold in texts and elements, in bytes.
  std::size_t heldBytes() const;

  // Names of the existing variables in byte order.
  std::vector<std::string> names() const;

  // For the evaluator's caches: the slot of a name (created absent when
  // new) and a number that changes whenever old slots are thrown away.
  VariableSlot& slot(std::string_view name);
  uint32_t generation() const { return generation_; }

 private:
  std::map<std::string, std::unique_ptr<VariableSlot>, std::less<>> slots_;
  static uint32_t NextGeneration();
  std::size_t count_ = 0;
  uint32_t generation_ = NextGeneration();
};
