#pragma once
// The one-shot copy of every setting from one store to the other (/OR, /RO).

#include "settings/settings.h"

// Loads all settings from `from`, takes its CUSTCOLORS when present, saves
// every group to `to` and writes CUSTCOLORS there. The result is that of the
// save; the colour table's write does not count.
bool CopySettings(Settings& settings, SettingsStore& from, SettingsStore& to, Language language);
