#pragma once
// The memory a script run may hold in texts and array elements. Without a
// bound, RESIZE("a", 100000000) or a string doubled in a loop takes
// gigabytes and makes the machine swap before the allocation finally fails.
//
// The places where values grow charge what they are about to add, before
// they allocate it. Values are freed without telling the budget, so the
// running total is only an upper estimate: when it passes the limit, the
// budget measures what the run really holds and stops the run only when that
// plus the new charge is still too much.

#include <cstddef>
#include <new>

struct ScriptValue;

// Thrown by a charge over the limit; the block running the statement turns
// it into the run's memory error with the statement's line.
class ScriptMemoryExceeded : public std::bad_alloc {
 public:
  const char* what() const noexcept override { return "script memory budget exceeded"; }
};

class ScriptMemoryBudget {
 public:
  // What the run holds now, in bytes.
  using Measure = std::size_t (*)(const void* context);

  // A limit of 0 means no budget.
  void Start(std::size_t limit, Measure measure, const void* context);
  // Throws ScriptMemoryExceeded when `bytes` more would pass the limit.
  // The common case, well inside the limit, stays inline: array growth
  // charges once per element.
  void Charge(std::size_t bytes) {
    if (bytes <= room_) {
      room_ -= bytes;
      return;
    }
    ChargeNearLimit(bytes);
  }
  std::size_t limit() const { return limit_; }

 private:
  void ChargeNearLimit(std::size_t bytes);
  std::size_t limit_ = 0;
  // What may still be charged before the run is measured again: the limit
  // less the estimate, or everything when there is no limit.
  std::size_t room_ = static_cast<std::size_t>(-1);
  Measure measure_ = nullptr;
  const void* context_ = nullptr;
};

// The budget of the run on this thread (a run's engine state lives on the
// thread that runs it); null outside a run.
void SetCurrentScriptMemory(ScriptMemoryBudget* budget);
namespace script_memory_detail {
// Constant-initialised, so that reading it needs no initialisation check.
extern constinit thread_local ScriptMemoryBudget* current;
}
inline ScriptMemoryBudget* CurrentScriptMemory() { return script_memory_detail::current; }

// Charges the current run, if any. The growth points call this.
inline void ChargeScriptMemory(std::size_t bytes) {
  if (ScriptMemoryBudget* budget = CurrentScriptMemory()) budget->Charge(bytes);
}

// What one value holds: its text and, for an array, every element.
std::size_t ScriptValueBytes(const ScriptValue& value);

// The default budget of a run, 256 MB.
inline constexpr std::size_t kDefaultScriptMemoryBudget = std::size_t(256) << 20;
