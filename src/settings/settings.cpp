#include "settings/settings.h"

#include <string>

#include "settings/settings_keys.h"

namespace {

SettingsHooks g_hooks;

void NotifySaveError(std::u16string_view text) {
  if (g_hooks.notify_save_error) {
    g_hooks.notify_save_error(text);
  } else {
    CollectedSaveErrorNotices().emplace_back(text);
  }
}

std::u16string_view LanguageDefault(std::u16string_view key, Language language) {
  const SettingKey* row = FindSettingKey(key);
  return row != nullptr ? Pick(language, row->default_ja, row->default_en) : std::u16string_view();
}

KeyTableHooks MemoLock() { return {g_hooks.lock_memo, g_hooks.unlock_memo}; }

}  // namespace

std::u16string_view DefaultFontName(Language language) { return LanguageDefault(u"FONTNAME", language); }
std::u16string_view DefaultFormat(Language language) { return LanguageDefault(u"FORMAT", language); }
std::u16string_view DefaultFormatCpu(Language language) { return LanguageDefault(u"FORMATCPU", language); }

CustomColors DefaultCustomColors() {
  const Settings s;
  return {s.TEXTCOLOR, s.WBKCOLOR, s.ALARM_NOKORI_COLOR, s.ALARM_BK_COLOR,
          s.CLIPBOARD_COLOR, s.CLIPBOARD_COLOR_F, s.MEMO_COLOR, 0, 0, 0, 0, 0, 0, 0, 0, 0};
}

Settings DefaultSettings(Language language) {
  Settings s;
  s.FONTNAME.assign(DefaultFontName(language));
  s.FORMAT.assign(DefaultFormat(language));
  s.FORMATCPU.assign(DefaultFormatCpu(language));
  s.CUSTCOLORS = DefaultCustomColors();
  return s;
}

uint32_t NormalizeHotkey(uint32_t stored) {
  if (stored == 0) return 0;
  const uint32_t modifiers = (stored >> 8) & 0xFF;
  const uint32_t key = stored & 0xFF;
  // Two or more modifiers (or the extended-key flag alone) are left as set.
  if (modifiers != 0 && modifiers != 0x01 && modifiers != 0x02 && modifiers != 0x04) return stored;
  const bool keypad = (key >= 0x60 && key <= 0x6B) || key == 0x6D || key == 0x6F;
  const bool function_key = key >= 0x70 && key <= 0x87;
  if (keypad || function_key) return stored;
  // A plain key or one with a single common modifier would steal ordinary typing.
  return key | 0x0600;
}

void LoadSettings(Settings& s, SettingsStore& store, Language language) {
  LoadKeyTable(s, store, language, MemoLock());
}

bool SaveSettings(const Settings& s, SettingsStore& store, int group) {
  if (group < 0 || group > kSaveGroupCount) return false;
  std::u16string errors;
  bool ok = true;
  const int first = group == 0 ? 1 : group;
  const int last = group == 0 ? kSaveGroupCount : group;
  for (int g = first; g <= last; ++g) ok &= SaveKeyGroup(s, store, g, MemoLock(), errors);
  if (!errors.empty()) NotifySaveError(errors);
  if (first <= 5 && last >= 5 && g_hooks.hotkeys_saved) g_hooks.hotkeys_saved();
  // A write can fail without an error line only in a faulty store; still a failure.
  return ok && errors.empty();
}

void LoadCustomColors(Settings& s, SettingsStore& store) {
  CustomColors colors{};
  if (store.ReadColorTable(colors)) s.CUSTCOLORS = colors;
}

bool SaveCustomColors(const Settings& s, SettingsStore& store) { return store.WriteColorTable(s.CUSTCOLORS); }

void SetSettingsHooks(const SettingsHooks& hooks) { g_hooks = hooks; }

std::vector<std::u16string>& CollectedSaveErrorNotices() {
  static std::vector<std::u16string> notices;
  return notices;
}
