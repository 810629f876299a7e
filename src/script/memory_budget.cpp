#include "script/memory_budget.h"

#include "script/value.h"

namespace {

thread_local ScriptMemoryBudget* t_current = nullptr;

}  // namespace

void ScriptMemoryBudget::Start(std::size_t limit, Measure measure, const void* context) {
  limit_ = limit;
  measure_ = measure;
  context_ = context;
  estimate_ = measure != nullptr && limit != 0 ? measure(context) : 0;
}

void ScriptMemoryBudget::Charge(std::size_t bytes) {
  if (limit_ == 0) return;
  if (bytes <= limit_ && estimate_ <= limit_ - bytes) {
    estimate_ += bytes;
    return;
  }
  const std::size_t held = measure_ != nullptr ? measure_(context_) : 0;
  if (bytes > limit_ || held > limit_ - bytes) throw ScriptMemoryExceeded();
  estimate_ = held + bytes;
}

ScriptMemoryBudget* CurrentScriptMemory() { return t_current; }
void SetCurrentScriptMemory(ScriptMemoryBudget* budget) { t_current = budget; }

std::size_t ScriptValueBytes(const ScriptValue& value) {
  std::size_t bytes = value.text.size();
  if (!value.elements.empty()) {
    bytes += value.elements.size() * sizeof(ScriptValue);
    for (const ScriptValue& element : value.elements) bytes += ScriptValueBytes(element);
  }
  return bytes;
}
