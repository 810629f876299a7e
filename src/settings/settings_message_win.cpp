#include "settings/settings_message_win.h"

#include "common/wide_win.h"

namespace {

SettingsMessageBoxFn g_show = nullptr;

}  // namespace

void SetSettingsMessageBox(SettingsMessageBoxFn show) { g_show = show; }

int ShowSettingsMessage(HWND owner, std::u16string_view text, std::u16string_view caption, UINT type) {
  const std::u16string t(text), c(caption);
  if (g_show) return g_show(owner, Wide(t), Wide(c), type);
  return MessageBoxW(owner, Wide(t), Wide(c), type);
}
