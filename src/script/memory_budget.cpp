#include "script/memory_budget.h"

#include "script/value.h"

constinit thread_local ScriptMemoryBudget* script_memory_detail::current = nullptr;

namespace {
constexpr std::size_t kUnlimited = static_cast<std::size_t>(-1);
}

void ScriptMemoryBudget::Start(std::size_t limit, Measure measure, const void* context) {
  limit_ = limit;
  measure_ = measure;
  context_ = context;
  if (limit == 0) {
    room_ = kUnlimited;
    return;
  }
  const std::size_t held = measure != nullptr ? measure(context) : 0;
  room_ = held < limit ? limit - held : 0;
}

[[gnu::noinline]] void ScriptMemoryBudget::ChargeNearLimit(std::size_t bytes) {
  if (limit_ == 0) {
    room_ = kUnlimited;
    return;
  }
  const std::size_t held = measure_ != nullptr ? measure_(context_) : 0;
  if (bytes > limit_ || held > limit_ - bytes) throw ScriptMemoryExceeded();
  room_ = limit_ - held - bytes;
}

void SetCurrentScriptMemory(ScriptMemoryBudget* budget) { script_memory_detail::current = budget; }

std::size_t ScriptValueBytes(const ScriptValue& value) {
  std::size_t bytes = value.text.size();
  if (!value.elements.empty()) {
    bytes += value.elements.size() * sizeof(ScriptValue);
    for (const ScriptValue& element : value.elements) bytes += ScriptValueBytes(element);
  }
  return bytes;
}
