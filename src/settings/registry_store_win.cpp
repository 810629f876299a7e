#include "settings/registry_store_win.h"

#include <vector>

#include "common/wide_win.h"
#include "settings/registry_value.h"
#include "ui/message_box_win.h"

namespace {

constexpr const wchar_t* kColorTableName = L"CUSTCOLORS";

std::u16string NameOf(std::u16string_view key) { return std::u16string(key); }

}  // namespace

REGW::~REGW() {
  if (key_) {
    RegCloseKey(key_);
    key_ = nullptr;
    Warn(RegwWarning::AutoClose);
  }
}

void REGW::Warn(RegwWarning warning) {
  ShowMessage(nullptr, RegwWarningText(warning, language_), kRegistryCaption, MB_OK | MB_ICONWARNING);
}

bool REGW::OpenKey(const wchar_t* subkey, int flags) {
  if (key_) {
    RegCloseKey(key_);
    key_ = nullptr;
    Warn(RegwWarning::MultipleOpen);
  }
  const REGSAM access = (flags & kReadOnly) ? KEY_READ : KEY_ALL_ACCESS;
  HKEY key = nullptr;
  LONG rc = RegOpenKeyExW(HKEY_CURRENT_USER, subkey, 0, access, &key);
  if (rc != ERROR_SUCCESS && (flags & kCreate)) {
    rc = RegCreateKeyExW(HKEY_CURRENT_USER, subkey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                         &key, nullptr);
  }
  if (rc != ERROR_SUCCESS) return false;
  key_ = key;
  return true;
}

bool REGW::CloseKey() {
  if (!key_) {
    Warn(RegwWarning::MultipleClose);
    return false;
  }
  const LONG rc = RegCloseKey(key_);
  key_ = nullptr;
  return rc == ERROR_SUCCESS;
}

bool REGW::QueryValue(const wchar_t* name, std::size_t max_bytes, DWORD& type, std::vector<uint8_t>& bytes) {
  DWORD size = 0;
  if (RegQueryValueExW(key_, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
  if (size > max_bytes) return false;
  // Two spare zero bytes so that an unterminated text still ends inside the buffer.
  bytes.assign(std::size_t(size) + 2, 0);
  DWORD got = size;
  if (RegQueryValueExW(key_, name, nullptr, &type, bytes.data(), &got) != ERROR_SUCCESS) return false;
  if (got > size) return false;
  bytes.resize(got);
  return true;
}

bool REGW::ReadStringW(const wchar_t* name, std::size_t capacity, std::u16string& out) {
  if (!key_) {
    Warn(RegwWarning::ReadString);
    return false;
  }
  DWORD type = 0;
  std::vector<uint8_t> bytes;
  if (!QueryValue(name, 2 * capacity, type, bytes)) return false;
  return RegistryStringFromValue(type, bytes.data(), bytes.size(), capacity, out);
}

bool REGW::ReadStringW(const wchar_t* name, wchar_t* buffer, std::size_t capacity) {
  if (capacity == 0) return false;
  buffer[0] = 0;
  std::u16string text;
  if (!ReadStringW(name, capacity, text)) return false;
  text.copy(U16(buffer), text.size());
  buffer[text.size()] = 0;
  return true;
}

int32_t REGW::ReadIntegerW(const wchar_t* name, int32_t fallback) {
  if (!key_) {
    Warn(RegwWarning::ReadInteger);
    return fallback;
  }
  // Any size is read (only the first bytes count), but a value this large
  // cannot be a setting of ours and is not worth the memory.
  constexpr std::size_t kMaxIntegerValueBytes = 1 << 20;
  DWORD type = 0;
  std::vector<uint8_t> bytes;
  if (!QueryValue(name, kMaxIntegerValueBytes, type, bytes)) return fallback;
  return RegistryIntegerFromValue(type, bytes.data(), bytes.size(), fallback);
}

bool REGW::WriteStringW(const wchar_t* name, std::u16string_view text) {
  if (!key_) {
    Warn(RegwWarning::WriteString);
    return false;
  }
  const std::u16string value(text);
  return RegSetValueExW(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        DWORD(RegistryStringByteSize(value))) == ERROR_SUCCESS;
}

bool REGW::WriteIntegerW(const wchar_t* name, int32_t value) {
  if (!key_) {
    Warn(RegwWarning::WriteInteger);
    return false;
  }
  const DWORD v = DWORD(value);
  return RegSetValueExW(key_, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof v) == ERROR_SUCCESS;
}

bool REGW::WriteBinaryW(const wchar_t* name, const CustomColors& colors) {
  if (!key_) {
    Warn(RegwWarning::WriteBinary);
    return false;
  }
  uint8_t bytes[kCustomColorCount * 4];
  for (std::size_t i = 0; i < colors.size(); ++i) {
    for (int b = 0; b < 4; ++b) bytes[4 * i + b] = uint8_t(colors[i] >> (8 * b));
  }
  return RegSetValueExW(key_, name, 0, REG_BINARY, bytes, sizeof bytes) == ERROR_SUCCESS;
}

bool REGW::ReadBinaryW(const wchar_t* name, CustomColors& colors) {
  if (!key_) return false;
  DWORD type = 0;
  std::vector<uint8_t> bytes;
  if (!QueryValue(name, kCustomColorCount * 4, type, bytes)) return false;
  if (type != REG_BINARY || bytes.size() != kCustomColorCount * 4) return false;
  for (std::size_t i = 0; i < colors.size(); ++i) {
    const uint8_t* p = bytes.data() + 4 * i;
    colors[i] = uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
  }
  return true;
}

int32_t RegistrySettingsStore::ReadInteger(std::u16string_view key, int32_t fallback) {
  REGW reg(language_);
  if (!reg.OpenKey(Wide(subkey_), REGW::kReadOnly)) return fallback;
  const std::u16string name = NameOf(key);
  const int32_t value = reg.ReadIntegerW(Wide(name), fallback);
  reg.CloseKey();
  return value;
}

bool RegistrySettingsStore::ReadString(std::u16string_view key, std::size_t capacity, std::u16string& out) {
  REGW reg(language_);
  if (!reg.OpenKey(Wide(subkey_), REGW::kReadOnly)) return false;
  const std::u16string name = NameOf(key);
  const bool ok = reg.ReadStringW(Wide(name), capacity, out);
  reg.CloseKey();
  return ok;
}

template <class WriteFn>
bool RegistrySettingsStore::Write(std::u16string_view key, std::u16string& errors, WriteFn write) {
  REGW reg(language_);
  if (!reg.OpenKey(Wide(subkey_), REGW::kCreate)) {
    AppendErrorLine(errors, RegistryOpenErrorLine(subkey_, language_));
    return false;
  }
  const std::u16string name = NameOf(key);
  const bool ok = write(reg, Wide(name));
  reg.CloseKey();
  if (!ok) AppendErrorLine(errors, RegistryWriteErrorLine(subkey_, key, language_));
  return ok;
}

bool RegistrySettingsStore::WriteInteger(std::u16string_view key, int32_t value, std::u16string& errors) {
  return Write(key, errors, [value](REGW& reg, const wchar_t* name) { return reg.WriteIntegerW(name, value); });
}

bool RegistrySettingsStore::WriteString(std::u16string_view key, std::u16string_view text, std::u16string& errors) {
  return Write(key, errors, [text](REGW& reg, const wchar_t* name) { return reg.WriteStringW(name, text); });
}

bool RegistrySettingsStore::ReadColorTable(CustomColors& out) {
  REGW reg(language_);
  if (!reg.OpenKey(Wide(subkey_), REGW::kReadOnly)) return false;
  CustomColors colors{};
  const bool ok = reg.ReadBinaryW(kColorTableName, colors);
  reg.CloseKey();
  if (ok) out = colors;
  return ok;
}

bool RegistrySettingsStore::WriteColorTable(const CustomColors& colors) {
  REGW reg(language_);
  if (!reg.OpenKey(Wide(subkey_), REGW::kCreate)) return false;
  const bool ok = reg.WriteBinaryW(kColorTableName, colors);
  reg.CloseKey();
  return ok;
}

bool RegistryKeyExists(const std::u16string& subkey) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, Wide(subkey), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}
