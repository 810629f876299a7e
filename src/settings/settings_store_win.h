#pragma once
// The process-wide settings store of the running program: the store mode
// (INI or registry, fixed at start-up and changed only by the copy
// commands) and the copy commands /OR and /RO. All on the user-interface thread.

#include <string>

#include "settings/ini_store_win.h"
#include "settings/registry_store_win.h"
#include "settings/settings.h"
#include "settings/store_selection.h"

// Decides the store at start-up from the executable's path and the /O switch
// and, in INI mode, creates the INI file when missing. Returns the mode. The
// store's texts are in the interface language set before (SetAppLanguage).
StoreMode InitSettingsStore(bool ini_switch);
// The same with the executable path given (tests).
StoreMode InitSettingsStore(std::u16string_view executable_path, bool ini_switch);

// Where the two stores live; the program uses ".\kirabi.ini" and the
// program's registry key. Tests point them at a temporary folder and key.
void SetSettingsLocations(std::u16string ini_path, std::u16string registry_subkey);

StoreMode CurrentStoreMode();
void SetStoreMode(StoreMode mode);

// The store of the current mode.
SettingsStore& ActiveSettingsStore();

// Load from and save to the active store.
void LoadSettings(Settings& settings);
bool SaveSettings(const Settings& settings, int group);

// /OR: INI file to registry. Shows the result message (product name as
// caption) and returns the result of the save. Leaves the registry mode on.
// Without an INI file nothing is written and the copy fails.
bool CopyIniToRegistry(Settings& settings);
// /RO: registry to INI file (created when missing). Leaves the INI mode on.
// Without the registry key nothing is written and the copy fails.
bool CopyRegistryToIni(Settings& settings);
