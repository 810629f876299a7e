#include "settings/interface_language_win.h"

#include <windows.h>

#include <string>
#include <vector>

#include "common/wide_win.h"

namespace {

// The variable's value, or nothing when it is not set (an empty value is set).
std::optional<std::u16string> EnvironmentValue(const wchar_t* name) {
  SetLastError(ERROR_SUCCESS);
  const DWORD needed = GetEnvironmentVariableW(name, nullptr, 0);
  if (needed == 0) {
    if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
    return std::u16string();
  }
  std::vector<wchar_t> buffer(needed + 1, L'\0');
  const DWORD got = GetEnvironmentVariableW(name, buffer.data(), DWORD(buffer.size()));
  if (got >= buffer.size()) return std::u16string();  // changed meanwhile; treat as not Japanese
  return std::u16string(U16View(buffer.data(), got));
}

}  // namespace

Language DetectInterfaceLanguage() {
  const std::optional<std::u16string> qz_lang = EnvironmentValue(L"QZ_LANG");
  std::optional<std::u16string_view> view;
  if (qz_lang) view = *qz_lang;
  return InterfaceLanguage(view, GetSystemDefaultLangID());
}
