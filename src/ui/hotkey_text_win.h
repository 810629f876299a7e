#pragma once
// A hotkey's text as the tray's failure balloon and the hotkey boxes show it:
// the modifiers, then the key's name in the system's own words.

#include <cstdint>
#include <string>

#include "common/language.h"

std::u16string HotkeyControlText(uint32_t value, Language language);
