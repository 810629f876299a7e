#pragma once
// Reads QZ_LANG and the system default language for the start-up language rule.

#include "settings/interface_language.h"

Language DetectInterfaceLanguage();
