#include "app/message_win.h"

#include <string>

#include "common/wide_win.h"

namespace {

AppMessageBoxFn g_show = nullptr;
DarkModeInitFn g_dark_mode_init = nullptr;

}  // namespace

void SetAppMessageBox(AppMessageBoxFn show) { g_show = show; }

int ShowAppMessage(HWND owner, std::u16string_view text, std::u16string_view caption, UINT type) {
  const std::u16string t(text), c(caption);
  const wchar_t* wt = Wide(t);
  const wchar_t* wc = Wide(c);
  return g_show ? g_show(owner, wt, wc, type) : MessageBoxW(owner, wt, wc, type);
}

int ShowAppMessage(HWND owner, std::u16string_view text, UINT type) {
  return ShowAppMessage(owner, text, app_text::kProductName.In(AppLanguage()), type);
}

int ShowAppMessage(HWND owner, const TextPair& text, UINT type) {
  return ShowAppMessage(owner, text.In(AppLanguage()), type);
}

void SetDarkModeInitializer(DarkModeInitFn init) { g_dark_mode_init = init; }

void InitDarkMode() {
  if (g_dark_mode_init) g_dark_mode_init();
}
