#include "script/value.h"

#include "script/memory_budget.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstring>


ScriptValue DefaultValueFor(std::string_view name) {
  if (!name.empty() && name.back() == '$') return MakeString({});
  return {};
}

static bool IsCSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int32_t TextToInteger(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsCSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  // Accumulate as a negative number so MININTEGER fits; stop growing once
  // past the range (the rest of the digits only decide nothing more).
  int64_t magnitude = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    if (magnitude <= int64_t{INT32_MAX} + 1) magnitude = magnitude * 10 + (text[i] - '0');
  }
  if (negative) return magnitude > int64_t{INT32_MAX} + 1 ? INT32_MIN : static_cast<int32_t>(-magnitude);
  return magnitude > INT32_MAX ? INT32_MAX : static_cast<int32_t>(magnitude);
}

static std::string DecimalText(int32_t n) {
  char buffer[16];
  char* end = buffer + sizeof buffer;
  char* p = end;
  uint32_t u = n < 0 ? 0u - static_cast<uint32_t>(n) : static_cast<uint32_t>(n);
  do {
    *--p = static_cast<char>('0' + u % 10);
    u /= 10;
  } while (u != 0);
  if (n < 0) *--p = '-';
  return std::string(p, end);
}

std::string ToString(const ScriptValue& value) {
  if (value.isString || value.isArray) return value.text;
  return DecimalText(value.intValue);
}


static bool IsTextual(const ScriptValue& v) { return v.isString || v.isArray; }

// to-string without building a string for the textual case.
static int CompareTexts(const ScriptValue& a, const ScriptValue& b) {
  std::string ta = IsTextual(a) ? std::string() : DecimalText(a.intValue);
  std::string tb = IsTextual(b) ? std::string() : DecimalText(b.intValue);
  std::string_view va = IsTextual(a) ? std::string_view(a.text) : std::string_view(ta);
  std::string_view vb = IsTextual(b) ? std::string_view(b.text) : std::string_view(tb);
  // string_view compares with char_traits<char>, which orders as unsigned char.
  int c = va.compare(vb);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

bool LooseEquals(const ScriptValue& a, const ScriptValue& b) {
  if (IsTextual(a) || IsTextual(b)) return CompareTexts(a, b) == 0;
  return a.intValue == b.intValue;
}

bool StrictEquals(const ScriptValue& a, const ScriptValue& b) {
  if (a.isString != b.isString) return false;
  if (a.isString) return a.text == b.text;
  return a.intValue == b.intValue;
}

int CompareOrder(const ScriptValue& a, const ScriptValue& b) {
  if (IsTextual(a) || IsTextual(b)) return CompareTexts(a, b);
  return a.intValue < b.intValue ? -1 : (a.intValue > b.intValue ? 1 : 0);
}

ScriptValue& GrowToElement(ScriptValue& value, int32_t n) {
  if (!value.isArray) {
    value.isArray = true;
    value.elements.clear();
  }
  std::size_t index = static_cast<std::size_t>(n);
  if (index < value.elements.size()) return value.elements[index];
  if (index == value.elements.size()) {
    // Filling an array in order: one element at a time, amortised.
    ChargeScriptMemory(sizeof(ScriptValue));
    return value.elements.emplace_back();
  }
  ChargeScriptMemory((index + 1 - value.elements.size()) * sizeof(ScriptValue));
  value.elements.resize(index + 1);
  return value.elements[index];
}

std::string UpperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

bool VariableStore::contains(std::string_view name) const {
  auto it = slots_.find(name);
  return it != slots_.end() && it->second->exists;
}

ScriptValue VariableStore::get(std::string_view name) const {
  auto it = slots_.find(name);
  if (it == slots_.end() || !it->second->exists) return {};
  return it->second->value;
}

VariableSlot& VariableStore::slot(std::string_view name) {
  auto it = slots_.find(name);
  if (it == slots_.end()) it = slots_.emplace(std::string(name), std::make_unique<VariableSlot>()).first;
  return *it->second;
}

ScriptValue& VariableStore::ref(std::string_view name) {
  VariableSlot& s = slot(name);
  if (!s.exists) {
    s.exists = true;
    ++count_;
  }
  return s.value;
}

bool VariableStore::erase(std::string_view name) {
  auto it = slots_.find(name);
  if (it == slots_.end() || !it->second->exists) return false;
  it->second->exists = false;
  it->second->value = ScriptValue{};
  --count_;
  return true;
}

// Generations are unique across every store of the process, so a slot cache
// filled from one store can never look valid for another.
uint32_t VariableStore::NextGeneration() {
  static std::atomic<uint32_t> next{1};
  return next.fetch_add(1, std::memory_order_relaxed);
}

void VariableStore::clear() {
  slots_.clear();
  count_ = 0;
  generation_ = NextGeneration();
}

std::size_t VariableStore::heldBytes() const {
  std::size_t bytes = 0;
  for (const auto& [name, s] : slots_)
    if (s->exists) bytes += name.size() + ScriptValueBytes(s->value);
  return bytes;
}

std::vector<std::string> VariableStore::names() const {
  std::vector<std::string> out;
  out.reserve(count_);
  for (const auto& [name, s] : slots_)
    if (s->exists) out.push_back(name);
  return out;
}
