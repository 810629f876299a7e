#include "settings/interface_language.h"

Language InterfaceLanguage(std::optional<std::u16string_view> qz_lang, uint16_t system_language_id) {
  constexpr uint16_t kPrimaryJapanese = 17;
  if (qz_lang) {
    const std::u16string_view v = *qz_lang;
    const bool ja = v.size() == 2 && (v[0] == u'J' || v[0] == u'j') && (v[1] == u'A' || v[1] == u'a');
    return ja ? Language::Japanese : Language::English;
  }
  return (system_language_id & 0x3FF) == kPrimaryJapanese ? Language::Japanese : Language::English;
}
