#include "settings/settings_copy.h"

bool CopySettings(Settings& settings, SettingsStore& from, SettingsStore& to, Language language) {
  LoadSettings(settings, from, language);
  CustomColors colors{};
  if (from.ReadColorTable(colors)) settings.CUSTCOLORS = colors;
  const bool saved = SaveSettings(settings, to, 0);
  to.WriteColorTable(settings.CUSTCOLORS);
  return saved;
}
