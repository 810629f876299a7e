#include "settings/settings_store_win.h"

#include <windows.h>

#include <vector>

#include "common/executable_path_win.h"
#include "common/text_pair.h"
#include "settings/settings_copy.h"
#include "ui/message_box_win.h"
#include "settings/store_messages.h"

namespace {

struct StoreState {
  StoreMode mode = StoreMode::Registry;
  std::u16string ini_path = std::u16string(kIniFilePath);
  std::u16string registry_subkey = std::u16string(kRegistrySubkey);
  IniSettingsStore ini{Language::English};
  RegistrySettingsStore registry{Language::English};

  void RebuildStores() {
    ini = IniSettingsStore(AppLanguage(), ini_path);
    registry = RegistrySettingsStore(AppLanguage(), registry_subkey);
  }
};

StoreState& State() {
  static StoreState state;
  return state;
}

UINT IconFlag(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Information: return MB_ICONINFORMATION;
    case MessageIcon::Warning: return MB_ICONWARNING;
    case MessageIcon::Error: return MB_ICONERROR;
  }
  return 0;
}

void ShowCopyResult(StoreCopy copy, bool ok) {
  const Language language = AppLanguage();
  const CopyResultMessage message = CopyResultText(copy, ok, language);
  ShowMessage(nullptr, message.text, kProductName.In(language), MB_OK | IconFlag(message.icon));
}

}  // namespace

StoreMode InitSettingsStore(std::u16string_view executable_path, bool ini_switch) {
  StoreState& state = State();
  state.RebuildStores();
  state.mode = SelectStoreMode(executable_path, ini_switch);
  if (state.mode == StoreMode::Ini) EnsureIniFile(state.ini_path);
  return state.mode;
}

StoreMode InitSettingsStore(bool ini_switch) {
  return InitSettingsStore(ExecutablePath(), ini_switch);
}

void SetSettingsLocations(std::u16string ini_path, std::u16string registry_subkey) {
  State().ini_path = std::move(ini_path);
  State().registry_subkey = std::move(registry_subkey);
  State().RebuildStores();
}

StoreMode CurrentStoreMode() { return State().mode; }
void SetStoreMode(StoreMode mode) { State().mode = mode; }

SettingsStore& ActiveSettingsStore() {
  StoreState& state = State();
  if (state.mode == StoreMode::Ini) return state.ini;
  return state.registry;
}

void LoadSettings(Settings& settings) { LoadSettings(settings, ActiveSettingsStore(), AppLanguage()); }

bool SaveSettings(const Settings& settings, int group) { return SaveSettings(settings, ActiveSettingsStore(), group); }

bool CopyIniToRegistry(Settings& settings) {
  StoreState& state = State();
  state.mode = StoreMode::Ini;
  // Without an INI file the copy would only write defaults over every value
  // in the registry; that is reported as a failed copy and nothing is written.
  const bool ok = IniFileExists(state.ini_path) && CopySettings(settings, state.ini, state.registry, AppLanguage());
  state.mode = StoreMode::Registry;
  ShowCopyResult(StoreCopy::IniToRegistry, ok);
  return ok;
}

bool CopyRegistryToIni(Settings& settings) {
  StoreState& state = State();
  state.mode = StoreMode::Registry;
  // Likewise a missing registry key would only overwrite the INI file with
  // defaults. Creating the file before the registry is read makes no
  // difference to either store, and keeps the copy one call.
  bool ok = false;
  if (RegistryKeyExists(state.registry_subkey)) {
    EnsureIniFile(state.ini_path);  // when it cannot be made, the save reports every key
    ok = CopySettings(settings, state.registry, state.ini, AppLanguage());
  }
  state.mode = StoreMode::Ini;
  ShowCopyResult(StoreCopy::RegistryToIni, ok);
  return ok;
}
