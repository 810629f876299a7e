#include "app/message_win.h"

namespace {

Language g_language = Language::Japanese;

}  // namespace

void SetAppLanguage(Language language) { g_language = language; }
Language AppLanguage() { return g_language; }
