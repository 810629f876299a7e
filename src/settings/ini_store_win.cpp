#include "settings/ini_store_win.h"

#include <windows.h>

#include <vector>

#include "common/wide_win.h"
#include "settings/ini_format.h"
#include "settings/store_selection.h"

namespace {

const std::u16string kSection(kIniSection);
constexpr const wchar_t* kColorTableKey = L"CUSTCOLORS";

std::u16string DecimalText(int32_t value) {
  wchar_t buffer[16];
  wsprintfW(buffer, L"%d", value);
  return std::u16string(U16View(buffer));
}

}  // namespace

int32_t IniSettingsStore::ReadInteger(std::u16string_view key, int32_t fallback) {
  const std::u16string name(key);
  return int32_t(GetPrivateProfileIntW(Wide(kSection), Wide(name), fallback, Wide(path_)));
}

bool IniSettingsStore::ReadString(std::u16string_view key, std::size_t capacity, std::u16string& out) {
  if (capacity == 0) return false;
  const std::u16string name(key);
  std::vector<wchar_t> buffer(capacity, L'\0');
  const DWORD got =
      GetPrivateProfileStringW(Wide(kSection), Wide(name), L"", buffer.data(), DWORD(capacity), Wide(path_));
  if (got == 0) return false;
  out = DecodeIniLineBreaks(U16View(buffer.data(), got));
  return true;
}

bool IniSettingsStore::WriteText(std::u16string_view key, const std::u16string& text, std::u16string& errors) {
  const std::u16string name(key);
  if (WritePrivateProfileStringW(Wide(kSection), Wide(name), Wide(text), Wide(path_))) return true;
  AppendErrorLine(errors, IniWriteErrorLine(path_, key, language_));
  return false;
}

bool IniSettingsStore::WriteInteger(std::u16string_view key, int32_t value, std::u16string& errors) {
  return WriteText(key, DecimalText(value), errors);
}

bool IniSettingsStore::WriteString(std::u16string_view key, std::u16string_view text, std::u16string& errors) {
  return WriteText(key, QuoteIniValue(EncodeIniLineBreaks(text)), errors);
}

bool IniSettingsStore::ReadColorTable(CustomColors& out) {
  uint8_t bytes[kCustomColorCount * 4];
  if (!GetPrivateProfileStructW(Wide(kSection), kColorTableKey, bytes, sizeof bytes, Wide(path_))) return false;
  for (std::size_t i = 0; i < out.size(); ++i) {
    const uint8_t* p = bytes + 4 * i;
    out[i] = uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
  }
  return true;
}

bool IniSettingsStore::WriteColorTable(const CustomColors& colors) {
  uint8_t bytes[kCustomColorCount * 4];
  for (std::size_t i = 0; i < colors.size(); ++i) {
    for (int b = 0; b < 4; ++b) bytes[4 * i + b] = uint8_t(colors[i] >> (8 * b));
  }
  return WritePrivateProfileStructW(Wide(kSection), kColorTableKey, bytes, sizeof bytes, Wide(path_)) != 0;
}

bool IniFileExists(const std::u16string& path) {
  HANDLE existing = CreateFileW(Wide(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (existing == INVALID_HANDLE_VALUE) return false;
  CloseHandle(existing);
  return true;
}

bool EnsureIniFile(const std::u16string& path) {
  if (IniFileExists(path)) return true;
  // CREATE_NEW: a file that exists but cannot be read just now is not emptied.
  HANDLE created =
      CreateFileW(Wide(path), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (created == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = WriteFile(created, kNewIniFileBytes, sizeof kNewIniFileBytes, &written, nullptr);
  CloseHandle(created);
  return ok && written == sizeof kNewIniFileBytes;
}
