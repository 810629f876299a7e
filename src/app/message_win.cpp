#include "app/message_win.h"

#include <string>

namespace {

AppMessageBoxFn g_show = nullptr;
DarkModeInitFn g_dark_mode_init = nullptr;
Language g_language = Language::Japanese;

}  // namespace

void SetAppMessageBox(AppMessageBoxFn show) { g_show = show; }
void SetAppLanguage(Language language) { g_language = language; }
Language AppLanguage() { return g_language; }

int ShowAppMessage(HWND owner, std::u16string_view text, std::u16string_view caption, UINT type) {
  const std::u16string t(text), c(caption);
  const wchar_t* wt = reinterpret_cast<const wchar_t*>(t.c_str());
  const wchar_t* wc = reinterpret_cast<const wchar_t*>(c.c_str());
  return g_show ? g_show(owner, wt, wc, type) : MessageBoxW(owner, wt, wc, type);
}

int ShowAppMessage(HWND owner, std::u16string_view text, UINT type) {
  return ShowAppMessage(owner, text, app_text::kProductName.In(g_language), type);
}

int ShowAppMessage(HWND owner, const TextPair& text, UINT type) {
  return ShowAppMessage(owner, text.In(g_language), type);
}

void SetDarkModeInitializer(DarkModeInitFn init) { g_dark_mode_init = init; }

void InitDarkMode() {
  if (g_dark_mode_init) g_dark_mode_init();
}
