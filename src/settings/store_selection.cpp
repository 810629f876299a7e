#include "settings/store_selection.h"

namespace {

char16_t LowerAscii(char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c; }

}  // namespace

bool PathSelectsIniStore(std::u16string_view path) {
  constexpr std::u16string_view kSuffix = u"_o.exe";
  if (path.size() <= 7) return false;
  const std::u16string_view tail = path.substr(path.size() - kSuffix.size());
  for (std::size_t i = 0; i < kSuffix.size(); ++i) {
    if (LowerAscii(tail[i]) != kSuffix[i]) return false;
  }
  return true;
}

StoreMode SelectStoreMode(std::u16string_view executable_path, bool ini_switch) {
  if (PathSelectsIniStore(executable_path) || ini_switch) return StoreMode::Ini;
  return StoreMode::Registry;
}
