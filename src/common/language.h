#pragma once
// The interface language, chosen once at start-up and fixed for the process.

enum class Language { Japanese, English };

// Every user-visible text is a pair; this picks the one for the language.
template <class T>
constexpr const T& Pick(Language language, const T& ja, const T& en) {
  return language == Language::Japanese ? ja : en;
}

// The interface language of this process: decided once at start-up (before
// that, Japanese) and read by every part that shows text.
Language AppLanguage();
void SetAppLanguage(Language language);
