#include "settings/combo_history_win.h"

#include <vector>

#include "settings/ini_store_win.h"
#include "settings/registry_store_win.h"
#include "common/wide_win.h"
#include "ui/message_box_win.h"
#include "settings/settings_store_win.h"

namespace {

const wchar_t* W(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

// A sorted list would break the most-recent-first order.
void WarnWhenSorted(HWND combo) {
  if (GetWindowLongW(combo, GWL_STYLE) & CBS_SORT) {
    ShowMessage(GetParent(combo), u"Warning: Combobox Control has CBS_SORT style!", u"ComboboxQueue",
                        MB_OK | MB_ICONERROR);
  }
}

std::vector<std::u16string> LoadIni(const std::u16string& path, const std::u16string& section) {
  std::vector<std::u16string> entries;
  for (std::size_t i = 0; i < ComboHistory::kCapacity; ++i) {
    wchar_t buffer[1024] = L"";
    const std::wstring key = std::to_wstring(i);
    GetPrivateProfileStringW(W(section), key.c_str(), L"", buffer, 1024, W(path));
    if (buffer[0] == L'\0') break;
    entries.emplace_back(reinterpret_cast<const char16_t*>(buffer));
  }
  return entries;
}

// The history's section is written anew in one atomic rewrite of the file.
bool SaveIni(const std::u16string& path, const std::u16string& section, const std::vector<std::u16string>& entries) {
  std::vector<IniKeyWrite> writes;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::string key = std::to_string(i);
    writes.push_back(IniKeyWrite{std::u16string(key.begin(), key.end()), entries[i]});
  }
  return RewriteIniSection(path, section, writes);
}

std::vector<std::u16string> LoadRegistry(const std::u16string& subkey, const std::u16string& name) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, W(subkey), 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
  DWORD type = 0, bytes = 0;
  std::vector<std::u16string> entries;
  if (RegQueryValueExW(key, W(name), nullptr, &type, nullptr, &bytes) == ERROR_SUCCESS && type == REG_MULTI_SZ) {
    std::u16string data(bytes / sizeof(char16_t) + 1, u'\0');
    if (RegQueryValueExW(key, W(name), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &bytes) ==
        ERROR_SUCCESS) {
      data.resize(bytes / sizeof(char16_t));
      entries = SplitMultiString(data);
    }
  }
  RegCloseKey(key);
  return entries;
}

bool SaveRegistry(const std::u16string& subkey, const std::u16string& name, const std::vector<std::u16string>& entries) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, W(subkey), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    return false;
  }
  const std::u16string data = JoinMultiString(entries);
  const bool ok = RegSetValueExW(key, W(name), 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(data.data()),
                                 DWORD(data.size() * sizeof(char16_t))) == ERROR_SUCCESS;
  RegCloseKey(key);
  return ok;
}

}  // namespace

std::u16string WindowText16(HWND window, std::size_t capacity) {
  std::vector<wchar_t> buffer(capacity, L'\0');
  const int length = GetWindowTextW(window, buffer.data(), int(capacity));
  return std::u16string(reinterpret_cast<const char16_t*>(buffer.data()), std::size_t(length > 0 ? length : 0));
}

ComboboxQueue::ComboboxQueue(HWND combo, bool registry, std::u16string location, std::u16string name)
    : combo_(combo), registry_(registry), location_(std::move(location)), name_(std::move(name)) {
  WarnWhenSorted(combo_);
  history_.Load(LoadStored());
  for (const std::u16string& text : history_.entries()) SendMessageW(combo_, CB_ADDSTRING, 0, LPARAM(W(text)));
}

namespace {
std::u16string ActiveLocation() {
  SettingsStore& store = ActiveSettingsStore();
  if (auto* ini = dynamic_cast<IniSettingsStore*>(&store)) return ini->path();
  if (auto* reg = dynamic_cast<RegistrySettingsStore*>(&store)) return reg->subkey();
  return {};
}
}  // namespace

ComboboxQueue::ComboboxQueue(HWND combo, std::u16string name)
    : ComboboxQueue(combo, CurrentStoreMode() == StoreMode::Registry, ActiveLocation(), std::move(name)) {}

std::vector<std::u16string> ComboboxQueue::LoadStored() const {
  return registry_ ? LoadRegistry(location_, name_) : LoadIni(location_, name_);
}

bool ComboboxQueue::Save() const {
  return registry_ ? SaveRegistry(location_, name_, history_.entries())
                   : SaveIni(location_, name_, history_.entries());
}

void ComboboxQueue::Refill() {
  SendMessageW(combo_, CB_SETCURSEL, WPARAM(-1), 0);
  SendMessageW(combo_, CB_RESETCONTENT, 0, 0);
  for (const std::u16string& text : history_.entries()) SendMessageW(combo_, CB_ADDSTRING, 0, LPARAM(W(text)));
  SendMessageW(combo_, CB_SETCURSEL, 0, 0);
}

bool ComboboxQueue::Record(std::u16string_view text) {
  if (!history_.Record(text)) return true;
  const bool saved = Save();
  Refill();
  return saved;
}

bool ComboboxQueue::RecordBoxText() { return Record(WindowText16(combo_, 1024)); }
