#include "common/language.h"

#include <atomic>

namespace {

// Set on the user-interface thread before other threads start; atomic so a
// script thread's read is never torn.
std::atomic<Language> g_language{Language::Japanese};

}  // namespace

Language AppLanguage() { return g_language.load(std::memory_order_relaxed); }
void SetAppLanguage(Language language) { g_language.store(language, std::memory_order_relaxed); }
