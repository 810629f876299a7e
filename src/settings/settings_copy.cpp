#include "settings/settings_copy.h"

bool CopySettings(Settings& settings, SettingsStore& from, SettingsStore& to, Language language) {
  LoadSettings(settings, from, language);
  LoadCustomColors(settings, from);
  const bool saved = SaveSettings(settings, to, 0);
  SaveCustomColors(settings, to);
  return saved;
}
