#pragma once
// The interface language, decided once at start-up.

#include <cstdint>
#include <optional>
#include <string_view>

#include "common/language.h"

// With QZ_LANG set, Japanese exactly when it is "JA" in any case; without it,
// Japanese exactly when the system default language's primary id (its low
// 10 bits) is 17.
Language InterfaceLanguage(std::optional<std::u16string_view> qz_lang, uint16_t system_language_id);
