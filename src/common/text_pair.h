#pragma once
// Every user-visible text is a Japanese/English pair; the product name is the
// first of them, shared by the program's captions, tray texts and the
// settings store's messages.

#include <string_view>

#include "common/language.h"

struct TextPair {
  std::u16string_view ja;
  std::u16string_view en;
  constexpr std::u16string_view In(Language language) const { return Pick(language, ja, en); }
};

inline constexpr TextPair kProductName{u"キラビ", u"Kirabi"};
